
// Rules the menus share, after the class rules (the project's colours and
// fonts, set by buildSheet) and each menu's own.
// A dark and a light ring that show on any caption colour, drawn just
// outside the caption so that it covers none of its text. The clips of
// caption and owner would cut it off: while a control of the menu has
// keyboard focus they give way to the box plus the ring, and, for a panel
// that opens further left, that much more on the left. Only keyboard focus
// shows it: a click leaves the caption as it looks today.
var sharedRules = '.clCap[aria-controls]:focus-visible, .clCap [aria-controls]:focus-visible' +
    ' {outline:2px solid #000000; outline-offset:2px; box-shadow:0px 0px 0px 2px #FFFFFF;}\n' +
    '#didadMenus > div:has(:focus-visible) {clip:auto !important;' +
    ' clip-path:inset(-4px -4px -4px calc(-4px - var(--didadLeft, 0px)));}\n' +
    // Apart, so that a browser without :has() still lets a caption's own ring show.
    '#didadMenus .clCap:focus-visible {clip:auto !important; clip-path:inset(-4px);}\n' +
    '#didadMenus .clCap:has(:focus-visible) {clip:auto !important; clip-path:inset(-4px);}\n' +
    // The compact layout: its controls leave the ring room inside them.
    '#dcButton {position:absolute; z-index:9000; margin:0px; border:0px; padding:8px 12px; cursor:pointer;' +
    ' touch-action:manipulation;}\n' +
    '#dcList {position:absolute; left:0px; z-index:9000; box-sizing:border-box;}\n' +
    '#dcList[hidden], .dcMenu[hidden] {display:none;}\n' +
    '.dcCap {display:block; box-sizing:border-box; padding:10px 12px; cursor:pointer;' +
    ' touch-action:manipulation; border-top:1px solid #808080;}\n' +
    '.dcRow {display:flex; align-items:center; justify-content:space-between;}\n' +
    '.dcMore {margin:0px 0px 0px 8px; border:0px; padding:4px 12px; background:transparent; color:inherit;' +
    ' font:inherit; cursor:pointer; touch-action:manipulation;}\n' +
    '.dcMenu {display:block; box-sizing:border-box; padding:8px 12px 8px 24px; overflow-x:auto;}\n' +
    '.dcMenu nobr {white-space:normal;}\n' +
    // Right to left, the compact list's indent and the caption's toggle mirror.
    '#dcList.dcRtl .dcMenu {padding:8px 24px 8px 12px;}\n' +
    '#dcList.dcRtl .dcMore {margin:0px 8px 0px 0px;}\n' +
    // The link to the page being shown, marked as such in a way that any rule
    // of the site's own (which weighs more than none) restyles.
    ':where(.clMenu a.didadCurrent) {font-weight:bold;}\n' +
    '#dcButton:focus-visible, .dcCap:focus-visible, .dcMore:focus-visible {outline:2px solid #000000;' +
    ' outline-offset:-2px; box-shadow:inset 0px 0px 0px 4px #FFFFFF;}\n';

// The two class rules come first, then three rules per menu: a rule's
// place in the sheet says whose it is.
var classRules = 2;

// An element with id, class and attributes; the empty ones left out.
function newElement(tag, id, cls, attrs) {
    var el = document.createElement(tag);
    if (id) el.id = id;
    if (cls) el.className = cls;
    for (var name in attrs) if (Object.prototype.hasOwnProperty.call(attrs, name)) el.setAttribute(name, attrs[name]);
    return el;
}

// The author's HTML into `el`. Where the browser enforces Trusted Types it
// passes the policy named "didad"; a site that does not allow that name
// leaves it to the site's own default policy, if it has one.
function setHtml(el, html) {
    el.innerHTML = menuPolicy ? menuPolicy.createHTML(String(html)) : html;
}

// The policy is made once a page, by the first copy of the script: a second
// one of the same name would be refused.
function makePolicy() {
    if (!window.trustedTypes || !window.trustedTypes.createPolicy) return null;
    try {
        return window.trustedTypes.createPolicy("didad", { createHTML: function (html) { return html; } });
    } catch (ignoredNotAllowed) {
        return null;
    }
}

