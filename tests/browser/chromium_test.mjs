// The menu runtime and the editing add-on in Chromium, on written projects.
import { defineMenuSuite } from "./support/menu_suite.mjs";

defineMenuSuite("chromium");
