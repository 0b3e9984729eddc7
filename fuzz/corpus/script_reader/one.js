/*
******************************************************** 
 You may use this script on commercial and personal web sites, free of charge, 
 provided that this notice stays in the script unchanged. 
 Didad 1.03 
  https://www.divero.example/didad/download.html 
 All other rights reserved by Divero. 
*********************************************************
*/
RarurAVI_Ver = "1.00";

var cDefCap="#FFFFFF", fDefCap="Arial", fDefCapS=12, cDefMenu="#FFFFFF", fDefMenu="Arial", fDefMenuS=12, PRJ_sTemplate="Temp.html";
document.write('\
<style type="text/css">\
.clCap {cursor:hand; text-decoration:none; color:'+cDefCap+'; font-family:"'+fDefCap+'"; font-size:'+fDefCapS+'pt;}\
.clMenu {text-decoration:none; color:'+cDefMenu+'; font-family:"'+fDefMenu+'"; font-size:'+fDefMenuS+'pt;}\
');
var numOfMenus=1,scrIN=20,scrOUT=10,IDE=1,iSelectedMenu=0,errs="",old_pageYOffset=0,widthChk,heightChk;
var cmpW=640, cmpL="Menu", cmpX=10, cmpY=10;
var PR = new Array (numOfMenus);
var MTC = new Array ("Caption");
var MTCH = new Array (22,0);
var MTM = new Array ("Blank menu");
var MX = new Array (10,0);
var MY = new Array (10,0);
var MW = new Array (150,0);
var CO = new Array ("transparent");
var CC = new Array ("#000000");
var CM = new Array ("#008080");
var MA = new Array (0,0);
var FL = new Array (1,0);
var OO = new Array (0,0);
var AN = new Array (0,0);
var AE = new Array ("");

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

if (ie) (function () {
    // Lengths carry units: pages in standards mode drop unitless lengths.
// A panel's far edge is anchored to its owner's far edge, so a closed panel
// (owner as thick as the caption) stands at its closed offset without its
// size being measured; showOwner pins it before the owner grows.
    for (var iRule = 0; iRule < numOfMenus; iRule++) {
        if (OO[iRule] == 0) {
            document.write(
                '#owner' + iRule + ' {background-color:' + CO[iRule] + '; top:' + MY[iRule] + 'px; left:' + MX[iRule] +
                'px; width:' + MW[iRule] + 'px; clip:rect(0px,' + MW[iRule] + 'px,500px,0px); position:absolute;' +
                ' visibility:hidden; z-index:2;}\n' +
                '#cap' + iRule + ' {background-color:' + CC[iRule] + '; position:absolute; top:0px; left:0px;' +
                ' visibility:visible; z-index:3; width:' + MW[iRule] + 'px; height:' + MTCH[iRule] +
                'px; clip:rect(0px,' + MW[iRule] + 'px,' + MTCH[iRule] + 'px,0px); cursor:pointer;}\n' +
                '#menu' + iRule + ' {background-color:' + CM[iRule] + '; position:absolute; bottom:0px; left:0px;' +
                ' visibility:hidden; z-index:1; width:' + MW[iRule] + 'px;}\n');
        } else {
            document.write(
                '#owner' + iRule + ' {background-color:' + CO[iRule] + '; top:' + MY[iRule] + 'px; left:' + MX[iRule] +
                'px; height:' + MW[iRule] + 'px; clip:rect(0px,500px,' + MW[iRule] + 'px,0px); position:absolute;' +
                ' visibility:hidden; z-index:2;}\n' +
                '#cap' + iRule + ' {background-color:' + CC[iRule] + '; position:absolute; top:0px; left:0px;' +
                ' visibility:visible; z-index:3; height:' + MW[iRule] + 'px; width:' + MTCH[iRule] +
                'px; clip:rect(0px,' + MTCH[iRule] + 'px,' + MW[iRule] + 'px,0px); cursor:pointer;}\n' +
                '#menu' + iRule + ' {background-color:' + CM[iRule] + '; position:absolute; top:0px; right:0px;' +
                ' visibility:hidden; z-index:1; height:' + MW[iRule] + 'px;}\n');
        }
    }
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
        document.write('<DIV ID="didadLayer" STYLE="position:absolute; left:0px; top:0px; width:100%; height:0px;' +
            ' overflow-x:clip; overflow-y:visible;"><DIV ID="didadMenus"' +
            (menusWait ? ' STYLE="display:none"' : '') + '>');
        for (i = 0; i < numOfMenus; i++) {
            var ownerEvents = ' onKeyDown="mKey(' + i + ',event)"', capEvents;
            if (MA[i] == 0) {
                ownerEvents += ' onMouseOut="mClose(' + i + ',event)" onFocusOut="mFocusOut(' + i + ',event)"';
                capEvents = ' onMouseOver="mOpen(' + i + ')"';
                if (IDE == 1) capEvents += ' onMouseDown="ySetSel(' + i + ',1,event)"';
            } else {
                capEvents = ' onMouseDown="mScroll(' + i + ',event)"';
            }
            // A caption is the button that discloses its panel, unless it holds
            // a link or control of its own: one control may not nest in another.
            var capHoldsControl = holdsControl(MTC[i]);
            var capButton = capHoldsControl ? '' : ' tabindex="0" role="button" aria-expanded="false"' +
                ' aria-controls="menu' + i + '"';
            document.write('<DIV ID="owner' + i + '"' + ownerEvents + '><DIV ID="cap' + i + '" CLASS="clCap"' +
                capButton + capEvents + '>' + MTC[i] + '</DIV><DIV ID="menu' + i + '" CLASS="clMenu">' + MTM[i] +
                '</DIV></DIV>');
            if (capHoldsControl) markCaptionControl(i);
        }
        document.write('</DIV><DIV ID="didadCompact" STYLE="display:none"></DIV></DIV>');
        compactAllowed = cmpW > 0 && !window.MenuNoCompact;
        // Closing needs no panel sizes (see the style rules), so all menus
        // close on writes alone and the page is laid out once, when the
        // preview frames and opens its selected menu, or not before it is shown.
        for (i = 0; i < numOfMenus; i++) {
            hideOwner(i);
            setMenu(i);
        }
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
        for (i = 0; i < numOfMenus; i++) {
            hideOwner(i);
            setMenu(i);
        }
    }
    if (IDE == 1 && numOfMenus > 0 && sel < 0) {
        ySetSel(iSelectedMenu, 0);
        mOpen(iSelectedMenu);
    }
}

