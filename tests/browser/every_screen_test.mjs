// Published menus at every window width: anchors that keep them with a
// centred page, panels that stay inside the window, and the compact layout
// of phones and narrow windows, in both engines.
/* global axe */
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";
import { after, before, describe, it } from "node:test";

import { engines, launchBrowser } from "./support/drivers.mjs";
import { checkTool, entry, removeScratch, writeProject } from "./support/project.mjs";

const axeSource = readFileSync(createRequire(import.meta.url).resolve("axe-core/axe.min.js"), "utf8");
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
const frames = (page) => page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));

// A centred layout as sites have it: a 600 px column with a heading, and a
// block above it that can grow.
const centredPage = '<DIV id="wrap" style="max-width:600px; margin:0px auto"><DIV id="above" style="height:50px"></DIV>' +
  '<H1 id="title" style="margin:0px; height:40px">Our shop</H1><DIV style="height:2000px"></DIV></DIV>';

const boxOf = (page, id) => page.evaluate((id) => {
  const r = document.getElementById(id).getBoundingClientRect();
  return [Math.round(r.left + window.pageXOffset), Math.round(r.top + window.pageYOffset), Math.round(r.width)];
}, id);
const noSidewaysScroll = (page) => page.evaluate(() => document.scrollingElement.scrollWidth <=
  document.documentElement.clientWidth);

