
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
    document.addEventListener("focusin", focusInView);
}

// The browser scrolls what takes the focus into the window, not out from
// under menus that float over it: with the floating menus where the scroll
// puts them, an element they hide wholly is scrolled out from under them.
function focusInView(evt) {
    var el = evt.target, layer = document.getElementById("didadLayer"), menus = document.getElementById("didadMenus");
    if (!el.getBoundingClientRect || !layer || layer.contains(el)) return;
    for (var i = 0; i < numOfMenus && FL[i] == 0; i++);
    if (i == numOfMenus) return;
    window.requestAnimationFrame(function () {
        if (document.activeElement != el) return;
        // Where the menus stand for the scroll as it is now: its event may come later.
        doRepos();
        var r = el.getBoundingClientRect(), top = Infinity, bottom = -Infinity;
        var spots = [[r.left + 1, r.top + 1], [r.right - 1, r.bottom - 1], [(r.left + r.right) / 2, (r.top + r.bottom) / 2]];
        for (var k = 0; k < spots.length; k++) {
            var hit = document.elementFromPoint(spots[k][0], spots[k][1]);
            if (!hit || !menus.contains(hit) || hit == menus) return;
            var o = hit;
            while (o.parentNode != menus) o = o.parentNode;
            // A menu that scrolls with the page hides the same however it scrolls.
            if (FL[o.didadMenu] == 0) return;
            var b = o.getBoundingClientRect();
            top = Math.min(top, b.top);
            bottom = Math.max(bottom, b.bottom);
        }
        // Below the menus or above them, whichever moves it less and keeps it in the window.
        var below = r.top - bottom - 4, above = r.bottom - top + 4, h = r.bottom - r.top;
        var fitsAbove = top - 4 - h >= 0, fitsBelow = bottom + 4 + h <= window.innerHeight;
        window.scrollBy(0, fitsAbove && (!fitsBelow || above < -below) ? above : below);
        doRepos();
    });
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

// What a caption says, for a button that has no text of its own.
function captionName(html, i) {
    var t = document.createElement("template");
    setHtml(t, html);
    var name = t.content.textContent.replace(/\s+/g, " ").trim();
    var img = t.content.querySelector("img[alt]");
    return name || (img ? img.getAttribute("alt") : "") || String(i + 1);
}

// One button (a "☰" and the project's text) and a list as wide as the
// window of every menu's caption, each opening its panel in place below it.
// Built the first time it is needed: wide windows never pay for it.
function buildCompact(bar) {
    var back = "#000000", i;
    for (i = 0; i < numOfMenus; i++) {
        if (CC[i] != "transparent") {
            back = CC[i];
            break;
        }
    }
    var button = newElement("button", "dcButton", "clCap", { type: "button", "aria-expanded": "false",
        "aria-controls": "dcList" });
    button.style.setProperty("left", pixels(cmpX));
    button.style.setProperty("top", pixels(cmpY));
    button.style.setProperty("background-color", back);
    button.appendChild(newElement("span", "", "", { "aria-hidden": "true" })).textContent = "\u2630";
    button.appendChild(document.createTextNode(" " + cmpL));
    button.didadToggle = -1;
    var list = newElement("div", "dcList", menusRtl() ? "dcRtl" : "", {});
    list.hidden = true;
    list.style.setProperty("background-color", back);
    for (i = 0; i < numOfMenus; i++) {
        var toggle, row;
        // A caption that is a link stays one; a button beside it opens the panel.
        if (holdsControl(MTC[i])) {
            row = newElement("div", "", "clCap dcCap dcRow", {});
            setHtml(row.appendChild(document.createElement("span")), MTC[i]);
            toggle = row.appendChild(newElement("button", "dcCap" + i, "dcMore", { type: "button",
                "aria-label": captionName(MTC[i], i) }));
            toggle.appendChild(newElement("span", "", "", { "aria-hidden": "true" })).textContent = "\u25BE";
        } else {
            row = toggle = newElement("div", "dcCap" + i, "clCap dcCap", { tabindex: "0", role: "button" });
            setHtml(row, MTC[i]);
        }
        toggle.setAttribute("aria-expanded", "false");
        toggle.setAttribute("aria-controls", "dcMenu" + i);
        toggle.didadToggle = i;
        row.style.setProperty("background-color", CC[i]);
        var panel = newElement("div", "dcMenu" + i, "clMenu dcMenu", {});
        panel.hidden = true;
        panel.style.setProperty("background-color", CM[i]);
        setHtml(panel, MTM[i]);
        markCurrent(panel, row);
        list.appendChild(row);
        list.appendChild(panel);
    }
    bar.appendChild(button);
    bar.appendChild(list);
    bar.onkeydown = compactKey;
    bar.onclick = compactClick;
}

// A click on the button or on a caption of the compact list.
function compactClick(evt) {
    for (var node = evt.target; node && node != this; node = node.parentNode) {
        if (node.didadToggle === undefined) continue;
        if (node.didadToggle < 0) compactList();
        else compactPanel(node.didadToggle);
        return;
    }
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
// it would pass the window's right edge, one that slides sideways opens
// towards the text's end (right, or left on a right-to-left page) unless
// it has no room on that side and room on the other. Never past the left edge.
function fitPanel(i) {
    var m = document.getElementById("menu" + i), o = document.getElementById("owner" + i);
    if (m.style.visibility == "visible" || !o.getBoundingClientRect) return;
    var place = panelPlace(i), shift = place[0];
    if (place[1]) {
        m.style.right = "auto";
        m.style.left = "0px";
    }
    if (OO[i] == 0 && shift) m.style.left = -shift + "px";
    panelShift[i] = shift;
    panelLeftward[i] = place[1];
    if (!shift) return;
    o.style.setProperty("--didadLeft", shift + "px");
    o.style.clip = OO[i] == 0 ? "rect(0px," + MW[i] + "px,500px," + (-shift) + "px)"
        : "rect(0px," + MTCH[i] + "px," + MW[i] + "px," + (-shift) + "px)";
}

// How far menu i's panel stands left of its caption, and whether it opens
// to the left, where it stands now; the preview's frame takes them in too.
function panelPlace(i) {
    var m = document.getElementById("menu" + i), o = document.getElementById("owner" + i);
    var room = document.documentElement.clientWidth, c = o.getBoundingClientRect(), w = m.offsetWidth;
    if (OO[i] == 0) return [Math.max(0, Math.min(c.left + w - room, c.left)), false];
    var roomRight = c.left + MTCH[i] + w <= room, roomLeft = c.left >= w;
    var leftward = menusRtl() ? roomLeft || !roomRight : !roomRight && roomLeft;
    return [leftward ? w : 0, leftward];
}

// Whether the menus stand in right-to-left text: the page's own direction,
// or that of the nearest element over them that sets one.
function menusRtl() {
    var layer = document.getElementById("didadLayer");
    return Boolean(layer && window.getComputedStyle && getComputedStyle(layer).direction == "rtl");
}

// Marks the links of `panel` to the page being shown, and `cap`, the
// caption of their menu, for visitors and their screen readers. A link
// within the page (a bare fragment) points at a place, not at the page.
function markCurrent(panel, cap) {
    if (!panel.querySelectorAll) return;
    var here = pageKey(location.href), links = panel.querySelectorAll("a[href]"), found = false;
    for (var k = 0; k < links.length; k++) {
        var ref = links[k].getAttribute("href").trim();
        if (!ref || ref.charAt(0) == "#" || pageKey(links[k].href) != here) continue;
        links[k].setAttribute("aria-current", "page");
        links[k].classList.add("didadCurrent");
        found = true;
    }
    if (found) cap.classList.add("didadCurrent");
}

// An address as the page it names: no fragment, no user name, and a
// folder's index page the same as the folder. The addresses come written out
// as the browser writes them (a link's href, the page's own), so the parts
// are read off the text: a URL object for every link of every panel cost
// more than the rest of marking them.
function pageKey(address) {
    var m = /^([a-z][a-z0-9+.-]*:)(?:\/\/(?:[^/?#@]*@)?([^/?#]*))?([^?#]*)(\?[^#]*)?/i.exec(address);
    if (!m) return "";
    // An empty query is no query.
    var search = m[4] && m[4] != "?" ? m[4] : "";
    return m[1] + "//" + (m[2] || "") + m[3].replace(/\/index\.html?$/i, "/") + search;
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