// Whether caption HTML holds a link or control of its own.
function holdsControl(html) {
    return /<(a\s[^>]*href|button|input|select|textarea)\b/i.test(html);
}

// Where a menu's Left and Top count from, in page pixels: the page's left
// edge (kind 0), the centre line (1) or the right edge (2) of the window's
// layout width, which leaves out its scroll bar, or the top-left corner of
// the first element that `selector` matches (3). A selector that is no CSS,
// matches nothing or names an element not shown falls back to the page's
// left edge; so does any kind not listed.
function MenuAnchorOrigin(kind, selector) {
    return anchorPoint(kind, selector, false);
}

function anchorPoint(kind, selector, watch) {
    var root = document.documentElement;
    if (kind == 1 || kind == 2) {
        var width = root && root.clientWidth ? root.clientWidth : window.innerWidth;
        return [kind == 1 ? Math.round(width / 2) : width, 0];
    }
    if (kind != 3 || !document.querySelector) return [0, 0];
    var el;
    try {
        el = document.querySelector(selector);
    } catch (ignoredNotCss) {
        return [0, 0];
    }
    if (!el || !el.getClientRects().length) return [0, 0];
    if (watch && anchorWatch && watchedAnchors.indexOf(el) < 0) {
        watchedAnchors.push(el);
        anchorWatch.observe(el);
    }
    var r = el.getBoundingClientRect();
    return [Math.round(r.left + window.pageXOffset), Math.round(r.top + window.pageYOffset)];
}

// Puts menu i where its anchor, Left and Top say, floating menus at their
// distance from the window's top. Writes only what changed; true if it did.
function MenuPlace(i) {
    return placeFrom(i, anchorPoint(AN[i], AE[i], true), window.pageYOffset);
}

// `scrollY` is read once for all menus: read after a menu has moved, it
// would lay the page out again for every one.
function placeFrom(i, at, scrollY) {
    menuAnchorTop[i] = at[1];
    var x = at[0] + MX[i], y = at[1] + MY[i] + (FL[i] != 0 ? scrollY : 0);
    if (!ie) {
        var ol = document.layers["owner" + i];
        if (ol) {
            ol.left = x;
            ol.top = y;
        }
        return true;
    }
    var o = document.getElementById("owner" + i), moved = false;
    if (!o) return false;
    if (o.style.left != x + "px") {
        o.style.left = x + "px";
        moved = true;
    }
    if (o.style.top != y + "px") {
        o.style.top = y + "px";
        moved = true;
    }
    return moved;
}

// Every anchored menu again, after the window or the page changed. Anchors
// are all measured before any menu moves, each distinct one once, so that
// the page is laid out once however many menus there are. Menus on the
// page's left edge stand where their style rules put them and are left alone.
function placeMenus() {
    if (!ie || !document.getElementById("didadLayer")) return;
    setLayout();
    fitLayer();
    var origins = {}, todo = [], i, k;
    for (i = 0; i < numOfMenus; i++) {
        var kind = AN[i];
        if (kind != 1 && kind != 2 && kind != 3) continue;
        // A menu being dragged in the preview follows the pointer alone.
        if (IDE == 1 && i == iSelectedMenu && window.bAllowMove == 1) continue;
        var key = "k" + kind + (kind == 3 ? AE[i] : "");
        todo.push(i, origins[key] || (origins[key] = anchorPoint(kind, AE[i], true)));
    }
    var selMoved = false, scrollY = window.pageYOffset;
    for (k = 0; k < todo.length; k += 2) {
        if (placeFrom(todo[k], todo[k + 1], scrollY) && todo[k] == iSelectedMenu) selMoved = true;
    }
    if (menusWait) {
        menusWait = false;
        showLayout();
    }
    if (IDE == 1 && selMoved && !compactOn && typeof ySetSel == "function") ySetSel(iSelectedMenu, 0);
}