// A font name as a CSS string: whatever it holds stays inside the quotes.
function fontName(name) {
    return '"' + String(name).replace(/[\\"\n\r\f]/g, function (c) {
        return "\\" + c.charCodeAt(0).toString(16) + " ";
    }) + '"';
}

// Every rule of the menus, in one sheet of the page's own: a constructed
// sheet where the browser has one, which no style policy restricts.
function buildSheet() {
    var text = ['.clCap {text-decoration:none;}', '.clMenu {text-decoration:none;}'];
    for (var i = 0; i < numOfMenus; i++) text.push(menuRules(i).join('\n'));
    text.push(sharedRules);
    var sheet;
    try {
        if (!("adoptedStyleSheets" in document)) throw new Error("no constructed sheets");
        sheet = new CSSStyleSheet();
        sheet.replaceSync(text.join('\n'));
    } catch (ignoredNoConstructedSheets) {
        sheet = null;
    }
    if (!sheet) {
        var own = document.createElement("style");
        own.textContent = text.join('\n');
        (document.head || document.documentElement).appendChild(own);
        // A policy that refuses the element leaves it without a sheet.
        sheet = own.sheet;
        if (!sheet) return null;
    }
    var rules = sheet.cssRules;
    var font = function (rule, color, family, size) {
        rule.style.setProperty("color", color);
        rule.style.setProperty("font-family", fontName(family));
        rule.style.setProperty("font-size", (Number(size) || 0) + "pt");
    };
    font(rules[0], cDefCap, fDefCap, fDefCapS);
    font(rules[1], cDefMenu, fDefMenu, fDefMenuS);
    for (i = 0; i < numOfMenus; i++) menuColors(i, rules, classRules + 3 * i);
    // Adopted once its rules are complete: the page's style is worked out once.
    if (!sheet.ownerNode) document.adoptedStyleSheets = document.adoptedStyleSheets.concat([sheet]);
    return sheet;
}

// Menu i's rules in place of the ones it had: a live change in the preview.
function replaceRules(i) {
    if (!menuSheet) return;
    var rules = menuRules(i), at = classRules + 3 * i;
    for (var k = 0; k < 3; k++) {
        menuSheet.deleteRule(at + k);
        menuSheet.insertRule(rules[k], at + k);
    }
    menuColors(i, menuSheet.cssRules, at);
}

// Builds the menus once, in the element model: the rules, then everything
// of the menus in one layer, put in right after `script` when that is a
// script of the page's body (the classic call), else as the body's first
// element, where the classic call puts it. Until the page has a body the
// build waits for the page to be parsed.
function buildMenus(script) {
    if (menusBuilt || !document.body || document.getElementById("didadLayer")) return;
    menusBuilt = 1;
    var i, body = document.body, sel;
    if (IDE == 1) {
        body.scroll = "no";
        body.style.overflow = "hidden";
    }
    // Everything of the menus stands in one layer as wide as the page, which
    // clips what would pass its right edge: the menus never make the page
    // scroll sideways. Its first part holds the menus, the second the
    // compact layout. On a published page with menus placed against an
    // element, the menus wait, not displayed, until the page holds it:
    // none is seen jumping to its place, and the browser lays them out
    // once, where they belong, as it would menus written in the page
    // itself. The preview lays them out at once: it frames and opens its
    // selected menu right away.
    for (i = 0; i < numOfMenus; i++) if (AN[i] == 3 && IDE != 1) menusWait = true;
    menuSheet = buildSheet();
    var layer = newElement("div", "didadLayer", "", {});
    var props = [["position", "absolute"], ["left", "0px"], ["top", "0px"], ["width", "100%"], ["height", "0px"],
        ["overflow-x", "clip"], ["overflow-y", "visible"]];
    for (i = 0; i < props.length; i++) layer.style.setProperty(props[i][0], props[i][1]);
    var menus = layer.appendChild(newElement("div", "didadMenus", "", {}));
    if (menusWait) menus.style.display = "none";
    layer.appendChild(newElement("div", "didadCompact", "", {})).style.display = "none";
    for (i = 0; i < numOfMenus; i++) menus.appendChild(menuElement(i));
    var events = ["mouseover", "mouseout", "mousedown", "keydown", "focusout"];
    for (i = 0; i < events.length; i++) menus.addEventListener(events[i], menuEvent);
    if (script && script.parentNode && script.parentNode != document.head && body.contains(script)) {
        script.parentNode.insertBefore(layer, script.nextSibling);
    } else {
        body.insertBefore(layer, body.firstChild);
    }
    for (i = 0; i < numOfMenus; i++) if (capHoldsControl(i)) markCaptionControl(i);
    compactAllowed = cmpW > 0 && !window.MenuNoCompact;
    // Closing needs no panel sizes (see the style rules), so all menus
    // close on writes alone and the page is laid out once, when the
    // preview frames and opens its selected menu, or not before it is shown.
    for (i = 0; i < numOfMenus; i++) startMenu(i);
    sel = IDE == 1 && iSelectedMenu >= 0 && iSelectedMenu < numOfMenus ? iSelectedMenu : -1;
    watchMenus();
    // A preview as narrow as a phone shows what its visitors see: no frame.
    if (compactOn) sel = numOfMenus;
    // Opened before it is framed: the frame takes in the side its panel opens on.
    if (sel >= 0 && sel < numOfMenus) {
        mOpen(sel);
        ySetSel(sel, 0);
    }
    if (IDE == 1 && numOfMenus > 0 && sel < 0) {
        mOpen(iSelectedMenu);
        ySetSel(iSelectedMenu, 0);
    }
}

