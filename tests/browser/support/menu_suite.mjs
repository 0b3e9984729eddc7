// The behaviour of written menus in one browser engine, on the default page
// (quirks mode) and on the same page behind <!DOCTYPE html>. Each page mode
// gets a fresh browser: Firefox reuses a parsed inline style block across the
// pages of one session in whichever mode it was first parsed.
import assert from "node:assert/strict";
import { after, before, describe, it } from "node:test";

import { defineAccessTests } from "./access_suite.mjs";
import { launchBrowser } from "./drivers.mjs";
import { checkTool, entry, removeScratch, writeProject } from "./project.mjs";

const settings = (fields = {}) => ({ scrIN: 20, scrOUT: 10, ...fields });

// A panel of known size: horizontal panels are as wide as the menu, so only
// the height is fixed; vertical ones take the width of their content.
const tallPanel = (h) => `<DIV style="height:${h}px">panel</DIV>`;
const widePanel = (w) => `<DIV style="width:${w}px;height:10px">panel</DIV>`;
// Author's HTML whose handler fails once the page shows it.
const failing = (call) => `<IMG SRC="data:image/gif,none" ALT="" onerror="${call}">`;

// Page rectangles, visibility and the panel offset of menu i.
function menuState(page, i) {
  return page.evaluate((i) => {
    const rect = (id) => {
      const el = document.getElementById(id);
      const r = el.getBoundingClientRect();
      return { left: r.left + window.pageXOffset, top: r.top + window.pageYOffset, width: r.width,
        height: r.height, visibility: getComputedStyle(el).visibility };
    };
    const menu = document.getElementById("menu" + i);
    return { owner: rect("owner" + i), cap: rect("cap" + i), menu: rect("menu" + i),
      offsetTop: menu.offsetTop, offsetLeft: menu.offsetLeft,
      cursor: getComputedStyle(document.getElementById("cap" + i)).cursor };
  }, i);
}

// Every panel offset the page writes, per menu element id. Observer callbacks
// run after the task that wrote, so one task's writes read as its last value;
// repeats (a visibility write beside an offset write) are dropped.
export const recordOffsets = `window.__offsets = {};
  new MutationObserver((list) => {
    for (const m of list) {
      const el = m.target;
      if (!/^menu\\d+$/.test(el.id)) continue;
      const seen = (window.__offsets[el.id] ||= []);
      const v = parseInt(el.style.top || el.style.left, 10);
      if (seen[seen.length - 1] !== v) seen.push(v);
    }
  }).observe(document, { subtree: true, attributes: true, attributeFilter: ["style"] });`;

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// The union of the four frame lines, or null while the frame is hidden.
function frameRect(page) {
  return page.evaluate(() => {
    const ids = ["SEL_TOP", "SEL_LEFT", "SEL_RIGHT", "SEL_BOTTOM"];
    const els = ids.map((id) => document.getElementById(id));
    if (els.some((e) => !e || getComputedStyle(e).visibility !== "visible")) return null;
    const rs = els.map((e) => e.getBoundingClientRect());
    const left = Math.min(...rs.map((r) => r.left)), top = Math.min(...rs.map((r) => r.top));
    const right = Math.max(...rs.map((r) => r.right)), bottom = Math.max(...rs.map((r) => r.bottom));
    return { left: left + window.pageXOffset, top: top + window.pageYOffset, width: right - left,
      height: bottom - top };
  });
}