// At most one placing a frame, in the frame's own animation step: a resize
// comes before it in the same frame, so nothing is drawn in between.
function schedulePlace() {
    if (placeQueued) return;
    placeQueued = 1;
    window.requestAnimationFrame(function () {
        placeQueued = 0;
        placedInFrame = 0;
        placeMenus();
    });
}

// A change of size seen after layout (fonts, pictures, content above an
// anchor) is answered before the frame is painted.
function anchorsResized() {
    if (placedInFrame) return schedulePlace();
    placedInFrame = 1;
    placeMenus();
    window.requestAnimationFrame(function () { placedInFrame = 0; });
}

function watchMenus() {
    if (window.ResizeObserver) anchorWatch = new ResizeObserver(anchorsResized);
    setLayout();
    var start = function () {
        placeMenus();
        if (anchorWatch && document.body) anchorWatch.observe(document.body);
    };
    // Element anchors are placed once the page holds them; until then
    // those menus wait unseen, so that none is seen jumping to its place.
    for (var i = 0; i < numOfMenus; i++) if (AN[i] == 1 || AN[i] == 2) MenuPlace(i);
    if (document.readyState == "loading") document.addEventListener("DOMContentLoaded", start);
    else start();
    window.addEventListener("resize", schedulePlace);
    window.addEventListener("load", schedulePlace);
    if (document.fonts && document.fonts.addEventListener) document.fonts.addEventListener("loadingdone", schedulePlace);
    document.addEventListener("click", compactOutside, true);
}

// The layer as wide as the page's own content or the window, whichever is
// wider: the menus over a wide page stay reachable, and none widens it.
// Its width changes only when the page's own width calls for it: a changed
// width lays out every menu again.
function fitLayer() {
    var layer = document.getElementById("didadLayer");
    var scroller = document.scrollingElement || document.documentElement;
    var room = document.documentElement.clientWidth;
    // Wider than the window, the layer itself may be what holds the page wide.
    if (layer.offsetWidth > room) layer.style.width = "0px";
    var wide = scroller.scrollWidth > room ? scroller.scrollWidth + "px" : "100%";
    if (layer.style.width != wide) layer.style.width = wide;
}

// The compact layout below the project's width, the menus above it.
function setLayout() {
    var want = compactAllowed && numOfMenus > 0 && window.innerWidth < cmpW;
    if (want == compactOn) return;
    compactOn = want;
    var bar = document.getElementById("didadCompact");
    if (want && !bar.firstChild) buildCompact(bar);
    if (!want) compactList(false);
    showLayout();
}

function showLayout() {
    document.getElementById("didadMenus").style.display = compactOn || menusWait ? "none" : "";
    document.getElementById("didadCompact").style.display = compactOn ? "" : "none";
}

