// The layer branch of the menu runtime has no browser left to run in. It runs
// here against a small fake of the layer object model: layers made from the
// LAYER markup the runtime writes (optionally late), positions, clip,
// visibility, captured events, and a manual clock for the 50 ms timers.
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import path from "node:path";
import { after, describe, it } from "node:test";
import vm from "node:vm";

import { checkTool, entry, removeScratch, writeProject } from "./support/project.mjs";

const EVENT = { MOUSEDOWN: 4, MOUSEUP: 8 };

// Size of a panel's content: the first explicit height or width in it.
function contentSize(html) {
  const h = /height:(\d+)px/.exec(html);
  const w = /width:(\d+)px/.exec(html);
  return { width: w ? +w[1] : 60, height: h ? +h[1] : 18 };
}

function attributes(text) {
  const out = [];
  for (const m of text.matchAll(/([\w-]+)=("[^"]*"|\S+)/g)) out.push([m[1], m[2].replace(/^"|"$/g, "")]);
  return out;
}

function makeLayer(name, attrs, size) {
  const a = Object.fromEntries(attrs.map(([k, v]) => [k.toUpperCase(), v]));
  return {
    name,
    attrs,
    left: a.LEFT !== undefined ? +a.LEFT : 0,
    top: a.TOP !== undefined ? +a.TOP : 0,
    visibility: a.VISIBILITY || "inherit",
    clip: { width: a.WIDTH !== undefined ? +a.WIDTH : size.width, height: a.HEIGHT !== undefined ? +a.HEIGHT : size.height },
    document: { layers: {}, captured: 0, captureEvents(mask) { this.captured |= mask; } },
  };
}

// A page in the layer object model. `layerDelay` is how long after being
// written the layers come into existence (ms of the fake clock); with
// `menuDelay` the inner menu layer comes later still.
function layerPage(script, { layerDelay = 0, menuDelay = 0, innerWidth = 800, innerHeight = 600 } = {}) {
  let now = 0;
  let nextId = 1;
  const timers = new Map();
  const written = [];
  const titles = [];
  const reloads = [];
  const ctx = {
    innerWidth, innerHeight, pageYOffset: 0, Event: EVENT, String, parseInt, Array,
    open: () => null,
  };
  ctx.window = ctx;
  ctx.location = { reload: () => reloads.push(now) };
  const schedule = (fn, ms, repeat) => {
    const id = nextId++;
    timers.set(id, { at: now + ms, ms, fn, repeat });
    return id;
  };
  const run = (fn) => (typeof fn === "string" ? vm.runInContext(fn, ctx) : fn());
  ctx.setTimeout = (fn, ms) => schedule(fn, ms, false);
  ctx.setInterval = (fn, ms) => schedule(fn, ms, true);
  ctx.clearTimeout = (id) => timers.delete(id);
  const document = {
    layers: {},
    location: ctx.location,
    write(html) {
      written.push(html);
      for (const m of html.matchAll(
        /<LAYER NAME="(owner\d+)"([^>]*)><LAYER NAME="(cap\d+)"([^>]*)>([\s\S]*?)<\/LAYER><LAYER NAME="(menu\d+)"([^>]*)>([\s\S]*?)<\/LAYER><\/LAYER>/g)) {
        const cap = makeLayer(m[3], attributes(m[4]), contentSize(m[5]));
        const menu = makeLayer(m[6], attributes(m[7]), contentSize(m[8]));
        const owner = makeLayer(m[1], attributes(m[2]), {
          width: Math.max(cap.clip.width, menu.clip.width), height: Math.max(cap.clip.height, menu.clip.height),
        });
        owner.document.layers[cap.name] = cap;
        const addOwner = () => { document.layers[owner.name] = owner; };
        const addMenu = () => { owner.document.layers[menu.name] = menu; };
        if (layerDelay) schedule(addOwner, layerDelay, false);
        else addOwner();
        if (layerDelay + menuDelay) schedule(addMenu, layerDelay + menuDelay, false);
        else addMenu();
      }
    },
  };
  Object.defineProperty(document, "title", { get: () => titles.at(-1) || "", set: (v) => { titles.push(v); } });
  ctx.document = document;
  vm.createContext(ctx);
  vm.runInContext(script, ctx);

  return {
    ctx, written, titles, reloads,
    layer: (name) => document.layers[name],
    inner: (i, kind) => document.layers["owner" + i]?.document.layers[kind + i],
    call: (code) => vm.runInContext(code, ctx),
    // Runs the timers due within the next `ms` milliseconds, in order.
    tick(ms) {
      const end = now + ms;
      for (;;) {
        let next;
        for (const [id, t] of timers) if (t.at <= end && (!next || t.at < next[1].at)) next = [id, t];
        if (!next) break;
        const [id, t] = next;
        now = t.at;
        if (t.repeat) t.at += t.ms;
        else timers.delete(id);
        run(t.fn);
      }
      now = end;
    },
    get now() { return now; },
  };
}

function script(model, options = {}) {
  const { dir } = writeProject(model, options);
  return readFileSync(path.join(dir, "Dirovidadaz.js"), "latin1");
}

const settings = { scrIN: 20, scrOUT: 10 };

describe("layer branch of the menu runtime", () => {
  after(removeScratch);

  it("writes one LAYER group per menu with its attributes in order", () => {
    checkTool();
    const page = layerPage(script({ settings, entries: [
      entry({ MX: 10, MY: 20, CO: "transparent", CC: "#000000", CM: "#008080" }),
      entry({ MX: 200, MY: 30, OO: 1, MA: 1, CO: "#112233", CC: "transparent", MTC: "V" }),
    ] }, { final: true }));
    assert.equal(page.call("ie + ',' + ns"), "0,1");
    assert.equal(page.written.filter((w) => w.includes("<LAYER")).length, 0, "nothing before makeDidad");
    page.call("makeDidad()");
    const groups = page.written.filter((w) => w.includes("<LAYER"));
    assert.equal(groups.length, 2);
    const names = (g) => [...g.matchAll(/<LAYER NAME="(\w+)"([^>]*)>/g)].map((m) =>
      [m[1], attributes(m[2]).map(([k]) => k)]);
    assert.deepEqual(names(groups[0]), [
      ["owner0", ["onMouseOut", "LEFT", "TOP", "Z-INDEX", "VISIBILITY"]],
      ["cap0", ["class", "bgColor", "onMouseOver", "Z-INDEX", "HEIGHT", "WIDTH"]],
      ["menu0", ["class", "bgColor", "Z-INDEX", "VISIBILITY", "WIDTH"]],
    ]);
    // A click menu gets no handler attributes; a vertical panel no WIDTH.
    assert.deepEqual(names(groups[1]), [
      ["owner1", ["bgColor", "LEFT", "TOP", "Z-INDEX", "VISIBILITY"]],
      ["cap1", ["class", "Z-INDEX", "HEIGHT", "WIDTH"]],
      ["menu1", ["class", "bgColor", "Z-INDEX", "VISIBILITY", "HEIGHT"]],
    ]);
    assert.match(groups[0], /onMouseOut="mClose\(0\)" LEFT=10 TOP=20 Z-INDEX=2 VISIBILITY=hidden/);
    assert.match(groups[1], /bgColor=#112233 LEFT=200 TOP=30/);
    assert.match(groups[1], /NAME="cap1" class="clCap" Z-INDEX=1 HEIGHT=150 WIDTH=22>V</);
    assert.ok(page.written.includes("</style>"), "the style element is closed in this branch too");
    assert.ok(!page.written.some((w) => /#owner|#cap|#menu/.test(w)), "no style rules in this branch");
  });

  it("waits for late layers every 50 ms, then closes every menu", () => {
    const page = layerPage(script({ settings, entries: [
      entry({ MX: 10, MY: 20, MTCH: 22, MTM: '<DIV style="height:60px">h</DIV>' }),
      entry({ MX: 200, MY: 20, MTCH: 25, MW: 120, OO: 1, MA: 1, MTM: '<DIV style="width:80px">v</DIV>' }),
    ] }, { final: true }), { layerDelay: 120, menuDelay: 100 });
    page.call("makeDidad()");
    assert.equal(page.layer("owner0"), undefined);
    page.tick(149); // owner layers exist from 120 ms, the retry at 150 finds them
    assert.equal(page.layer("owner0").visibility, "hidden");
    page.tick(1);
    const o0 = page.layer("owner0"), o1 = page.layer("owner1");
    assert.equal(o0.visibility, "visible");
    assert.equal(o0.clip.height, 22, "hideOwner: caption thickness along the slide axis");
    assert.equal(o1.clip.width, 25);
    assert.equal(page.inner(0, "menu"), undefined, "menu layers still missing");
    page.tick(99); // menu layers from 220 ms; setMenu's next retries at 200 and 250
    assert.equal(page.inner(0, "menu").top, 0, "not placed before its retry");
    page.tick(1);
    assert.equal(page.inner(0, "menu").top, 22 - 60, "closed offset of a horizontal panel");
    assert.equal(page.inner(1, "menu").left, 25 - 80, "closed offset of a vertical panel");
    assert.equal(page.inner(0, "menu").visibility, "hidden");
    // Click activation is wired on the caption layer's document instead.
    const capDoc1 = page.inner(1, "cap").document;
    assert.equal(capDoc1.captured, EVENT.MOUSEUP | EVENT.MOUSEDOWN);
    assert.equal(capDoc1.onmousedown, page.ctx.nsMouseDown);
    assert.equal(page.inner(0, "cap").document.onmousedown, undefined);
  });

  it("hit-tests the caption strip or the whole owner, highest index first, bounds inclusive", () => {
    const page = layerPage(script({ settings, entries: [
      entry({ MX: 10, MY: 10, MW: 150, MTCH: 22, MTM: '<DIV style="height:60px">h</DIV>' }),
      entry({ MX: 100, MY: 10, MW: 150, MTCH: 22 }),
      entry({ MX: 400, MY: 10, MW: 100, MTCH: 20, OO: 1, MTM: '<DIV style="width:50px">v</DIV>' }),
    ] }, { final: true }));
    page.call("makeDidad()");
    const getI = (x, y) => page.call(`getI(${x}, ${y})`);
    assert.equal(getI(10, 10), 0, "top-left corner counts");
    assert.equal(getI(99, 32), 0, "bottom edge of the caption counts");
    assert.equal(getI(100, 10), 1, "overlap: the later menu wins");
    assert.equal(getI(160, 20), 1);
    assert.equal(getI(250, 32), 1);
    assert.equal(getI(251, 20), undefined);
    assert.equal(getI(50, 33), undefined, "below the caption strip of a horizontal menu");
    assert.equal(getI(9, 20), undefined);
    // Vertical: the visible owner, which grows with the open panel.
    assert.equal(getI(420, 110), 2);
    assert.equal(getI(421, 50), undefined, "closed: only the caption's width");
    page.call("mOpen(2)");
    assert.equal(page.layer("owner2").clip.width, 70);
    assert.equal(getI(470, 50), 2);
    assert.equal(getI(471, 50), undefined);
    assert.equal(getI(420, 111), undefined);
  });

  it("slides a click menu by its steps through the caption's mouse-down", () => {
    const page = layerPage(script({ settings: { scrIN: 25, scrOUT: 15 }, entries: [
      entry({ MX: 10, MY: 10, MTCH: 22, MA: 1, MTM: '<DIV style="height:60px">h</DIV>' }),
    ] }, { final: true }));
    page.call("makeDidad()");
    const menu = page.inner(0, "menu"), owner = page.layer("owner0");
    const click = () => page.inner(0, "cap").document.onmousedown({ pageX: 20, pageY: 15 });
    click();
    assert.equal(menu.visibility, "visible");
    assert.equal(owner.clip.height, 82);
    const seen = [menu.top];
    for (let k = 0; k < 6; k++) {
      page.tick(50);
      seen.push(menu.top);
    }
    assert.deepEqual(seen, [-23, -8, 7, 22, 22, 22, 22], "15 px per tick, landing on the open offset");
    click();
    const back = [menu.top];
    for (let k = 0; k < 3; k++) {
      page.tick(50);
      back.push(menu.top);
    }
    assert.deepEqual(back, [-3, -28, -38, -38]);
    assert.equal(menu.visibility, "hidden", "hidden one tick after landing");
    assert.equal(owner.clip.height, 22);
    // A click outside every caption strip does nothing.
    page.inner(0, "cap").document.onmousedown({ pageX: 500, pageY: 500 });
    assert.equal(menu.visibility, "hidden");
  });

  it("moves floating menus within one scroll poll and reloads on resize", () => {
    const page = layerPage(script({ settings, entries: [
      entry({ MX: 10, MY: 30, FL: 1 }), entry({ MX: 200, MY: 40, FL: 0 }),
    ] }, { final: true }));
    page.call("makeDidad()");
    page.ctx.pageYOffset = 300;
    page.tick(49);
    page.tick(1);
    assert.equal(page.layer("owner0").top, 330);
    assert.equal(page.layer("owner1").top, 40);
    assert.equal(page.call("old_pageYOffset"), 300);
    // Unchanged offset: no repositioning, even of a menu moved by hand.
    page.layer("owner0").top = 5;
    page.tick(100);
    assert.equal(page.layer("owner0").top, 5);

    page.ctx.onresize();
    assert.deepEqual(page.reloads, [], "same size: no reload");
    page.ctx.innerWidth = 640;
    page.ctx.onresize();
    assert.equal(page.reloads.length, 1);
  });

  it("leaves selection and dragging out in a preview", () => {
    const page = layerPage(script({ settings, iSelectedMenu: 1, entries: [entry(), entry({ MX: 200 })] }));
    page.call("makeDidad()");
    assert.equal(page.inner(1, "menu").visibility, "visible", "the editor's selected menu opens");
    page.call("document.onmouseup({ clientX: 205, clientY: 15 })");
    page.call("ySetSel(0, 1, { clientX: 15, clientY: 15 })");
    assert.deepEqual(page.titles, []);
    assert.equal(page.call("bAllowMove"), 0);
  });
});
