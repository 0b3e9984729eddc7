
// Menu runtime. The data part above declares the menus. A page may load
// this script in any way: deferred, async, added by another script at any
// time, or blocking in its head with makeDidad() right after its body tag.
// The menus are built once the page has been parsed, or where makeDidad() is
// called, with DOM methods only, so that a strict Content-Security-Policy or
// Trusted Types stop nothing. Two object models are served: the element
// model (style rules and nested DIVs) and the layer model (LAYER elements).
// Every function tests `ie` and takes the layer branch otherwise; keyboard
// use and what assistive technology is told exist in the element model only.

var ie = elementModel() ? 1 : 0;
var ns = document.layers ? 1 : 0;
var svernut, mTop, w2;
// What in a caption or a panel takes the keyboard focus on its own.
var menuControls = 'a[href],button,input:not([type=hidden]),select,textarea';
// The state below is given its values by the first copy of this script that
// a page runs (startRuntime): declared without a value, it stays as that
// copy left it when a page carrying two includes runs a second one.
// Per menu: the top of the anchor it was last placed from (floating menus
// keep their distance from it), how far its open panel stands left of its
// caption's left edge, and whether a vertical panel opens to the left.
var menuAnchorTop, panelShift, panelLeftward;
// Per hover menu: the close waiting while the pointer is off it.
var closeTimer;
var menusWait, compactOn, compactAllowed, placeQueued, placedInFrame, anchorWatch, watchedAnchors;
// The menus' style sheet, the policy the author's HTML passes through, and
// whether the runtime has started and the menus have been built.
var menuSheet, menuPolicy, runtimeStarted, menusBuilt;
// The script that called makeDidad() in a preview still being parsed.
var menusAfter;
// What the error window lists: every error of the page so far.
var errorLines;

// `document.all` answers a truth test with false in current browsers, so its
// existence is tested by comparison, and getElementById counts as well.
function elementModel() {
    return document.all !== undefined || document.getElementById;
}

// Builds the menus right after the script that calls it, where the classic
// include calls it: right after the body tag. Called again, or once the
// menus stand, it does nothing. The preview builds them there too, but only
// once the page has been parsed: opening and framing its selected menu lays
// the page out, and so that happens once, with every anchor in the page, and
// the page is drawn once, not half-read first and then again.
function makeDidad() {
    if (ie && IDE == 1 && document.readyState == "loading") {
        if (!menusAfter) menusAfter = document.currentScript;
        return;
    }
    if (ie) {
        buildMenus(document.currentScript);
        return;
    }
    if (menusBuilt) return;
    menusBuilt = 1;
    var i;
    widthChk = window.innerWidth;
    heightChk = window.innerHeight;
    window.onresize = resizeFix;
    setInterval("checkScroll()", 50);
    for (i = 0; i < numOfMenus; i++) {
        var ownerColor = CO[i] == "transparent" ? '' : ' bgColor=' + CO[i];
        var capColor = CC[i] == "transparent" ? '' : ' bgColor=' + CC[i];
        var menuColor = CM[i] == "transparent" ? '' : ' bgColor=' + CM[i];
        var onOut = MA[i] == 0 ? ' onMouseOut="mClose(' + i + ')"' : '';
        var onOver = MA[i] == 0 ? ' onMouseOver="mOpen(' + i + ')"' : '';
        var capSize, menuSize;
        if (OO[i] == 0) {
            capSize = ' HEIGHT=' + MTCH[i] + ' WIDTH=' + MW[i];
            menuSize = ' WIDTH=' + MW[i];
        } else {
            capSize = ' HEIGHT=' + MW[i] + ' WIDTH=' + MTCH[i];
            menuSize = ' HEIGHT=' + MW[i];
        }
        var at = MenuAnchorOrigin(AN[i], AE[i]);
        document.write('<LAYER NAME="owner' + i + '"' + ownerColor + onOut + ' LEFT=' + (at[0] + MX[i]) +
            ' TOP=' + (at[1] + MY[i]) +
            ' Z-INDEX=2 VISIBILITY=hidden><LAYER NAME="cap' + i + '" class="clCap"' + capColor + onOver +
            ' Z-INDEX=1' + capSize + '>' + MTC[i] + '</LAYER><LAYER NAME="menu' + i + '" class="clMenu"' +
            menuColor + ' Z-INDEX=0 VISIBILITY=hidden' + menuSize + '>' + MTM[i] + '</LAYER></LAYER>');
    }
    for (i = 0; i < numOfMenus; i++) startMenu(i);
    if (IDE == 1 && numOfMenus > 0) {
        ySetSel(iSelectedMenu, 0);
        mOpen(iSelectedMenu);
    }
}