function htmlText(text) {
    return String(text).replace(/&/g, "&amp;").replace(/</g, "&lt;").replace(/>/g, "&gt;").replace(/"/g, "&quot;");
}

// What a caption says, for a button that has no text of its own.
function captionName(html, i) {
    var t = document.createElement("template");
    t.innerHTML = html;
    var name = t.content.textContent.replace(/\s+/g, " ").trim();
    var img = t.content.querySelector("img[alt]");
    return name || (img ? img.getAttribute("alt") : "") || String(i + 1);
}

// One button (a "☰" and the project's text) and a list as wide as the
// window of every menu's caption, each opening its panel in place below it.
// Built the first time it is needed: wide windows never pay for it.
function buildCompact(bar) {
    var back = "#000000", i, html = [];
    for (i = 0; i < numOfMenus; i++) {
        if (CC[i] != "transparent") {
            back = CC[i];
            break;
        }
    }
    html.push('<BUTTON TYPE="button" ID="dcButton" CLASS="clCap" aria-expanded="false" aria-controls="dcList"' +
        ' onClick="compactList()" STYLE="left:' + cmpX + 'px; top:' + cmpY + 'px; background-color:' + back +
        '"><SPAN aria-hidden="true">\u2630</SPAN> ' + htmlText(cmpL) + '</BUTTON><DIV ID="dcList" hidden' +
        ' STYLE="background-color:' + back + '">');
    for (i = 0; i < numOfMenus; i++) {
        var toggle = ' aria-expanded="false" aria-controls="dcMenu' + i + '" onClick="compactPanel(' + i + ')"';
        var capStyle = ' STYLE="background-color:' + CC[i] + '"';
        // A caption that is a link stays one; a button beside it opens the panel.
        if (holdsControl(MTC[i])) {
            html.push('<DIV CLASS="clCap dcCap dcRow"' + capStyle + '><SPAN>' + MTC[i] + '</SPAN><BUTTON TYPE="button"' +
                ' ID="dcCap' + i + '" CLASS="dcMore" aria-label="' + htmlText(captionName(MTC[i], i)) + '"' + toggle +
                '><SPAN aria-hidden="true">\u25BE</SPAN></BUTTON></DIV>');
        } else {
            html.push('<DIV ID="dcCap' + i + '" CLASS="clCap dcCap" tabindex="0" role="button"' + toggle + capStyle +
                '>' + MTC[i] + '</DIV>');
        }
        html.push('<DIV ID="dcMenu' + i + '" CLASS="clMenu dcMenu" hidden STYLE="background-color:' + CM[i] + '">' +
            MTM[i] + '</DIV>');
    }
    bar.innerHTML = html.join("") + '</DIV>';
    bar.onkeydown = compactKey;
}

// Opens or closes (show undefined: toggles) the compact list.
function compactList(show) {
    var b = document.getElementById("dcButton"), l = document.getElementById("dcList");
    if (!b) return;
    if (show === undefined) show = l.hidden;
    if (show) {
        l.style.top = (b.offsetTop + b.offsetHeight) + "px";
        l.style.width = document.documentElement.clientWidth + "px";
    }
    l.hidden = !show;
    b.setAttribute("aria-expanded", show ? "true" : "false");
}

function compactPanel(i, show) {
    var c = document.getElementById("dcCap" + i), m = document.getElementById("dcMenu" + i);
    if (show === undefined) show = m.hidden;
    m.hidden = !show;
    c.setAttribute("aria-expanded", show ? "true" : "false");
}

// Enter or Space toggles a caption's panel; Escape closes the panel the
// focus is in or on, back on its caption, and else the list, back on the button.
function compactKey(evt) {
    var e = evt || window.event, target = e.target, key = e.keyCode;
    var item = target.closest ? target.closest("[id^=dcCap],[id^=dcMenu]") : null;
    var i = item ? parseInt(item.id.replace(/^dc(Cap|Menu)/, ""), 10) : -1;
    if ((key == 13 || key == 32) && item && item.id == "dcCap" + i && target == item && item.tagName == "DIV") {
        compactPanel(i);
    } else if (key == 27 && i >= 0 && !document.getElementById("dcMenu" + i).hidden) {
        compactPanel(i, false);
        document.getElementById("dcCap" + i).focus();
    } else if (key == 27 && !document.getElementById("dcList").hidden) {
        compactList(false);
        document.getElementById("dcButton").focus();
    } else {
        return;
    }
    e.preventDefault();
}

// A click or tap elsewhere on the page closes the compact list.
function compactOutside(evt) {
    var bar = document.getElementById("didadCompact");
    if (compactOn && bar && !bar.contains(evt.target)) compactList(false);
}

// Before a closed panel opens: one that slides down moves left as far as
// it would pass the window's right edge, one that slides right opens on
// the left when it has no room on the right and room on the left. Never
// past the left edge.
function fitPanel(i) {
    var m = document.getElementById("menu" + i), o = document.getElementById("owner" + i);
    if (m.style.visibility == "visible" || !o.getBoundingClientRect) return;
    var room = document.documentElement.clientWidth, c = o.getBoundingClientRect(), w = m.offsetWidth;
    var shift = 0, leftward = false;
    if (OO[i] == 0) {
        shift = Math.max(0, Math.min(c.left + w - room, c.left));
    } else if (c.left + MTCH[i] + w > room && c.left >= w) {
        leftward = true;
        shift = w;
        m.style.right = "auto";
        m.style.left = "0px";
    }
    if (OO[i] == 0 && shift) m.style.left = -shift + "px";
    panelShift[i] = shift;
    panelLeftward[i] = leftward;
    if (!shift) return;
    o.style.setProperty("--didadLeft", shift + "px");
    o.style.clip = OO[i] == 0 ? "rect(0px," + MW[i] + "px,500px," + (-shift) + "px)"
        : "rect(0px," + MTCH[i] + "px," + MW[i] + "px," + (-shift) + "px)";
}

// A closed panel goes back to the side it opens on by default.
function unfitPanel(i) {
    if (!panelShift[i]) return;
    var m = document.getElementById("menu" + i), o = document.getElementById("owner" + i);
    panelShift[i] = 0;
    panelLeftward[i] = false;
    m.style.left = "";
    m.style.right = "";
    o.style.clip = "";
    o.style.removeProperty("--didadLeft");
}

// Where the panel stands open and closed along its slide.
function openAt(i) {
    return panelLeftward[i] ? -getMenuHeight(i) : MTCH[i];
}
function closedAt(i) {
    return panelLeftward[i] ? 0 : MTCH[i] - getMenuHeight(i);
}
function slideSign(i) {
    return panelLeftward[i] ? -1 : 1;
}

// Panel length along the slide axis.
function getMenuHeight(i) {
    if (ie) {
        var m = document.getElementById ? document.getElementById("menu" + i) : document.all["menu" + i];
        return OO[i] == 0 ? m.offsetHeight : m.offsetWidth;
    }
    var o = document.layers["owner" + i];
    var l = o ? o.document.layers["menu" + i] : null;
    if (!l) return;
    return OO[i] == 0 ? l.clip.height : l.clip.width;
}

// Closed state: the panel's far edge on the caption's far edge. In the
// element model the style rules anchor it there; an offset pinned by
// showOwner is cleared so that the anchoring holds again.
function setMenu(i) {
    if (ie) {
        var o = document.getElementById ? document.getElementById("owner" + i) : document.all["owner" + i];
        var m = document.getElementById ? document.getElementById("menu" + i) : document.all["menu" + i];
        o.style.visibility = "visible";
        if (OO[i] == 0) {
            m.style.top = "";
            m.style.bottom = "";
        } else {
            m.style.left = "";
            m.style.right = "";
        }
        return;
    }
    var ol = document.layers["owner" + i];
    if (!ol) {
        setTimeout(function () { setMenu(i); }, 50);
        return;
    }
    ol.visibility = "visible";
    var ml = ol.document.layers["menu" + i];
    if (!ml) {
        setTimeout(function () { setMenu(i); }, 50);
        return;
    }
    if (OO[i] == 0) ml.top = MTCH[i] - getMenuHeight(i);
    else ml.left = MTCH[i] - getMenuHeight(i);
    if (MA[i] == 1) {
        var cl = ol.document.layers["cap" + i];
        cl.document.captureEvents(Event.MOUSEUP | Event.MOUSEDOWN);
        cl.document.onmousedown = nsMouseDown;
    }
}

function hideOwner(i) {
    if (ie) {
        var o = document.getElementById ? document.getElementById("owner" + i) : document.all["owner" + i];
        if (OO[i] == 0) o.style.height = MTCH[i] + "px";
        else o.style.width = MTCH[i] + "px";
        return;
    }
    var ol = document.layers["owner" + i];
    if (!ol) {
        setTimeout(function () { hideOwner(i); }, 50);
        return;
    }
    if (OO[i] == 0) ol.clip.height = MTCH[i];
    else ol.clip.width = MTCH[i];
}

function showOwner(i) {
    if (ie) {
        var o = document.getElementById ? document.getElementById("owner" + i) : document.all["owner" + i];
        var m = document.getElementById ? document.getElementById("menu" + i) : document.all["menu" + i];
        // The panel is pinned where it stands first: left anchored to the
        // owner's far edge, it would move as the owner grows.
        if (OO[i] == 0) {
            var top = m.offsetTop, height = m.offsetHeight;
            m.style.top = top + "px";
            m.style.bottom = "auto";
            o.style.height = (parseInt(height) + MTCH[i]) + "px";
        } else {
            var left = m.offsetLeft, width = m.offsetWidth;
            m.style.left = left + "px";
            m.style.right = "auto";
            o.style.width = (parseInt(width) + MTCH[i]) + "px";
        }
        return;
    }
    var ol = document.layers["owner" + i];
    var ml = ol.document.layers["menu" + i];
    if (OO[i] == 0) ol.clip.height = ml.clip.height + MTCH[i];
    else ol.clip.width = ml.clip.width + MTCH[i];
}

function setVis(i, vis) {
    if (ie) {
        var m = document.getElementById ? document.getElementById("menu" + i) : document.all["menu" + i];
        m.style.visibility = vis;
        return;
    }
    document.layers["owner" + i].document.layers["menu" + i].visibility = vis;
}

// One animation tick: move `step` pixels towards `tar`, never past it.
function scrollMe(i, tar, step) {
    var m, ml;
    if (ie) {
        m = document.getElementById ? document.getElementById("menu" + i) : document.all["menu" + i];
        mTop = OO[i] == 0 ? m.offsetTop : m.offsetLeft;
    } else {
        ml = document.layers["owner" + i].document.layers["menu" + i];
        mTop = OO[i] == 0 ? ml.top : ml.left;
    }
    var closing = step * slideSign(i) < 0;
    if ((mTop < tar && step > 0) || (mTop > tar && step < 0)) {
        // Visitors whose system asks for less motion get no slide at all.
        var atOnce = window.matchMedia && window.matchMedia("(prefers-reduced-motion: reduce)").matches;
        mTop += step;
        if (atOnce || (mTop > tar && step > 0) || (mTop < tar && step < 0)) mTop = tar;
        if (ie) {
            if (OO[i] == 0) m.style.top = mTop + "px";
            else m.style.left = mTop + "px";
        } else {
            if (OO[i] == 0) ml.top = mTop;
            else ml.left = mTop;
        }
        if (!atOnce) {
            PR[i] = setTimeout(function () { scrollMe(i, tar, step); }, 50);
            return;
        }
    }
    if (closing) {
        hideOwner(i);
        setVis(i, "hidden");
        if (ie) unfitPanel(i);
    }
}

function mOpen(i) {
    clearTimeout(PR[i]);
    setExpanded(i, 1);
    if (ie) fitPanel(i);
    showOwner(i);
    setVis(i, "visible");
    scrollMe(i, openAt(i), scrOUT * slideSign(i));
}

// A mouse-out also arrives when the pointer only passes between the owner's
// inner elements, so the pointer is tested against the menu's area first.
// The left and top edges count as outside up to one pixel inwards.
function mClose(i, evt) {
    var bDo = 1;
    if (ie) {
        var e = evt || window.event;
        var cX = e.clientX + (window.pageXOffset !== undefined ? window.pageXOffset : document.body.scrollLeft);
        var cY = e.clientY + (window.pageYOffset !== undefined ? window.pageYOffset : document.body.scrollTop);
        var o = document.getElementById ? document.getElementById("owner" + i) : document.all["owner" + i];
        var mX = o.offsetLeft, mY = o.offsetTop, mW = o.offsetWidth;
        var extent = getMenuHeight(i), shift = panelShift[i] || 0;
        if (OO[i] == 0) {
            if (cX < mX + mW && cX > mX - shift + 1 && cY < extent + mY + MTCH[i] && cY > mY + 1) bDo = 0;
        } else if (panelLeftward[i]) {
            if (cY < mY + MW[i] && cX > mX - extent + 1 && cX < mX + MTCH[i] && cY > mY + 1) bDo = 0;
        } else {
            if (cY < mY + MW[i] && cX > mX + 1 && cX < extent + mX + MTCH[i] && cY > mY + 1) bDo = 0;
        }
    }
    if (bDo) mShut(i);
}

// Closes a menu from wherever its panel stands. Closed from the keyboard,
// the panel leaves the tab order and what screen readers read at once, not
// at the end of its slide, so that the next Tab cannot land in it.
function mShut(i, byKey) {
    clearTimeout(PR[i]);
    setExpanded(i, 0);
    if (byKey) document.getElementById("menu" + i).inert = true;
    scrollMe(i, closedAt(i), -scrIN * slideSign(i));
}

// Click toggle: only a fully open panel closes; one in mid-slide opens.
function mScroll(i, evt) {
    clearTimeout(PR[i]);
    if (IDE == 1) ySetSel(i, 1, evt);
    svernut = getMenuHeight(i);
    if (ie) {
        var m = document.getElementById ? document.getElementById("menu" + i) : document.all["menu" + i];
        mTop = OO[i] == 0 ? m.offsetTop : m.offsetLeft;
    } else {
        var ml = document.layers["owner" + i].document.layers["menu" + i];
        mTop = OO[i] == 0 ? ml.top : ml.left;
    }
    if (panelLeftward[i] ? mTop <= openAt(i) : mTop >= MTCH[i]) {
        setExpanded(i, 0);
        scrollMe(i, closedAt(i), -scrIN * slideSign(i));
    } else {
        setExpanded(i, 1);
        if (ie) fitPanel(i);
        showOwner(i);
        setVis(i, "visible");
        scrollMe(i, openAt(i), scrOUT * slideSign(i));
    }
}

// Layer hit test; the highest index wins where menus overlap. A horizontal
// menu answers on its caption strip, a vertical one on its whole visible owner.
function getI(x, y) {
    for (var i = numOfMenus - 1; i >= 0; i--) {
        var ol = document.layers["owner" + i];
        if (!ol) continue;
        var cX = ol.left, cY = ol.top, cW = ol.clip.width;
        if (OO[i] == 0) {
            if (x >= cX && x <= cX + cW && y >= cY && y <= cY + MTCH[i]) return i;
        } else {
            var cH = ol.clip.height;
            if (x >= cX && x <= cX + cW && y >= cY && y <= cY + cH) return i;
        }
    }
}

function nsMouseDown(e) {
    var i = getI(e.pageX, e.pageY);
    if (i !== undefined) mScroll(i);
}

// The control that discloses menu i's panel: its caption, or the caption's
// own link (element model only).
function capControl(i) {
    var c = document.getElementById ? document.getElementById("cap" + i) : document.all["cap" + i];
    if (c.getAttribute("aria-controls")) return c;
    return c.querySelector ? c.querySelector("[aria-controls]") : null;
}

function markCaptionControl(i) {
    if (!document.querySelector) return;
    var control = document.getElementById("cap" + i).querySelector(menuControls);
    if (!control) return;
    control.setAttribute("aria-expanded", "false");
    control.setAttribute("aria-controls", "menu" + i);
}

// What assistive technology is told: whether the panel is open or on its way
// there, not where the slide stands.
function setExpanded(i, open) {
    if (!ie) return;
    var control = capControl(i);
    if (control) control.setAttribute("aria-expanded", open ? "true" : "false");
    if (open) document.getElementById("menu" + i).inert = false;
}

// Keys in menu i, after the disclosure pattern of site navigation: Enter or
// Space on a caption button toggles the panel; the arrow along the slide
// opens it and enters it, also from a caption's own link, which Enter still
// follows; Escape closes it and goes back to the caption.
function mKey(i, evt) {
    var e = evt || window.event;
    var control = capControl(i);
    if (!control || e.altKey || e.ctrlKey || e.metaKey) return;
    var cap = document.getElementById("cap" + i), target = e.target || e.srcElement;
    var open = control.getAttribute("aria-expanded") == "true";
    var key = e.keyCode, arrowIn = OO[i] == 0 ? 40 : 39;
    if ((key == 13 || key == 32) && target == cap && control == cap) {
        if (open) mShut(i, 1);
        else mOpen(i);
    } else if (key == arrowIn && cap.contains(target)) {
        mOpen(i);
        var first = document.getElementById("menu" + i).querySelector(menuControls);
        // The panel is still sliding: scrolling to where it stands now is wrong.
        if (first) first.focus({ preventScroll: true });
    } else if (key == 27 && open) {
        control.focus();
        mShut(i, 1);
    } else {
        return;
    }
    if (e.preventDefault) e.preventDefault();
}

// Focus moving on from a hover menu closes it, as the pointer leaving does.
// Focus lost to nothing (a click on plain text, another window) stays.
function mFocusOut(i, evt) {
    var to = evt.relatedTarget;
    var o = document.getElementById("owner" + i), control = capControl(i);
    if (to && !o.contains(to) && control && control.getAttribute("aria-expanded") == "true") mShut(i, 1);
}

// Floating menus keep their distance from the top of the visible window.
// The scroll offset is read once: read after a menu has moved, it would lay
// the page out again for every floating menu.
function doRepos() {
    var scrollY = window.pageYOffset !== undefined ? window.pageYOffset : document.body.scrollTop;
    for (var i = 0; i < numOfMenus; i++) {
        if (FL[i] == 0) continue;
        if (ie) {
            var o = document.getElementById ? document.getElementById("owner" + i) : document.all["owner" + i];
            o.style.top = ((menuAnchorTop[i] || 0) + MY[i] + scrollY) + "px";
        } else {
            var ol = document.layers["owner" + i];
            if (ol) ol.top = (menuAnchorTop[i] || 0) + MY[i] + window.pageYOffset;
        }
    }
}

// Layer pages have no scroll event: poll.
function checkScroll() {
    if (old_pageYOffset != window.pageYOffset) {
        old_pageYOffset = window.pageYOffset;
        doRepos();
    }
}

// Layers do not reflow on resize; reloading lays the page out anew, the
// menus on the window's centre or right edge with it. The element model
// places its menus again instead (placeMenus).
function resizeFix() {
    if (widthChk != window.innerWidth || heightChk != window.innerHeight) document.location.reload();
}

// Any script error of the page, the author's menu HTML included. Returning
// true keeps the browser's own report away, also when no window could open.
function errorHandler(msg, url, line) {
    // A notice that size observers (ours, or the page's) were left waiting
    // for a frame: no fault of the page, nothing to report.
    if (/ResizeObserver loop/.test(String(msg))) return true;
    if (IDE == 1) {
        setTitle("!RarurAVI:ERROR(" + msg + "@" + url + "@" + line + ")");
        return true;
    }
    try {
        w2 = window.open("", "win2", "scrollbars=1,status=0,left=230,top=210,width=500,height=200");
    } catch (ignored) {
        w2 = null;
    }
    // The listing shows the texts as they are, not as markup.
    errs += (String(msg) + " - " + url + " - " + line).replace(/&/g, "&amp;").replace(/</g, "&lt;")
        .replace(/>/g, "&gt;") + "<BR>";
    if (!w2) return true;
    try {
        var d = w2.document;
        d.write('<B>Error!</B> Possible reasons:<BR>' +
            '<B>1.</B> HTML code which you entered inside a menu or caption is illegal.<BR>' +
            '<B>2.</B> Unreliable Internet Connection. Please Reload the Page.<BR>' +
            '<B>3.</B> This could be a bug. Please send your <I>Dirovidadaz.js</I> to the ' +
            '<A HREF="mailto:author@didad.example">author.</A><BR><BR>' +
            '<FORM><INPUT TYPE="button" VALUE="Reload Page" onClick="opener.location.reload();self.close()"></FORM>' +
            '<NOBR>' + errs + '</NOBR>');
        d.close();
    } catch (ignored) {
        // A window we may not write into is as good as a blocked one.
    }
    return true;
}

window.onerror = errorHandler;
if (ie) window.onscroll = doRepos;

/* IDE! */
// Editing in the preview: a frame around the selected menu, dragging, and the
// title channel that tells the editor what happened. Only the element model
// is served; in the layer model the add-on stays passive.

function setTitle(s) {
    document.title = s;
}

function yVisibleSelector(v) {
    if (v == selectorVisible) return;
    var vis = v ? "visible" : "hidden";
    var ids = ["SEL_TOP", "SEL_LEFT", "SEL_RIGHT", "SEL_BOTTOM"];
    for (var k = 0; k < ids.length; k++) {
        var d = document.getElementById ? document.getElementById(ids[k]) : document.all[ids[k]];
        d.style.visibility = vis;
    }
    selectorVisible = v;
}

// Frame around the rectangle at (x, y), w wide and h high.
function ySelector(x, y, w, h) {
    var byId = document.getElementById ? function (id) { return document.getElementById(id); }
        : function (id) { return document.all[id]; };
    if (selectorVisible == 0) yVisibleSelector(1);
    var top = byId("SEL_TOP"), left = byId("SEL_LEFT"), right = byId("SEL_RIGHT"), bottom = byId("SEL_BOTTOM");
    top.style.left = parseInt(x) + "px";
    top.style.top = parseInt(y) + "px";
    left.style.left = parseInt(x) + "px";
    left.style.top = parseInt(y) + "px";
    right.style.left = parseInt(x + w) + "px";
    right.style.top = parseInt(y) + "px";
    bottom.style.left = parseInt(x) + "px";
    bottom.style.top = parseInt(y + h) + "px";
    top.style.width = parseInt(w + 2) + "px";
    bottom.style.width = parseInt(w + 2) + "px";
    left.style.height = parseInt(h) + "px";
    right.style.height = parseInt(h) + "px";
    // A mouse-up on a caption may not reach the document (a caption's own
    // content can stop it), so each caption ends a drag too. Once per page.
    if (first_time == 1) {
        for (var i = 0; i < numOfMenus; i++) byId("cap" + i).onmouseup = noMOVE;
        first_time = 0;
    }
}

// Selects menu i in the page. With e non-zero the pointer of `evt` arms a
// drag and the editor is told; e = 0 only draws the frame.
function ySetSel(i, e, evt) {
    if (!ie) return;
    var o = document.getElementById ? document.getElementById("owner" + i) : document.all["owner" + i];
    var oLeft = o.offsetLeft, oTop = o.offsetTop;
    // The panel counts whether or not it is open, so the frame does not jump.
    var extent = getMenuHeight(i);
    if (OO[i] == 0) ySelector(oLeft - 3, oTop - 3, MW[i] + 4, extent + MTCH[i] + 4);
    else ySelector(oLeft - 3, oTop - 3, extent + MTCH[i] + 4, MW[i] + 4);
    iSelectedMenu = i;
    if (e) {
        var ev = evt || window.event;
        var x = ev.clientX + (window.pageXOffset !== undefined ? window.pageXOffset : document.body.scrollLeft);
        var y = ev.clientY + (window.pageYOffset !== undefined ? window.pageYOffset : document.body.scrollTop);
        minusX = x - oLeft;
        minusY = y - oTop;
        bAllowMove = 1;
        yOwnPointer(ev);
        setTitle("!RarurAVI:ySetSel(" + i + ")");
    }
}

// An armed drag owns the pointer until the release. Left to itself the
// engine would select text from the press, or drag a link or picture of the
// page that the moving caption uncovers at the press point, and then send
// the page no more mouse moves.
function yOwnPointer(ev) {
    if (ev.preventDefault) ev.preventDefault();
    else ev.returnValue = false;
}

function docMouseMove(evt) {
    if (bAllowMove != 1) return;
    var ev = evt || window.event;
    var x = ev.clientX + (window.pageXOffset !== undefined ? window.pageXOffset : document.body.scrollLeft);
    var y = ev.clientY + (window.pageYOffset !== undefined ? window.pageYOffset : document.body.scrollTop);
    yMoveMenu(iSelectedMenu, x - minusX, y - minusY);
}

// The frame would lag behind the moving menu; it is hidden until the drop.
function yMoveMenu(i, x, y) {
    var o = document.getElementById ? document.getElementById("owner" + i) : document.all["owner" + i];
    o.style.left = parseInt(x) + "px";
    o.style.top = parseInt(y) + "px";
    yVisibleSelector(0);
}

// Every mouse-up reports the selected menu and where it stands now. The grab
// offset is taken anew first, so the position sent is the owner's own.
function noMOVE(evt) {
    var ev = evt || window.event;
    if (numOfMenus > 0) ySetSel(iSelectedMenu, 1, ev);
    if (bAllowMove == 1) {
        var x = ev.clientX + (window.pageXOffset !== undefined ? window.pageXOffset : document.body.scrollLeft);
        var y = ev.clientY + (window.pageYOffset !== undefined ? window.pageYOffset : document.body.scrollTop);
        x -= minusX;
        y -= minusY;
        setTitle("!RarurAVI:docMouseMove(" + iSelectedMenu + "," + parseInt(x) + "," + parseInt(y) + ")");
    }
    bAllowMove = 0;
}

if (IDE == 1) {
    document.onmouseup = noMOVE;
    document.onmousemove = docMouseMove;
    document.write(
        '<DIV ID="SEL_TOP" STYLE="position:absolute; visibility:hidden; z-index:8880; top:100px; left:100px;' +
        ' width:100px; height:0px; border-top:2px solid gray; clip:rect(0px,900px,2px,0px)"></DIV>' +
        '<DIV ID="SEL_LEFT" STYLE="position:absolute; visibility:hidden; z-index:8881; top:100px; left:100px;' +
        ' width:0px; height:100px; border-left:2px solid gray; clip:rect(0px,2px,700px,0px)"></DIV>' +
        '<DIV ID="SEL_RIGHT" STYLE="position:absolute; visibility:hidden; z-index:8882; top:100px; left:200px;' +
        ' width:0px; height:100px; border-right:2px solid gray; clip:rect(0px,2px,700px,0px)"></DIV>' +
        '<DIV ID="SEL_BOTTOM" STYLE="position:absolute; visibility:hidden; z-index:8883; top:200px; left:100px;' +
        ' width:100px; height:0px; border-top:2px solid gray; clip:rect(0px,900px,2px,0px)"></DIV>');
}

var bAllowMove = 0, first_time = 1, minusX = 0, minusY = 0, selectorVisible = 0;