export function defineMenuSuite(engine) {
  for (const mode of ["quirks", "standards"]) {
    describe(`${engine}, ${mode} mode`, () => {
      let browser;
      let page;

      before(async () => {
        checkTool();
        browser = await launchBrowser(engine);
        page = await browser.newPage();
        await page.addInitScript(recordOffsets);
      });
      after(async () => {
        if (browser) await browser.close();
        removeScratch();
      });

      async function load(model, options = {}) {
        const { url } = writeProject(model, { mode, ...options });
        await page.goto(url);
        const compat = await page.evaluate(() => document.compatMode);
        assert.equal(compat, mode === "quirks" ? "BackCompat" : "CSS1Compat");
      }

      it("places owner, caption and closed panel of horizontal and vertical menus", async () => {
        await load({
          settings: settings(),
          entries: [
            entry({ MX: 30, MY: 40, MW: 150, MTCH: 22, MTM: tallPanel(60) }),
            entry({ MX: 300, MY: 45, MW: 120, MTCH: 25, OO: 1, MTC: "V", MTM: widePanel(80) }),
          ],
        }, { final: true });

        const h = await menuState(page, 0);
        assert.deepEqual(h.owner, { left: 30, top: 40, width: 150, height: 22, visibility: "visible" });
        assert.deepEqual(h.cap, { left: 30, top: 40, width: 150, height: 22, visibility: "visible" });
        assert.equal(h.menu.visibility, "hidden");
        assert.equal(h.menu.width, 150);
        assert.equal(h.menu.height, 60);
        assert.equal(h.offsetTop, 22 - 60, "closed offset: the panel's far edge on the caption's");
        // The data part's cursor:hand is dead in today's browsers.
        assert.equal(h.cursor, "pointer");

        const v = await menuState(page, 1);
        assert.deepEqual(v.owner, { left: 300, top: 45, width: 25, height: 120, visibility: "visible" });
        assert.deepEqual(v.cap, { left: 300, top: 45, width: 25, height: 120, visibility: "visible" });
        assert.equal(v.menu.visibility, "hidden");
        assert.equal(v.menu.height, 120);
        assert.equal(v.menu.width, 80);
        assert.equal(v.offsetLeft, 25 - 80);
        assert.deepEqual(page.consoleErrors, []);
      });

      // The pages declare no character set, which makes browsers read their
      // scripts as windows-1252 unless the script itself says UTF-8.
      it("shows captions and panels in any language as they were typed", async () => {
        const caption = "Über uns – Café";
        const panel = "Ελληνικά, 日本語, emoji 🍰";
        await load({ settings: settings(), entries: [entry({ MTC: caption, MTM: panel })] }, { final: true });
        const texts = await page.evaluate(() =>
          ["cap0", "menu0"].map((id) => document.getElementById(id).textContent.trim()));
        assert.deepEqual(texts, [caption, panel]);
      });

      it("opens on hover in exact steps, stays open over the panel, closes on leaving", async () => {
        await load({
          settings: settings({ scrOUT: 7, scrIN: 9 }),
          entries: [entry({ MX: 30, MY: 40, MW: 150, MTCH: 22, MTM: tallPanel(60), FL: 0 })],
        }, { final: true });
        await page.mouse.move(600, 600);
        assert.equal((await menuState(page, 0)).offsetTop, -38, "closed by makeDidad");
        await page.mouse.move(100, 50, { steps: 3 });
        await page.waitFor(() => document.getElementById("menu0").offsetTop === 22);
        const open = await menuState(page, 0);
        assert.equal(open.menu.visibility, "visible");
        assert.equal(open.owner.height, 22 + 60);
        const opening = await page.evaluate(() => window.__offsets.menu0);
        // From the closed -38: -31, -24, ... 18, and 22 exactly.
        assert.equal(opening[0], -38 + 7);
        assert.equal(opening.at(-1), 22);
        for (let k = 1; k < opening.length - 1; k++) assert.equal(opening[k] - opening[k - 1], 7);
        assert.ok(opening.at(-1) - opening.at(-2) <= 7);

        // From the caption down onto the open panel: the mouse-out between inner
        // elements must not close it.
        await page.mouse.move(100, 40 + 22 + 30, { steps: 4 });
        await sleep(200);
        const still = await menuState(page, 0);
        assert.equal(still.offsetTop, 22);
        assert.equal(still.menu.visibility, "visible");

        await page.evaluate(() => { window.__offsets.menu0 = []; });
        await page.mouse.move(100, 300, { steps: 4 });
        await page.waitFor(() => getComputedStyle(document.getElementById("menu0")).visibility === "hidden");
        const closed = await menuState(page, 0);
        assert.equal(closed.offsetTop, -38);
        assert.equal(closed.owner.height, 22);
        const closing = await page.evaluate(() => window.__offsets.menu0);
        assert.equal(closing.at(-1), -38);
        for (let k = 1; k < closing.length - 1; k++) assert.equal(closing[k - 1] - closing[k], 9);
        assert.deepEqual(page.consoleErrors, []);
      });

      it("cuts an open panel off 500 pixels from the owner's top edge", async () => {
        await load({
          settings: settings({ scrOUT: 400 }),
          entries: [entry({ MX: 30, MY: 40, MTCH: 22, MA: 1, MTM: tallPanel(700), FL: 0 })],
        }, { final: true });
        await page.mouse.click(100, 50);
        await page.waitFor(() => document.getElementById("menu0").offsetTop === 22);
        const hit = (y) => page.evaluate((y) => {
          const el = document.elementFromPoint(100, y);
          return Boolean(el && el.closest("#menu0"));
        }, y);
        assert.equal(await hit(40 + 495), true);
        assert.equal(await hit(40 + 505), false);
        assert.deepEqual(page.consoleErrors, []);
      });

      it("toggles a click menu, and a click in mid-slide opens it", async () => {
        await load({
          settings: settings({ scrOUT: 40, scrIN: 4 }),
          entries: [entry({ MX: 30, MY: 40, MW: 150, MTCH: 22, MA: 1, MTM: tallPanel(200), FL: 0 })],
        }, { final: true });
        const offset = () => page.evaluate(() => document.getElementById("menu0").offsetTop);
        await page.mouse.move(100, 50, { steps: 2 });
        await sleep(150);
        assert.equal(await offset(), 22 - 200, "hovering does not open a click menu");

        await page.mouse.click(100, 50);
        await page.waitFor(() => document.getElementById("menu0").offsetTop === 22);
        await page.mouse.click(100, 50);
        await page.waitFor(() => document.getElementById("menu0").offsetTop < 22 - 40);
        assert.equal((await menuState(page, 0)).menu.visibility, "visible");
        await page.mouse.click(100, 50); // closing, not fully open: this opens
        await page.waitFor(() => document.getElementById("menu0").offsetTop === 22);
        await sleep(120);
        const s = await menuState(page, 0);
        assert.equal(s.offsetTop, 22);
        assert.equal(s.menu.visibility, "visible");
        assert.equal(s.owner.height, 222);
        assert.deepEqual(page.consoleErrors, []);
      });

      it("keeps floating menus at their window offset while the page scrolls", async () => {
        await load({
          settings: settings(),
          entries: [entry({ MX: 30, MY: 30, FL: 1 }), entry({ MX: 300, MY: 30, FL: 0 })],
        }, { final: true, tall: true });
        await page.evaluate(() => window.scrollTo(0, 500));
        await page.waitFor(() => Math.round(document.getElementById("owner0").getBoundingClientRect().top) === 30);
        const r = await page.evaluate(() => ["owner0", "owner1"].map((id) => {
          const b = document.getElementById(id).getBoundingClientRect();
          return [b.left, b.top];
        }));
        assert.deepEqual(r, [[30, 30], [300, 30 - 500]]);
        assert.deepEqual(page.consoleErrors, []);
      });

      it("lists every script error of a published page in the error window", async () => {
        const popup = page.waitForPopupHtml();
        await load({
          settings: settings(),
          entries: [entry({ MTM: failing("noSuchFirst()") }),
            entry({ MX: 200, MTM: failing("setTimeout(function () { noSuchSecond(); }, 100)") })],
        }, { final: true });
        const { popup: win } = await popup;
        const html = await waitForText(win, "noSuchSecond");
        assert.match(html, /<b>Error!<\/b> Possible reasons:/i);
        assert.match(html, /HTML code which you entered inside a menu or caption is illegal\./);
        assert.match(html, /<a href="mailto:[^"]+">author\.<\/a>/i);
        assert.match(html, /value="Reload Page"/i);
        const first = html.indexOf("noSuchFirst"), second = html.indexOf("noSuchSecond");
        assert.ok(first > 0 && second > first, "one line per error, newest last");
        // Both menus were still built, and the browser reported nothing itself.
        assert.equal((await menuState(page, 1)).owner.visibility, "visible");
        assert.deepEqual(page.consoleErrors, []);
        await win.close();
      });

      // Guards against a blocked error window turning into a second, unhandled error.
      it("stays quiet when the error window cannot open", async () => {
        await page.addInitScript("window.open = function () { return null; };");
        await load({ settings: settings(), entries: [entry({ MTM: failing("noSuchThing()") })] }, { final: true });
        await page.waitFor(() => window.errs !== "");
        const errs = await page.evaluate(() => window.errs);
        assert.match(errs, /noSuchThing/);
        assert.equal(errs.split("<BR>").length, 2, "exactly one error line");
        assert.deepEqual(page.consoleErrors, []);
        // A fresh page without the blocker for the tests that follow.
        page = await browser.newPage();
        await page.addInitScript(recordOffsets);
      });

      it("turns a script error in the preview into an ERROR title command", async () => {
        let opened = false;
        page.raw.once("popup", () => { opened = true; });
        await load({ settings: settings(), entries: [entry({ MTC: failing("noSuchCaption()") + "Caption" })] });
        await page.waitFor(() => window.__titles.length > 0);
        const titles = await page.titles();
        const error = titles.find((t) => t.startsWith("!RarurAVI:ERROR("));
        assert.ok(error, `titles: ${JSON.stringify(titles)}`);
        assert.match(error, /noSuchCaption/);
        assert.match(error, /@[^@]*@\d+\)$/);
        await sleep(100);
        assert.equal(opened, false);
        assert.deepEqual(page.consoleErrors, []);
      });

      it("opens the editor's selected menu in the preview and frames it 3 pixels outside", async () => {
        await load({
          settings: settings(),
          iSelectedMenu: 1,
          entries: [
            entry({ MX: 30, MY: 40, MTM: tallPanel(60) }),
            entry({ MX: 300, MY: 45, MW: 120, MTCH: 25, OO: 1, MTC: "V", MTM: widePanel(80) }),
          ],
        });
        await page.waitFor(() => document.getElementById("menu1").offsetLeft === 25);
        assert.deepEqual(await frameRect(page), { left: 297, top: 42, width: 25 + 80 + 6, height: 126 });
        assert.equal((await menuState(page, 0)).menu.visibility, "hidden");
        assert.deepEqual(await page.titles(), [], "selecting from the script reports nothing back");
        assert.equal(await page.evaluate(() => getComputedStyle(document.body).overflow), "hidden");
        assert.deepEqual(page.consoleErrors, []);
      });

      it("opens a selected menu between others from its closed offset and leaves the others closed", async () => {
        // Guards the preview's load order: the selected menu is opened before its
        // neighbours are closed, which must not change where any of them ends.
        await load({
          settings: settings({ scrOUT: 15 }),
          iSelectedMenu: 1,
          entries: [
            entry({ MX: 30, MY: 40, MTM: tallPanel(60) }),
            entry({ MX: 200, MY: 40, MW: 120, MTCH: 25, MTM: tallPanel(70) }),
            entry({ MX: 400, MY: 45, MW: 120, MTCH: 25, OO: 1, MTC: "V", MTM: widePanel(80) }),
          ],
        });
        await page.waitFor(() => document.getElementById("menu1").offsetTop === 25);
        const opening = await page.evaluate(() => window.__offsets.menu1);
        assert.equal(opening[0], 25 - 70 + 15, "the first tick starts from the closed offset");
        assert.equal(opening.at(-1), 25);
        const open = await menuState(page, 1);
        assert.equal(open.owner.height, 25 + 70);
        assert.equal(open.menu.visibility, "visible");
        assert.deepEqual(await frameRect(page), { left: 197, top: 37, width: 126, height: 25 + 70 + 6 });

        const first = await menuState(page, 0);
        assert.deepEqual(first.owner, { left: 30, top: 40, width: 150, height: 22, visibility: "visible" });
        assert.equal(first.offsetTop, 22 - 60);
        assert.equal(first.menu.visibility, "hidden");
        const last = await menuState(page, 2);
        assert.deepEqual(last.owner, { left: 400, top: 45, width: 25, height: 120, visibility: "visible" });
        assert.equal(last.offsetLeft, 25 - 80);
        assert.equal(last.menu.visibility, "hidden");
        // Their panels were never moved from the closed offset.
        const written = await page.evaluate(() => [window.__offsets.menu0 || [], window.__offsets.menu2 || []]);
        assert.ok(written[0].every((v) => v === 22 - 60) && written[1].every((v) => v === 25 - 80), String(written));
        assert.deepEqual(page.consoleErrors, []);
      });

      it("selects on press, drags the owner, and reports select and move on release", async () => {
        await load({
          settings: settings(),
          iSelectedMenu: 1,
          entries: [entry({ MX: 30, MY: 40, MTM: tallPanel(60) }), entry({ MX: 300, MY: 200 })],
        });
        await page.mouse.move(40, 45);
        await page.mouse.down();
        assert.deepEqual(await page.titles(), ["!RarurAVI:ySetSel(0)"]);
        assert.deepEqual(await frameRect(page), { left: 27, top: 37, width: 156, height: 22 + 60 + 6 });

        await page.mouse.move(140, 95, { steps: 5 });
        const moving = await menuState(page, 0);
        assert.equal(moving.owner.left, 130);
        assert.equal(moving.owner.top, 90);
        assert.equal(await frameRect(page), null, "the frame is hidden while dragging");

        await page.mouse.up();
        // The caption's handler and the document's each report once.
        const expected = ["!RarurAVI:ySetSel(0)", "!RarurAVI:docMouseMove(0,130,90)"];
        assert.deepEqual(await page.titles(), ["!RarurAVI:ySetSel(0)", ...expected, ...expected]);
        assert.deepEqual(await frameRect(page), { left: 127, top: 87, width: 156, height: 88 });

        // A release elsewhere reports the selected menu where it stands, undragged.
        await page.evaluate(() => { window.__titles.length = 0; });
        await page.mouse.move(700, 500);
        await page.mouse.down();
        await page.mouse.up();
        assert.deepEqual(await page.titles(), expected);
        assert.deepEqual(page.consoleErrors, []);
      });

      // Guards against the engine dragging the page's link away from under a
      // caption once the caption has moved off the press point.
      it("drags a menu that lies over a link of the page to the end, selecting nothing", async () => {
        await load({ settings: settings(), entries: [entry({ MX: 30, MY: 40 })] },
          { body: '<P style="margin:0; font-size:80px"><A HREF="elsewhere.html">Link under the caption</A></P>' });
        const under = await page.evaluate(() => {
          const r = document.querySelector("A").getBoundingClientRect();
          return { link: r.left <= 35 && r.right > 35 && r.top <= 45 && r.bottom > 45,
            top: document.elementFromPoint(35, 45).id };
        });
        assert.deepEqual(under, { link: true, top: "cap0" });
        await page.mouse.move(35, 45);
        await page.mouse.down();
        await page.mouse.move(135, 95, { steps: 10 });
        const moved = await menuState(page, 0);
        assert.deepEqual([moved.owner.left, moved.owner.top], [130, 90]);
        await page.mouse.up();
        assert.equal((await page.titles()).at(-1), "!RarurAVI:docMouseMove(0,130,90)");
        assert.equal(await page.evaluate(() => String(window.getSelection())), "");
        assert.deepEqual(page.consoleErrors, []);
      });

      it("selects a click menu on press in the preview and toggles it", async () => {
        await load({
          settings: settings({ scrOUT: 30 }),
          iSelectedMenu: 0,
          entries: [entry({ MX: 30, MY: 40 }), entry({ MX: 300, MY: 40, MA: 1, MTM: tallPanel(50) })],
        });
        await page.mouse.move(310, 45);
        await page.mouse.down();
        assert.deepEqual(await page.titles(), ["!RarurAVI:ySetSel(1)"]);
        await page.mouse.up();
        await page.waitFor(() => document.getElementById("menu1").offsetTop === 22);
        assert.deepEqual(await frameRect(page), { left: 297, top: 37, width: 156, height: 22 + 50 + 6 });
        assert.deepEqual(page.consoleErrors, []);
      });

      it("sends nothing and draws no frame in a preview without menus", async () => {
        await load({ settings: settings(), entries: [] });
        await page.mouse.move(100, 100);
        await page.mouse.down();
        await page.mouse.up();
        assert.deepEqual(await page.titles(), []);
        assert.equal(await frameRect(page), null);
        assert.equal(await page.evaluate(() => document.querySelectorAll("[id^=owner]").length), 0);
        assert.deepEqual(page.consoleErrors, []);
      });

      defineAccessTests(engine, { get page() { return page; }, load, frameRect });
    });
  }
}

async function waitForText(win, text) {
  for (let k = 0; k < 100; k++) {
    const html = await win.evaluate(() => document.body ? document.body.innerHTML : "");
    if (html.includes(text)) return html;
    await sleep(20);
  }
  throw new Error(`error window never showed ${text}`);
}
