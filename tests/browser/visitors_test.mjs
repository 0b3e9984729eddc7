// What visitors expect of the menus on published pages: right-to-left pages
// mirrored, the link to the page being shown marked, a pointer that may slip
// off an open panel for a moment, and focus never hidden under floating menus.
import assert from "node:assert/strict";
import { readFileSync, writeFileSync } from "node:fs";
import { fileURLToPath } from "node:url";
import { after, before, describe, it } from "node:test";

import { engines, launchBrowser } from "./support/drivers.mjs";
import { checkTool, entry, removeScratch, writeProject } from "./support/project.mjs";

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
const widePanel = (w) => `<DIV style="width:${w}px;height:40px"><A HREF="#a${w}">first</A></DIV>`;
const links = (...refs) => refs.map((r) => `<A HREF="${r}">${r}</A>`).join("<BR>");

// The written page with `attrs` on its BODY tag.
function withBody(url, attrs) {
  const file = fileURLToPath(url);
  writeFileSync(file, readFileSync(file, "latin1").replace("<BODY", `<BODY ${attrs}`), "latin1");
  return url;
}

const rect = (p, id) => p.evaluate((id) => {
  const r = document.getElementById(id).getBoundingClientRect();
  return { left: r.left, right: r.right, top: r.top, bottom: r.bottom };
}, id);
const expanded = (p, i) => p.evaluate((i) => document.getElementById("cap" + i).getAttribute("aria-expanded"), i);
const shown = (p, i, want) => p.waitFor(([i, want]) =>
  getComputedStyle(document.getElementById("menu" + i)).visibility === want, [i, want]);

// Vertical menus far from the left edge and near it, a horizontal one.
const rtlProject = {
  settings: { scrIN: 40, scrOUT: 40 },
  entries: [
    entry({ MTC: "Far", MX: 600, MY: 100, MW: 100, OO: 1, MTM: widePanel(120), FL: 0 }),
    entry({ MTC: "Near", MX: 20, MY: 300, MW: 100, OO: 1, MTM: widePanel(120), FL: 0 }),
    entry({ MTC: "Across", MX: 300, MY: 10, MW: 150, MTM: links("#x", "#y"), FL: 0 }),
  ],
};

