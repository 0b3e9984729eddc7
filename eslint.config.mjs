// Lint gate for the JavaScript we ship (menu runtime, editing add-on) and for
// the browser tests and benchmarks that drive it.
import js from "@eslint/js";
import globals from "globals";

// Declared by the data part that the writer puts in front of the runtime.
const dataPart = Object.fromEntries(
  ["numOfMenus", "scrIN", "scrOUT", "IDE", "PR", "MTC", "MTCH", "MTM", "MX", "MY", "MW",
   "CO", "CC", "CM", "MA", "FL", "OO", "cDefCap", "fDefCap", "fDefCapS", "cDefMenu",
   "fDefMenu", "fDefMenuS", "PRJ_sTemplate", "RarurAVI_Ver", "AN", "AE", "cmpW", "cmpL", "cmpX", "cmpY"].map((n) => [n, "readonly"]));
const dataPartWritable = { iSelectedMenu: "writable", errs: "writable", old_pageYOffset: "writable",
  widthChk: "writable", heightChk: "writable" };
// The runtime and the add-on share one script and call each other.
const runtimeNames = ["ie", "ns", "svernut", "mTop", "w2", "makeDidad", "getMenuHeight", "setMenu",
  "hideOwner", "showOwner", "setVis", "scrollMe", "mOpen", "mClose", "mScroll", "getI", "nsMouseDown",
  "doRepos", "checkScroll", "resizeFix", "errorHandler", "menuControls", "mShut", "capControl",
  "markCaptionControl", "setExpanded", "mKey", "mFocusOut", "MenuAnchorOrigin", "MenuPlace", "MenuNoCompact",
  "placeMenus", "menuRules", "capHoldsControl", "menuElement", "replaceRules", "reposMenu", "startMenu", "panelShift",
  "panelLeftward", "fitPanel", "openAt", "slideSign", "compactOn", "buildCompact", "panelPlace"];
const addonNames = ["setTitle", "yVisibleSelector", "ySelector", "ySetSel", "docMouseMove", "yMoveMenu",
  "noMOVE", "bAllowMove", "first_time", "minusX", "minusY", "selectorVisible", "yAnchorOrigin", "yEditing",
  "yLive", "yMenuOpen", "ySelectorPart", "yCloseAtOnce"];
// What the add-on reads of the anchors and the compact layout, and the
// preview window's word on whether the page is for editing.
const addonReads = ["AN", "AE", "MenuAnchorOrigin", "MenuNoCompact", "yLookOnly", "unfitPanel"];
// The runtime's files are one script, joined in this order when embedded:
// what one declares at the top, the others use.
const runtimeFiles = ["src/runtime/menu_runtime.js", "src/runtime/menu_layout.js", "src/runtime/menu_panels.js",
  "src/runtime/menu_build.js"];
const runtimeShared = ["menuAnchorTop", "menusWait", "compactAllowed", "placeQueued", "placedInFrame",
  "anchorWatch", "watchedAnchors", "holdsControl", "watchMenus", "unfitPanel", "closedAt", "elementModel",
  "buildMenus", "newElement", "setHtml", "pixels", "menuColors", "errorLines", "menuSheet", "menuPolicy",
  "runtimeStarted", "menusBuilt", "compactClick", "captionName", "closeTimer", "keepOpen", "markCurrent",
  "menusRtl", "menusAfter"];
const asGlobals = (names) => Object.fromEntries(names.map((n) => [n, "writable"]));

export default [
  { ignores: ["node_modules/**", "build*/**", "tests/browser/.out/**"] },
  js.configs.recommended,
  {
    // Written for every browser that still runs pages: plain ES5 script.
    files: runtimeFiles,
    languageOptions: {
      ecmaVersion: 5,
      sourceType: "script",
      globals: { ...globals.browser, ...dataPart, ...dataPartWritable, ...asGlobals(addonNames),
        ...asGlobals(runtimeNames), ...asGlobals(runtimeShared) },
    },
    rules: {
      "no-unused-vars": ["error", { vars: "local", caughtErrorsIgnorePattern: "^ignored" }],
      "no-redeclare": "off",
    },
  },
  {
    files: ["src/preview/editing_addon.js"],
    languageOptions: {
      ecmaVersion: 5,
      sourceType: "script",
      globals: { ...globals.browser, ...dataPart, ...dataPartWritable, ...asGlobals(runtimeNames),
        ...asGlobals(addonReads) },
    },
    rules: {
      "no-unused-vars": ["error", { vars: "local", caughtErrorsIgnorePattern: "^ignored" }],
      "no-redeclare": "off",
    },
  },
  {
    // Functions handed to page.evaluate run in the page, beside the script's globals.
    files: ["tests/browser/**/*.mjs", "bench/runtime/**/*.mjs"],
    languageOptions: {
      ecmaVersion: 2023,
      sourceType: "module",
      globals: { ...globals.node, ...globals.browser, ...dataPart, ...dataPartWritable,
        ...asGlobals(runtimeNames), ...asGlobals(addonNames) },
    },
  },
];
