
// Menu runtime. The data part above declares the menus; a page calls
// makeDidad() right after its body tag. Two object models are served: the
// element model (style rules and nested DIVs) and the layer model (LAYER
// elements). Every function tests `ie` and takes the layer branch otherwise;
// keyboard use and what assistive technology is told exist in the element
// model only.

// `document.all` answers a truth test with false in current browsers, so its
// existence is tested by comparison, and getElementById counts as well.
var ie = (document.all !== undefined || document.getElementById) ? 1 : 0;
var ns = document.layers ? 1 : 0;
var svernut, mTop, w2;
// What in a caption or a panel takes the keyboard focus on its own.
var menuControls = 'a[href],button,input:not([type=hidden]),select,textarea';
// Per menu: the top of the anchor it was last placed from (floating menus
// keep their distance from it), how far its open panel stands left of its
// caption's left edge, and whether a vertical panel opens to the left.
var menuAnchorTop = [], panelShift = [], panelLeftward = [];
var menusWait = false, compactOn = false, compactAllowed = false, placeQueued = 0, placedInFrame = 0, anchorWatch = null;
var watchedAnchors = [];
// Menus written to the page in one document.write.
var writeBatch = 64;

// Writes head, what `item` gives for each menu, then tail, writeBatch menus
// to a write: each document.write is a round through the parser, and a very
// long one costs some engines more than several.
function writeMenus(head, item, tail) {
    var batch = [head];
    for (var k = 0; k < numOfMenus; k++) {
        batch.push(item(k));
        if (batch.length >= writeBatch) {
            document.write(batch.join(''));
            batch = [];
        }
    }
    batch.push(tail);
    document.write(batch.join(''));
}

if (ie) (function () {
    writeMenus('', function (k) { return menuRules(k).join('\n') + '\n'; }, '');
    // A dark and a light ring that show on any caption colour, drawn just
    // outside the caption so that it covers none of its text. The clips of
    // caption and owner would cut it off: while a control of the menu has
    // keyboard focus they give way to the box plus the ring, and, for a
    // panel that opens further left, that much more on the left. Only
    // keyboard focus shows it: a click leaves the caption as it looks today.
    document.write('.clCap[aria-controls]:focus-visible, .clCap [aria-controls]:focus-visible' +
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
        '#dcButton:focus-visible, .dcCap:focus-visible, .dcMore:focus-visible {outline:2px solid #000000;' +
        ' outline-offset:-2px; box-shadow:inset 0px 0px 0px 4px #FFFFFF;}\n');
})();
document.write('</style>');

function makeDidad() {
    var i, sel = -1;
    if (ie) {
        if (IDE == 1) {
            document.body.scroll = "no";
            document.body.style.overflow = "hidden";
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
        writeMenus('<DIV ID="didadLayer" STYLE="position:absolute; left:0px; top:0px; width:100%; height:0px;' +
            ' overflow-x:clip; overflow-y:visible;"><DIV ID="didadMenus"' +
            (menusWait ? ' STYLE="display:none"' : '') + '>', menuElements,
            '</DIV><DIV ID="didadCompact" STYLE="display:none"></DIV></DIV>');
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
        if (sel >= 0 && sel < numOfMenus) {
            ySetSel(sel, 0);
            mOpen(sel);
        }
    } else {
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
    }
    if (IDE == 1 && numOfMenus > 0 && sel < 0) {
        ySetSel(iSelectedMenu, 0);
        mOpen(iSelectedMenu);
    }
}