for (const engine of engines) {
  describe(`what visitors expect of the menus, in ${engine}`, () => {
    let browser;
    let page;

    before(async () => {
      checkTool();
      browser = await launchBrowser(engine);
    });
    after(async () => {
      if (browser) await browser.close();
      removeScratch();
    });

    async function fresh(url) {
      if (page) await page.raw.close();
      page = await browser.newPage();
      await page.goto(url);
      await page.waitFor(() => document.getElementById("cap0") !== null);
      return page;
    }

    it("mirrors the menus on a right-to-left page: sides, keys, the compact list", async () => {
      const { url } = writeProject(rtlProject, { final: true, mode: "standards" });
      const p = await fresh(withBody(url, 'dir="rtl" style="margin:0"'));
      await p.mouse.move(20, 700);
      await p.mouse.move(610, 150, { steps: 3 });
      await p.waitFor(() => document.getElementById("menu0").offsetLeft === -120);
      assert.equal((await rect(p, "menu0")).right, 600, "opens towards the left, against its caption");
      // No room on the left: kept inside the window, on the right.
      await p.mouse.move(30, 350, { steps: 3 });
      await p.waitFor(() => document.getElementById("menu1").offsetLeft === 22);
      await p.mouse.move(400, 20, { steps: 3 });
      await p.waitFor(() => document.getElementById("menu2").offsetTop === 22);
      assert.equal((await rect(p, "menu2")).right, (await rect(p, "cap2")).right, "slides down under its caption");
      await p.mouse.move(20, 700, { steps: 3 });
      await shown(p, 2, "hidden");

      // Right, the arrow away from the panel, leaves it closed; Left enters it.
      await p.evaluate(() => document.getElementById("cap0").focus());
      await p.keyboard.press("ArrowRight");
      assert.equal(await expanded(p, 0), "false");
      await p.keyboard.press("ArrowLeft");
      assert.equal(await p.evaluate(() => document.activeElement.getAttribute("href")), "#a120");
      assert.equal(await expanded(p, 0), "true");
      await p.keyboard.press("Escape");
      await shown(p, 0, "hidden");

      await p.resize(390);
      await p.waitFor(() => getComputedStyle(document.getElementById("didadCompact")).display === "block");
      await p.evaluate(() => {
        document.getElementById("dcButton").click();
        document.getElementById("dcCap2").click();
      });
      const list = await p.evaluate(() => {
        const box = (el) => el.getBoundingClientRect();
        const text = document.createRange();
        text.selectNodeContents(document.getElementById("dcCap2"));
        const menu = getComputedStyle(document.getElementById("dcMenu2"));
        return { listRight: box(document.getElementById("dcList")).right, captionEnd: box(text).right,
          indent: [menu.paddingLeft, menu.paddingRight] };
      });
      assert.ok(list.listRight - list.captionEnd <= 12, "captions stand against the right edge");
      assert.deepEqual(list.indent, ["12px", "24px"], "panels indent from the right");
      assert.deepEqual(p.consoleErrors, []);
      await p.resize(1024);
    });

    it("marks the links to the page being shown and their menu's caption, and nothing else", async () => {
      const { url } = writeProject({
        settings: { PRJ_sTemplate: "index.html", cmpW: 500 },
        entries: [
          entry({ MTC: "Docs", MX: 10, MTM: links("./#top", "index.html?page=2", "#here", "other.html"), FL: 0 }),
          entry({ MTC: "Other", MX: 200, MTM: links("other.html", "index.htm/", "../index.html", ""), FL: 0 }),
          entry({ MTC: "Home", MX: 400, MTM: links("index.html", "index.html?"), FL: 0 }),
        ],
      }, { final: true });
      const p = await fresh(url);
      const marks = (p) => p.evaluate(() => [...document.querySelectorAll("#didadLayer [aria-current], .didadCurrent")]
        .map((el) => `${el.id || el.getAttribute("href")}:${el.getAttribute("aria-current")}:${el.className}`));
      assert.deepEqual(await marks(p), ["cap0:null:clCap didadCurrent", "./#top:page:didadCurrent",
        "cap2:null:clCap didadCurrent", "index.html:page:didadCurrent", "index.html?:page:didadCurrent"]);
      assert.equal(await p.evaluate(() => getComputedStyle(document.querySelector("a.didadCurrent")).fontWeight), "700");
      // The compact layout marks the same.
      await p.resize(390);
      await p.waitFor(() => document.getElementById("dcList") !== null);
      assert.deepEqual(await p.evaluate(() => [...document.querySelectorAll("#dcList .didadCurrent")]
        .map((el) => el.id || el.getAttribute("href"))), ["dcCap0", "./#top", "dcCap2", "index.html", "index.html?"]);
      await p.resize(1024);

      // Where no link matches, no menu carries a mark.
      const other = writeProject({ entries: [entry({ MTM: links("index.html", "Temp.html?x") })] }, { final: true });
      assert.deepEqual(await marks(await fresh(other.url)), []);
    });

    it("keeps a hover panel open while the pointer slips off it for less than 0.4 s", async () => {
      const { url } = writeProject({
        settings: { scrIN: 200, scrOUT: 200 },
        entries: [
          entry({ MX: 30, MY: 40, MTM: '<DIV style="height:100px">panel</DIV>', FL: 0 }),
          entry({ MX: 300, MY: 40, MTM: '<DIV style="height:100px">panel</DIV>', FL: 0 }),
        ],
      }, { final: true });
      const p = await fresh(url);
      // When the pointer last left menu 0, and when its caption last said closed.
      await p.evaluate(() => {
        window.__left = window.__closed = 0;
        document.getElementById("owner0").addEventListener("mouseout", () => { window.__left = performance.now(); });
        new MutationObserver(() => {
          if (document.getElementById("cap0").getAttribute("aria-expanded") === "false") {
            window.__closed = performance.now();
          }
        }).observe(document.getElementById("cap0"), { attributes: true });
      });
      await p.mouse.move(600, 600);
      await p.mouse.move(100, 50, { steps: 2 });
      await p.waitFor(() => document.getElementById("menu0").offsetTop === 22);
      // Off and back onto the panel, within the moment: it stays.
      await p.mouse.move(100, 300);
      await p.mouse.move(100, 100);
      await sleep(700);
      assert.equal(await expanded(p, 0), "true");
      assert.equal(await p.evaluate(() => window.__closed), 0);
      // Off for good: it closes, not before 0.4 s.
      await p.mouse.move(100, 300);
      await shown(p, 0, "hidden");
      const waited = await p.evaluate(() => window.__closed - window.__left);
      assert.ok(waited >= 390 && waited < 2000, `closed ${waited} ms after the pointer left`);
      // Onto another menu's caption: the first closes at once.
      await p.mouse.move(100, 50, { steps: 2 });
      await p.waitFor(() => document.getElementById("menu0").offsetTop === 22);
      await p.mouse.move(350, 50);
      assert.deepEqual([await expanded(p, 0), await expanded(p, 1)], ["false", "true"]);
      assert.deepEqual(p.consoleErrors, []);
    });

    // The page leaves room for the menus above its content, as sites do.
    it("never leaves the focused element hidden under floating menus, tabbing either way", async () => {
      const rows = Array.from({ length: 40 }, (_, k) => `<P><A HREF="#r${k}">row ${k}</A></P>`).join("");
      const { url } = writeProject({
        entries: [0, 1, 2, 3].map((k) => entry({ MTC: `Menu ${k}`, MX: k * 150, MY: 0, MTCH: 40, FL: 1,
          MTM: links(`#m${k}`) })),
      }, { final: true, mode: "standards", body: `<DIV style="height:60px"></DIV>${rows}` });
      const p = await fresh(url);
      // Some point of the focused element is the element itself, not a menu.
      const hidden = () => p.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => setTimeout(() => {
        const el = document.activeElement;
        if (document.getElementById("didadLayer").contains(el)) return resolve(null);
        const r = el.getBoundingClientRect();
        const points = [[r.left + 1, r.top + 1], [r.right - 1, r.bottom - 1], [(r.left + r.right) / 2,
          (r.top + r.bottom) / 2]];
        resolve(points.some(([x, y]) => el.contains(document.elementFromPoint(x, y))) ? null : el.textContent);
      }, 0))));
      for (const back of [false, true]) {
        if (back) await p.keyboard.down("Shift");
        for (let k = 0; k < 44; k++) {
          await p.keyboard.press("Tab");
          assert.equal(await hidden(), null, `${back ? "back" : "on"} ${k}`);
        }
        if (back) await p.keyboard.up("Shift");
      }
    });

    it("previews a right-to-left page as it shows: panel on the left, framed there, and dragged", async () => {
      const { url } = writeProject({ ...rtlProject, iSelectedMenu: 0 }, { mode: "standards" });
      const p = await fresh(withBody(url, 'dir="rtl" style="margin:0"'));
      await p.waitFor(() => document.getElementById("menu0").offsetLeft === -120);
      const frame = await p.evaluate(() => {
        const r = (id) => document.getElementById(id).getBoundingClientRect();
        return [r("SEL_LEFT").left, r("SEL_RIGHT").left, getComputedStyle(document.getElementById("SEL_TOP")).visibility];
      });
      assert.deepEqual(frame, [600 - 120 - 3, 600 + 22 + 1, "visible"]);
      await p.mouse.move(610, 140);
      await p.mouse.down();
      await p.mouse.move(510, 190, { steps: 5 });
      await p.mouse.up();
      const titles = (await p.titles()).filter((t) => t.startsWith("!RarurAVI"));
      assert.equal(titles.at(-1), "!RarurAVI:docMouseMove(0,500,150)");
      assert.equal((await rect(p, "menu0")).right, 500, "still open on the left of its caption");
      assert.deepEqual(p.consoleErrors, []);
    });
  });
}
