// Published menus on a touch screen (Chromium's touch emulation) and for
// visitors whose system asks for reduced motion (both engines).
import assert from "node:assert/strict";
import { after, before, describe, it } from "node:test";

import { panelClosed, panelOpen } from "./support/access_suite.mjs";
import { engines, launchBrowser } from "./support/drivers.mjs";
import { recordOffsets } from "./support/menu_suite.mjs";
import { checkTool, entry, removeScratch, writeProject } from "./support/project.mjs";

describe("touch in chromium", () => {
  let browser;
  let page;

  before(async () => {
    checkTool();
    browser = await launchBrowser("chromium", { touch: true });
    page = await browser.newPage();
  });
  after(async () => {
    if (browser) await browser.close();
    removeScratch();
  });

  it("a tap opens a hover menu, follows a link in it, closes it elsewhere, and toggles a click menu", async () => {
    const { url } = writeProject({
      settings: { scrIN: 30, scrOUT: 30 },
      entries: [
        entry({ MTC: "Products", MX: 10, MY: 10, MTM: '<A HREF="#chairs">Chairs</A><BR><A HREF="#tables">Tables</A>',
          FL: 0 }),
        entry({ MTC: "Support", MX: 170, MY: 10, MA: 1, MTM: '<DIV style="height:60px">panel</DIV>', FL: 0 }),
      ],
    }, { final: true });
    await page.goto(url);
    const tap = (x, y) => page.raw.touchscreen.tap(x, y);

    await tap(60, 20);
    await panelOpen(page, 0);
    const link = await page.evaluate(() => {
      const r = document.querySelector("a[href='#tables']").getBoundingClientRect();
      return [r.left + r.width / 2, r.top + r.height / 2];
    });
    await tap(...link);
    await page.waitFor(() => location.hash === "#tables");
    await tap(700, 500);
    await panelClosed(page, 0);

    await tap(230, 20);
    await panelOpen(page, 1);
    await tap(230, 20);
    await panelClosed(page, 1);
    assert.deepEqual(page.consoleErrors, []);
  });
});

for (const engine of engines) {
  describe(`reduced motion in ${engine}`, () => {
    let browser;
    let page;

    before(async () => {
      checkTool();
      browser = await launchBrowser(engine, { reducedMotion: true });
      page = await browser.newPage();
      await page.addInitScript(recordOffsets);
    });
    after(async () => {
      if (browser) await browser.close();
      removeScratch();
    });

    it("opens and closes panels at once, by pointer and by key", async () => {
      const { url } = writeProject({
        settings: { scrIN: 5, scrOUT: 5 },
        entries: [
          entry({ MX: 30, MY: 40, MTM: '<DIV style="height:60px">panel</DIV>', FL: 0 }),
          entry({ MX: 300, MY: 40, MA: 1, OO: 1, MTM: '<DIV style="width:80px;height:10px">panel</DIV>', FL: 0 }),
        ],
      }, { final: true });
      await page.goto(url);
      await page.mouse.move(600, 600);
      await page.evaluate(() => { window.__offsets = {}; });
      await page.mouse.move(100, 50);
      await panelOpen(page, 0);
      await page.mouse.move(600, 600);
      await panelClosed(page, 0);
      await page.mouse.click(310, 50);
      await panelOpen(page, 1);
      await page.keyboard.press("Enter");
      await panelClosed(page, 1);
      // One write each way, no step in between.
      assert.deepEqual(await page.evaluate(() => window.__offsets), { menu0: [22, 22 - 60], menu1: [22, 22 - 80] });
      assert.deepEqual(page.consoleErrors, []);
    });
  });
}