for (const engine of engines) {
  describe(`menus on every screen in ${engine}`, () => {
    let browser;
    let page;

    before(async () => {
      checkTool();
      browser = await launchBrowser(engine, { touch: engine === "chromium" });
      page = await browser.newPage();
    });
    after(async () => {
      if (browser) await browser.close();
      removeScratch();
    });

    async function load(model, options) {
      const { url } = writeProject(model, { final: true, mode: "standards", ...options });
      await page.goto(url);
      await frames(page);
    }

    it("keeps anchored menus with a centred page at three widths, and falls back to the page's left", async () => {
      await page.resize(1366);
      await load({
        settings: { compactWidth: 0 },
        entries: [
          entry({ MTC: "Centre", anchor: "center", MX: -300, MY: 10, FL: 1 }),
          entry({ MTC: "Title", anchor: "element", anchorElement: "#wrap h1", MX: 0, MY: 45, FL: 0 }),
          entry({ MTC: "Right", anchor: "right", MX: -160, MY: 10, FL: 0 }),
          entry({ MTC: "Bad", anchor: "element", anchorElement: "#nav[", MX: 20, MY: 300, FL: 0 }),
          entry({ MTC: "None", anchor: "element", anchorElement: "#nowhere", MX: 20, MY: 340, FL: 0 }),
          entry({ MTC: "Left", MX: 20, MY: 380, FL: 0 }),
        ],
      }, { body: centredPage });
      assert.equal(await page.evaluate(() => getComputedStyle(document.getElementById("didadMenus")).display), "block",
        "the menus that waited for their anchors are shown");
      // Page-left menus stay as their style rules put them: record every
      // style the runtime writes on an owner from here on.
      await page.evaluate(() => {
        window.__writes = [];
        new MutationObserver((list) => { for (const m of list) window.__writes.push(m.target.id); })
          .observe(document.getElementById("didadMenus"), { subtree: true, attributes: true, attributeFilter: ["style"] });
      });

      for (const width of [1366, 820, 390]) {
        await page.resize(width);
        await frames(page);
        const [layout, title] = await page.evaluate(() => {
          const r = document.getElementById("title").getBoundingClientRect();
          return [document.documentElement.clientWidth, [Math.round(r.left), Math.round(r.top + window.pageYOffset)]];
        });
        assert.deepEqual(await boxOf(page, "owner0"), [Math.round(layout / 2) - 300, 10, 150], `centre at ${width}`);
        assert.deepEqual(await boxOf(page, "owner1"), [title[0], title[1] + 45, 150], `element at ${width}`);
        assert.deepEqual(await boxOf(page, "owner2"), [layout - 160, 10, 150], `right at ${width}`);
        assert.deepEqual(await boxOf(page, "owner3"), [20, 300, 150], "a selector that is no CSS: the page's left");
        assert.deepEqual(await boxOf(page, "owner4"), [20, 340, 150], "a selector that matches nothing");
        assert.equal(await noSidewaysScroll(page), true, `no sideways scrolling at ${width}`);
      }
      assert.deepEqual(await page.evaluate(() => window.__writes.filter((id) => /owner[345]$/.test(id))), [],
        "menus that did not move were not touched");

      // Content above the anchor grows (as when fonts or pictures load), then
      // the anchor goes away: the menu follows, then falls back.
      await page.resize(820);
      await page.evaluate(() => { document.getElementById("above").style.height = "130px"; });
      await frames(page);
      assert.equal((await boxOf(page, "owner1"))[1], 130 + 45);
      await page.evaluate(() => { document.getElementById("title").style.display = "none"; });
      await frames(page);
      assert.deepEqual(await boxOf(page, "owner1"), [0, 45, 150]);

      // The floating centre menu keeps its distance from the window's top.
      await page.evaluate(() => window.scrollTo(0, 400));
      await page.waitFor(() => Math.round(document.getElementById("owner0").getBoundingClientRect().top) === 10);
      assert.equal((await boxOf(page, "owner0"))[0], Math.round(await page.evaluate(() =>
        document.documentElement.clientWidth) / 2) - 300);
      assert.deepEqual(page.consoleErrors, []);
    });

    it("opens panels inside the window at its edges, never past the left one", async () => {
      await page.resize(820);
      const tall = (h) => `<DIV style="height:${h}px">panel</DIV>`;
      await load({
        settings: { compactWidth: 0, scrOUT: 40, scrIN: 40 },
        entries: [
          entry({ MTC: "Down", anchor: "right", MX: -100, MY: 10, MW: 150, MTM: tall(60), FL: 0 }),
          entry({ MTC: "Side", anchor: "right", MX: -60, MY: 200, MW: 100, MTCH: 22, OO: 1, FL: 0,
            MTM: '<DIV style="width:200px; height:20px">side panel</DIV>' }),
          entry({ MTC: "Near", MX: 10, MY: 400, MW: 150, MTM: tall(40), FL: 0 }),
        ],
      });
      const panel = (i) => page.evaluate((i) => {
        const r = document.getElementById("menu" + i).getBoundingClientRect();
        return [Math.round(r.left), Math.round(r.right), getComputedStyle(document.getElementById("menu" + i)).visibility];
      }, i);
      const opened = (i) => page.waitFor((i) => {
        const m = document.getElementById("menu" + i);
        return OO[i] == 0 ? m.offsetTop === MTCH[i] : m.offsetLeft === -m.offsetWidth || m.offsetLeft === MTCH[i];
      }, i);

      // Slides down: moved left by what would pass the right edge. The
      // pointer over that part counts as over the menu.
      await page.mouse.move(760, 20, { steps: 3 });
      await opened(0);
      assert.deepEqual(await panel(0), [820 - 150, 820, "visible"]);
      await page.mouse.move(690, 60, { steps: 4 });
      await sleep(200);
      assert.deepEqual(await panel(0), [670, 820, "visible"], "still open over the moved part");
      await page.mouse.move(400, 700, { steps: 4 });
      await page.waitFor(() => getComputedStyle(document.getElementById("menu0")).visibility === "hidden");

      // Slides right without room there: opens to the left of its caption.
      await page.mouse.move(770, 260, { steps: 3 });
      await opened(1);
      assert.deepEqual(await panel(1), [760 - 200, 760, "visible"]);
      await page.mouse.move(600, 210, { steps: 4 });
      await sleep(200);
      assert.equal((await panel(1))[2], "visible", "still open over the panel on the left");
      await page.mouse.move(400, 700, { steps: 4 });
      await page.waitFor(() => getComputedStyle(document.getElementById("menu1")).visibility === "hidden");

      // A window narrower than the panel: it stops at the left edge.
      await page.resize(100);
      await frames(page);
      await page.evaluate(() => mOpen(2));
      await opened(2);
      assert.deepEqual(await panel(2), [0, 150, "visible"]);
      assert.equal(await noSidewaysScroll(page), true);

      // A keyboard ring lies outside the caption, over none of its text, and
      // the clips let it show.
      await page.resize(820);
      await page.evaluate(() => document.activeElement.blur());
      await page.keyboard.press("Tab");
      const ring = await page.evaluate(() => {
        const cap = document.activeElement, s = getComputedStyle(cap);
        const owner = getComputedStyle(cap.parentNode);
        return [cap.id, s.outlineOffset, s.boxShadow.includes("inset"), s.clipPath, owner.clip,
          /^inset\(-4px/.test(owner.clipPath)];
      });
      assert.deepEqual(ring, ["cap0", "2px", false, "inset(-4px)", "auto", true]);
      assert.deepEqual(page.consoleErrors, []);
    });

    it("folds into one menu button below the compact width, by touch and keyboard, and back", async () => {
      await page.resize(390);
      const links = (...names) => names.map((n) => `<A HREF="#${n}" style="color:#FFFFFF">${n}</A>`).join("<BR>");
      await load({
        settings: { compactLabel: "Our menu", compactLeft: 12, compactTop: 14 },
        entries: [
          entry({ MTC: "Products", MX: 10, MY: 10, MTM: links("chairs", "tables") }),
          entry({ MTC: "Support", MX: 600, MY: 10, MA: 1, MTM: links("faq") }),
          entry({ MTC: '<A HREF="#news" style="color:#FFFFFF">News</A>', MX: 900, MY: 10, MTM: links("latest") }),
        ],
      }, { body: '<P style="margin-top:200px">Welcome.</P>' });
      await page.evaluate(() => { window.__sameDocument = true; });
      const state = () => page.evaluate(() => {
        const b = document.getElementById("dcButton"), r = b.getBoundingClientRect();
        return [getComputedStyle(document.getElementById("didadMenus")).display, b.textContent,
          [Math.round(r.left), Math.round(r.top)], b.getAttribute("aria-expanded"),
          document.getElementById("dcList").hidden];
      });
      assert.deepEqual(await state(), ["none", "\u2630 Our menu", [12, 14], "false", true]);
      assert.equal(await noSidewaysScroll(page), true);

      const centre = (id) => page.evaluate((id) => {
        const r = document.getElementById(id).getBoundingClientRect();
        return [r.left + r.width / 2, r.top + r.height / 2];
      }, id);
      const tap = async (id) => {
        const [x, y] = await centre(id);
        if (engine === "chromium") await page.raw.touchscreen.tap(x, y);
        else await page.mouse.click(x, y);
      };
      await tap("dcButton");
      const list = await page.evaluate(() => {
        const r = document.getElementById("dcList").getBoundingClientRect();
        return [Math.round(r.left), Math.round(r.width), document.documentElement.clientWidth];
      });
      assert.deepEqual(list, [0, list[2], list[2]], "the list is as wide as the window");
      await tap("dcCap0");
      const opened = await page.evaluate(() => {
        const c = document.getElementById("dcCap0").getBoundingClientRect();
        const m = document.getElementById("dcMenu0").getBoundingClientRect();
        return [document.getElementById("dcCap0").getAttribute("aria-expanded"), Math.round(m.top - c.bottom)];
      });
      assert.deepEqual(opened, ["true", 0], "the panel opens in place below its caption");
      await tap("dcCap2");
      assert.equal(await page.evaluate(() => document.getElementById("dcMenu2").hidden), false,
        "a caption that is a link opens its panel through the button beside it");
      assert.equal(await noSidewaysScroll(page), true);

      // axe-core finds nothing, list and panels open.
      await page.addScript(axeSource);
      const violations = await page.evaluate(async () => {
        const result = await axe.run({ include: ["#didadCompact"] }, {
          runOnly: { type: "tag", values: ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "best-practice"] },
        });
        return result.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`);
      });
      assert.deepEqual(violations, []);

      // Keyboard: the ring inside the caption leaves its text free; Space
      // toggles; Escape closes the panel, then the list, back to the button.
      await page.evaluate(() => document.getElementById("dcButton").focus());
      await page.keyboard.press("Tab");
      const ring = await page.evaluate(() => {
        const cap = document.activeElement, s = getComputedStyle(cap);
        const text = document.createRange();
        text.selectNodeContents(cap);
        const t = text.getBoundingClientRect(), c = cap.getBoundingClientRect();
        return [cap.id, s.outlineStyle, t.left - c.left >= 4 && t.top - c.top >= 4];
      });
      assert.deepEqual(ring, ["dcCap0", "solid", true]);
      await page.keyboard.press(" ");
      assert.equal(await page.evaluate(() => document.getElementById("dcMenu0").hidden), true);
      await page.keyboard.press("Enter");
      await page.keyboard.press("Tab");
      assert.equal(await page.evaluate(() => document.activeElement.getAttribute("href")), "#chairs");
      await page.keyboard.press("Escape");
      assert.deepEqual(await page.evaluate(() => [document.activeElement.id,
        document.getElementById("dcMenu0").hidden]), ["dcCap0", true]);
      await page.keyboard.press("Escape");
      assert.deepEqual((await state()).slice(3), ["false", true]);
      assert.equal(await page.evaluate(() => document.activeElement.id), "dcButton");

      // Wider: the menus come back; narrower again: the button. No reload.
      await page.resize(1024);
      await frames(page);
      assert.deepEqual(await page.evaluate(() => [getComputedStyle(document.getElementById("didadMenus")).display,
        getComputedStyle(document.getElementById("didadCompact")).display]), ["block", "none"]);
      await page.resize(390);
      await frames(page);
      assert.equal((await state())[0], "none");
      assert.equal(await page.evaluate(() => window.__sameDocument), true);
      assert.deepEqual(page.consoleErrors, []);
    });
  });
}
