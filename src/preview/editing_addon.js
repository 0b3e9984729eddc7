
/* IDE! */
