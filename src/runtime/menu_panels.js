
// The style rules of menu i, one string each: owner, caption, panel, their
// colours left out (menuColors sets them). The sheet takes them as the page
// is built; the preview gives them again for a live change.
// Lengths carry units: pages in standards mode drop unitless lengths.
// A panel's far edge is anchored to its owner's far edge, so a closed panel
// (owner as thick as the caption) stands at its closed offset without its
// size being measured; showOwner pins it before the owner grows.
function menuRules(i) {
    var w = pixels(MW[i]), t = pixels(MTCH[i]);
    var at = ' {background-color:transparent; top:' + pixels(MY[i]) + '; left:' + pixels(MX[i]) + '; ';
    if (OO[i] == 0) {
        return [
            '#owner' + i + at + 'width:' + w + '; clip:rect(0px,' + w + ',500px,0px); position:absolute;' +
            ' visibility:hidden; z-index:2;}',
            '#cap' + i + ' {background-color:transparent; position:absolute; top:0px; left:0px; visibility:visible;' +
            ' z-index:3; width:' + w + '; height:' + t + '; clip:rect(0px,' + w + ',' + t + ',0px); cursor:pointer;}',
            '#menu' + i + ' {background-color:transparent; position:absolute; bottom:0px; left:0px;' +
            ' visibility:hidden; z-index:1; width:' + w + ';}'];
    }
    return [
        '#owner' + i + at + 'height:' + w + '; clip:rect(0px,500px,' + w + ',0px); position:absolute;' +
        ' visibility:hidden; z-index:2;}',
        '#cap' + i + ' {background-color:transparent; position:absolute; top:0px; left:0px; visibility:visible;' +
        ' z-index:3; height:' + w + '; width:' + t + '; clip:rect(0px,' + t + ',' + w + ',0px); cursor:pointer;}',
        '#menu' + i + ' {background-color:transparent; position:absolute; top:0px; right:0px;' +
        ' visibility:hidden; z-index:1; height:' + w + ';}'];
}

// The background colours of menu i into its three rules in `rules`, from
// `at` on. Set as properties, a colour that is no colour leaves the rule's
// transparent: it cannot end the rule and begin another.
function menuColors(i, rules, at) {
    rules[at].style.setProperty("background-color", CO[i]);
    rules[at + 1].style.setProperty("background-color", CC[i]);
    rules[at + 2].style.setProperty("background-color", CM[i]);
}

// A length in pixels from a number of the data part; anything else is 0.
function pixels(n) {
    return (Math.round(Number(n)) || 0) + "px";
}

// A caption is the button that discloses its panel, unless it holds a link or
// control of its own: one control may not nest in another.
function capHoldsControl(i) {
    return holdsControl(MTC[i]);
}

// The elements of menu i (element model). Its events reach it through the
// layer that holds every menu (menuEvent).
function menuElement(i) {
    var owner = newElement("div", "owner" + i, "", {});
    var cap = newElement("div", "cap" + i, "clCap", capHoldsControl(i) ? {} : { tabindex: "0", role: "button",
        "aria-expanded": "false", "aria-controls": "menu" + i });
    var menu = newElement("div", "menu" + i, "clMenu", {});
    owner.didadMenu = i;
    setHtml(cap, MTC[i]);
    setHtml(menu, MTM[i]);
    owner.appendChild(cap);
    owner.appendChild(menu);
    return owner;
}

// A menu whose elements were just built: closed, in place. The preview
// starts a menu rebuilt by a live change the same way.
function startMenu(i) {
    hideOwner(i);
    setMenu(i);
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
    for (var i = 0; i < numOfMenus; i++) reposMenu(i, scrollY);
}

function reposMenu(i, scrollY) {
    if (FL[i] == 0) return;
    if (ie) {
        var o = document.getElementById ? document.getElementById("owner" + i) : document.all["owner" + i];
        o.style.top = ((menuAnchorTop[i] || 0) + MY[i] + scrollY) + "px";
    } else {
        var ol = document.layers["owner" + i];
        if (ol) ol.top = (menuAnchorTop[i] || 0) + MY[i] + scrollY;
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
    var text = String(msg) + " - " + url + " - " + line;
    // The listing shows the texts as they are, not as markup.
    errs += text.replace(/&/g, "&amp;").replace(/</g, "&lt;").replace(/>/g, "&gt;") + "<BR>";
    errorLines.push(text);
    if (!w2) return true;
    try {
        if (ie) {
            errorPage(w2.document);
        } else {
            // Layer browsers build no elements: the page is written.
            w2.document.write('<B>Error!</B> Possible reasons:<BR>' +
                '<B>1.</B> HTML code which you entered inside a menu or caption is illegal.<BR>' +
                '<B>2.</B> Unreliable Internet Connection. Please Reload the Page.<BR>' +
                '<B>3.</B> This could be a bug. Please send your <I>Dirovidadaz.js</I> to the ' +
                '<A HREF="mailto:author@didad.example">author.</A><BR><BR><FORM><INPUT TYPE="button"' +
                ' VALUE="Reload Page" onClick="opener.location.reload();self.close()"></FORM>' +
                '<NOBR>' + errs + '</NOBR>');
            w2.document.close();
        }
    } catch (ignored) {
        // A window we may not write into is as good as a blocked one.
    }
    return true;
}

// The error window's page, built anew for each error: every error of the
// page so far, newest last.
function errorPage(d) {
    var body = d.body || d.documentElement.appendChild(d.createElement("body"));
    var line = function (parts) {
        for (var k = 0; k < parts.length; k++) {
            var part = parts[k];
            if (typeof part == "string") body.appendChild(d.createTextNode(part));
            else body.appendChild(d.createElement(part[0])).appendChild(d.createTextNode(part[1]));
        }
        body.appendChild(d.createElement("br"));
    };
    while (body.firstChild) body.removeChild(body.firstChild);
    line([["b", "Error!"], " Possible reasons:"]);
    line([["b", "1."], " HTML code which you entered inside a menu or caption is illegal."]);
    line([["b", "2."], " Unreliable Internet Connection. Please Reload the Page."]);
    line([["b", "3."], " This could be a bug. Please send your ", ["i", "Dirovidadaz.js"], " to the "]);
    var mail = body.insertBefore(d.createElement("a"), body.lastChild);
    mail.setAttribute("href", "mailto:author@didad.example");
    mail.textContent = "author.";
    body.appendChild(d.createElement("br"));
    var button = body.appendChild(d.createElement("form")).appendChild(d.createElement("input"));
    button.setAttribute("type", "button");
    button.setAttribute("value", "Reload Page");
    button.addEventListener("click", function () {
        location.reload();
        w2.close();
    });
    var list = body.appendChild(d.createElement("nobr"));
    for (var k = 0; k < errorLines.length; k++) {
        list.appendChild(d.createTextNode(errorLines[k]));
        list.appendChild(d.createElement("br"));
    }
}

