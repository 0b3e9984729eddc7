// The menu runtime and the editing add-on in Firefox, on written projects.
import { defineMenuSuite } from "./support/menu_suite.mjs";

defineMenuSuite("firefox");
