
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
        ySelectorPart(ids[k]).style.visibility = vis;
    }
    selectorVisible = v;
}

// Frame around the rectangle at (x, y), w wide and h high.
function ySelector(x, y, w, h) {
    var byId = ySelectorPart;
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
    if (!ie || !yEditing()) return;
    var o = document.getElementById ? document.getElementById("owner" + i) : document.all["owner" + i];
    var oLeft = o.offsetLeft, oTop = o.offsetTop;
    // The panel counts whether or not it is open, so the frame does not
    // jump, on the side it opens on (the left, on a right-to-left page).
    var extent = getMenuHeight(i), shift = yPanelShift(i);
    if (OO[i] == 0) ySelector(oLeft - shift - 3, oTop - 3, MW[i] + shift + 4, extent + MTCH[i] + 4);
    else ySelector(oLeft - shift - 3, oTop - 3, extent + MTCH[i] + 4, MW[i] + 4);
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

// How far menu i's panel stands left of its caption: where it stands while
// open, else where it would open.
function yPanelShift(i) {
    if (typeof panelPlace != "function") return 0;
    if (document.getElementById("menu" + i).style.visibility == "visible") return panelShift[i] || 0;
    return panelPlace(i)[0];
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

// Every mouse-up reports the selected menu and where it stands now, as Left
// and Top count: from the menu's anchor. The grab offset is taken anew first,
// so the position sent is the owner's own.
function noMOVE(evt) {
    if (!yEditing()) return;
    var ev = evt || window.event;
    if (numOfMenus > 0) ySetSel(iSelectedMenu, 1, ev);
    if (bAllowMove == 1) {
        var x = ev.clientX + (window.pageXOffset !== undefined ? window.pageXOffset : document.body.scrollLeft);
        var y = ev.clientY + (window.pageYOffset !== undefined ? window.pageYOffset : document.body.scrollTop);
        var origin = yAnchorOrigin(iSelectedMenu);
        var left = Math.round(x - minusX - origin[0]), top = Math.round(y - minusY - origin[1]);
        // The page places the menu again from these when the window or the
        // anchor moves; it must not go back to where the drag began.
        if (typeof MX != "undefined") {
            MX[iSelectedMenu] = left;
            MY[iSelectedMenu] = top;
        }
        setTitle("!RarurAVI:docMouseMove(" + iSelectedMenu + "," + left + "," + top + ")");
    }
    bAllowMove = 0;
}

// The page point that menu i's Left and Top count from; the page's top-left
// corner for a script without anchors.
function yAnchorOrigin(i) {
    if (typeof MenuAnchorOrigin != "function" || typeof AN == "undefined") return [0, 0];
    var o = MenuAnchorOrigin(AN[i], AE[i]);
    return o && o.length == 2 ? o : [0, 0];
}

// The preview window says before the page's scripts run whether it shows
// the page for editing (yLookOnly unset or 0) or as a visitor sees it.
function yEditing() {
    return typeof yLookOnly == "undefined" || yLookOnly != 1;
}

// A text that the project's script gives the page in the page's own
// character set (a script without the UTF-8 mark is read that way): the
// editor hands its bytes, one character each, and they are read here as the
// page read the script, so that the live page and the reloaded one agree.
function yPageText(bytes) {
    var codes = new window.Uint8Array(bytes.length);
    for (var k = 0; k < bytes.length; k++) codes[k] = bytes.charCodeAt(k);
    try {
        return new TextDecoder(yScriptCharset()).decode(codes);
    } catch (ignoredUnknownCharset) {
        return bytes;
    }
}

// The character set the page read the project's script in: the script
// element's own, or the page's.
function yScriptCharset() {
    var scripts = document.getElementsByTagName("script");
    for (var k = 0; k < scripts.length; k++) {
        var source = scripts[k].getAttribute("src") || "";
        var own = scripts[k].getAttribute("charset");
        if (own && /(^|\/)Dirovidadaz\.js([?#]|$)/i.test(source)) return own;
    }
    return document.characterSet;
}

// A live change from the editor: menu i takes the items in `values` (array
// name to item) and is built again in place by the runtime's own code, while
// the rest of the page stays as it is. An open menu stays open, the frame
// follows the selected menu. The menu the editor shows (`shown`) opens, and
// every other panel closes, so that what is typed is what is seen. A failure
// goes to the error log like any error of the page, and the next change
// starts afresh.
function yLive(i, values, shown) {
    if (!ie) return;
    try {
        var owner = document.getElementById("owner" + i);
        if (!owner) return;
        for (var name in values) {
            if (Object.prototype.hasOwnProperty.call(values, name) && window[name] instanceof Array)
                window[name][i] = values[name];
        }
        var wasOpen = yMenuOpen(i) || shown == 1;
        if (shown == 1) {
            iSelectedMenu = i;
            for (var k = 0; k < numOfMenus; k++) if (k != i && yMenuOpen(k)) yCloseAtOnce(k);
        }
        clearTimeout(PR[i]);
        replaceRules(i);
        owner.parentNode.replaceChild(menuElement(i), owner);
        if (capHoldsControl(i)) markCaptionControl(i);
        startMenu(i);
        // The new elements stand at the rules' place and open on their
        // default side until placed against the anchor and fitted again.
        panelShift[i] = 0;
        panelLeftward[i] = false;
        MenuPlace(i);
        if (wasOpen) {
            // Open at once: a slide on every keystroke would flicker.
            setExpanded(i, 1);
            fitPanel(i);
            showOwner(i);
            setVis(i, "visible");
            scrollMe(i, openAt(i), Math.max(1, getMenuHeight(i) + MTCH[i]) * slideSign(i));
        }
        // A compact list already built shows the menus as they were: built anew.
        var compact = document.getElementById("didadCompact");
        if (compact && compact.firstChild) {
            compact.innerHTML = "";
            if (compactOn) buildCompact(compact);
        }
        if (first_time == 0) document.getElementById("cap" + i).onmouseup = noMOVE;
        if (i == iSelectedMenu) ySetSel(i, 0);
    } catch (err) {
        errorHandler(err && err.message ? err.message : String(err), "yLive", 0);
    }
}

// Shut without a slide: the editor has moved on to another menu.
function yCloseAtOnce(i) {
    clearTimeout(PR[i]);
    setExpanded(i, 0);
    hideOwner(i);
    setVis(i, "hidden");
    setMenu(i);
    unfitPanel(i);
}

function yMenuOpen(i) {
    var control = capControl(i);
    if (control) return control.getAttribute("aria-expanded") == "true";
    return document.getElementById("menu" + i).style.visibility == "visible";
}

// The four lines of the selection frame, made the first time they are
// needed: the page has a body by then, however it loads the script.
function ySelectorPart(id) {
    var d = document.getElementById(id);
    if (d) return d;
    var k = ["SEL_TOP", "SEL_LEFT", "SEL_RIGHT", "SEL_BOTTOM"].indexOf(id);
    d = document.createElement("div");
    d.id = id;
    var props = { position: "absolute", visibility: "hidden", "z-index": String(8880 + k), top: "100px", left: "100px",
        width: k % 3 ? "0px" : "100px", height: k % 3 ? "100px" : "0px",
        clip: k % 3 ? "rect(0px,2px,700px,0px)" : "rect(0px,900px,2px,0px)" };
    props[k == 2 ? "border-right" : k == 1 ? "border-left" : "border-top"] = "2px solid gray";
    for (var name in props) {
        if (Object.prototype.hasOwnProperty.call(props, name)) d.style.setProperty(name, props[name]);
    }
    return document.body.appendChild(d);
}

if (IDE == 1) {
    // The preview shows the compact layout wherever a visitor's window of its
    // width would, an editing width too: the project's width says where.
    document.onmouseup = noMOVE;
    document.onmousemove = docMouseMove;
}

var bAllowMove = 0, first_time = 1, minusX = 0, minusY = 0, selectorVisible = 0;