// Every event of every menu, as each menu's owner and caption would get it:
// the owner takes keys, focus leaving and the pointer leaving (hover
// menus); the caption takes the pointer coming (hover menus) and presses.
function menuEvent(evt) {
    var owner = evt.target;
    while (owner && owner.parentNode != this) owner = owner.parentNode;
    if (!owner || owner.didadMenu === undefined) return;
    var i = owner.didadMenu, hover = MA[i] == 0, onCap = owner.firstChild.contains(evt.target);
    switch (evt.type) {
    case "keydown":
        mKey(i, evt);
        break;
    case "mouseout":
        if (hover) mClose(i, evt);
        break;
    case "focusout":
        if (hover) mFocusOut(i, evt);
        break;
    case "mouseover":
        // Back over its menu in time, the pointer keeps it open.
        if (hover && closeTimer[i]) keepOpen(i);
        if (hover && onCap) mOpen(i);
        break;
    default:
        if (onCap && !hover) mScroll(i, evt);
        else if (onCap && IDE == 1) ySetSel(i, 1, evt);
    }
}

// Run by each copy of the script a page loads; only the first sets up. The
// menus are built once the page has been parsed, unless the page's own
// makeDidad() call comes first: a script that runs while the page is still
// being read (blocking in the head, or async) waits for that, one that runs
// later (deferred, or added to a parsed page) builds as soon as it has run.
function startRuntime() {
    if (runtimeStarted) return;
    runtimeStarted = 1;
    menuAnchorTop = [];
    panelShift = [];
    panelLeftward = [];
    closeTimer = [];
    menusWait = compactOn = compactAllowed = false;
    placeQueued = placedInFrame = 0;
    anchorWatch = null;
    watchedAnchors = [];
    errorLines = [];
    window.onerror = errorHandler;
    if (!ie) {
        // Closes the style element the data part opened (layerStyle).
        document.write('</style>');
        return;
    }
    window.onscroll = doRepos;
    menuPolicy = makePolicy();
    menusAfter = null;
    var build = function () { buildMenus(menusAfter); };
    if (document.readyState == "loading") document.addEventListener("DOMContentLoaded", build);
    // Once the whole script has run: the preview's add-on follows the runtime.
    else if (window.Promise) window.Promise.resolve().then(build);
    else setTimeout(build, 0);
}

// The data part hands the class rules over as markup that opens a style
// element. Only the layer model writes it; the element model sets the
// same rules as properties (buildSheet). It runs before this script's
// variables have their values.
function layerStyle(markup) {
    if (!elementModel()) document.write(markup);
}

startRuntime();
