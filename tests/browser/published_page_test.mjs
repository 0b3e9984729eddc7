// What a visitor gets: a finalized project folder (final script, the default
// page untouched) opened in a browser of its own, and a page of the site's
// own that carries the two lines the integration notes give, and a page of a
// site that publishing gave the menus. Several menus
// of every kind together, with real pointer input and the page's own timers.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { mkdirSync, readFileSync, writeFileSync } from "node:fs";
import path from "node:path";
import { after, before, describe, it } from "node:test";
import { pathToFileURL } from "node:url";

import { engines, launchBrowser } from "./support/drivers.mjs";
import { checkTool, didadTool, entry, removeScratch, writeProject } from "./support/project.mjs";

const panel = (h) => `<A HREF="#a">First</A><BR><A HREF="#b">Second</A><DIV style="height:${h}px"></DIV>`;

// A site's menu bar: two horizontal menus (one opens on hover and floats, one
// opens on a click and stays on the page), a vertical one below them, and a
// menu far down that makes the page taller than the window.
const project = {
  settings: { scrIN: 30, scrOUT: 25 },
  iSelectedMenu: 3,
  entries: [
    entry({ MTC: "Products", MX: 10, MY: 10, MW: 150, MTCH: 22, MTM: panel(60), FL: 1, MA: 0 }),
    entry({ MTC: "Support", MX: 162, MY: 10, MW: 150, MTCH: 22, MTM: panel(40), FL: 0, MA: 1, CC: "#800000" }),
    entry({ MTC: "<CENTER>\r\nA<BR>b<BR>o<BR>u<BR>t</CENTER>", MX: 10, MY: 300, MW: 120, MTCH: 22, OO: 1, FL: 0,
      MTM: '<DIV style="width:90px;height:10px">About us</DIV>', CM: "transparent" }),
    entry({ MTC: "Footer", MX: 400, MY: 1500, MW: 150, MTCH: 22, MTM: panel(30), FL: 0 }),
  ],
};

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// The site's own page, standards mode, with the integration notes' two lines.
function ownPage(dir) {
  const page = [
    "<!DOCTYPE html>",
    "<html><head><title>Our shop</title>",
    '<SCRIPT LANGUAGE="JavaScript" SRC="Dirovidadaz.js"></SCRIPT>',
    "</head><body style=\"margin:0\">",
    '<SCRIPT LANGUAGE="JavaScript">makeDidad()</SCRIPT>',
    '<p style="margin:80px 0 0 400px">Welcome to our shop.</p>',
    "</body></html>",
  ].join("\r\n");
  const file = path.join(dir, "index.html");
  writeFileSync(file, page, "latin1");
  return pathToFileURL(file).href;
}

// A page of a site in a subfolder, its menus put in by publishing: the page
// loads the script deferred, in one line, from the site's js folder.
function publishedPage(dir) {
  const site = path.join(dir, "site");
  mkdirSync(path.join(site, "shop"), { recursive: true });
  const file = path.join(site, "shop", "index.html");
  writeFileSync(file, "<!DOCTYPE html>\n<html><head><title>Our shop</title></head>\n" +
    '<body style="margin:0">\n<p style="margin:80px 0 0 400px">Welcome to our shop.</p>\n</body></html>\n', "latin1");
  const out = execFileSync(didadTool, ["publish", dir, site, "--script-dir", "js", "shop/index.html"], { encoding: "utf8" });
  assert.equal(out, "shop/index.html: added\n");
  assert.match(readFileSync(file, "latin1"), /<script defer src="\.\.\/js\/Dirovidadaz\.js"><\/script>/);
  return pathToFileURL(file).href;
}

function owners(page) {
  return page.evaluate(() => {
    const list = [];
    for (let i = 0; i < numOfMenus; i++) {
      const r = document.getElementById("owner" + i).getBoundingClientRect();
      list.push([r.left + window.pageXOffset, r.top + window.pageYOffset, r.width, r.height]);
    }
    return list;
  });
}

const panelState = (page, i) => page.evaluate((i) => {
  const m = document.getElementById("menu" + i);
  return { visible: getComputedStyle(m).visibility === "visible", top: m.offsetTop, left: m.offsetLeft };
}, i);

for (const engine of engines) {
  describe(`published page in ${engine}`, () => {
    let browser;
    let page;
    let popups;
    let folder;

    before(async () => {
      checkTool();
      browser = await launchBrowser(engine);
      page = await browser.newPage();
      popups = 0;
      page.raw.on("popup", () => { popups++; });
      ({ dir: folder } = writeProject(project, { final: true }));
    });
    after(async () => {
      if (browser) await browser.close();
      removeScratch();
    });

    for (const which of ["default page", "own page", "published page"]) {
      it(`${which}: menus at their places, open and close, float, no script error`, async () => {
        const pages = {
          "default page": () => pathToFileURL(path.join(folder, "Temp.html")).href,
          "own page": () => ownPage(folder),
          "published page": () => publishedPage(folder),
        };
        const url = pages[which]();
        await page.goto(url);
        // A final script: nothing of the editor is left in the page.
        assert.equal(await page.evaluate(() => IDE), 0);
        assert.equal(await page.evaluate(() => document.getElementById("SEL_TOP")), null);
        assert.doesNotMatch(readFileSync(path.join(folder, "Dirovidadaz.js"), "latin1"), /function ySetSel/);

        assert.deepEqual(await owners(page), [[10, 10, 150, 22], [162, 10, 150, 22], [10, 300, 22, 120],
          [400, 1500, 150, 22]]);
        for (let i = 0; i < 4; i++) assert.equal((await panelState(page, i)).visible, false, `menu ${i} closed`);

        // Hover opens the first menu downwards; leaving its box closes it.
        await page.mouse.move(900, 700);
        await page.mouse.move(60, 20, { steps: 3 });
        await page.waitFor(() => document.getElementById("menu0").offsetTop === 22);
        assert.equal((await panelState(page, 0)).visible, true);
        await page.mouse.move(60, 50, { steps: 3 });
        await sleep(150);
        assert.equal((await panelState(page, 0)).top, 22, "still open over its own panel");
        await page.mouse.move(900, 700, { steps: 4 });
        await page.waitFor(() => getComputedStyle(document.getElementById("menu0")).visibility === "hidden");

        // The click menu ignores hovering; a click opens it, the next closes it.
        await page.mouse.move(230, 20, { steps: 3 });
        await sleep(150);
        assert.equal((await panelState(page, 1)).visible, false);
        await page.mouse.click(230, 20);
        await page.waitFor(() => document.getElementById("menu1").offsetTop === 22);
        await page.mouse.click(230, 20);
        await page.waitFor(() => getComputedStyle(document.getElementById("menu1")).visibility === "hidden");

        // The vertical menu opens to the right of its caption.
        await page.mouse.move(20, 360, { steps: 3 });
        await page.waitFor(() => document.getElementById("menu2").offsetLeft === 22);
        assert.equal((await panelState(page, 2)).visible, true);
        await page.mouse.move(900, 700, { steps: 3 });
        await page.waitFor(() => getComputedStyle(document.getElementById("menu2")).visibility === "hidden");

        // Scrolled down, the floating menu keeps its distance from the window's
        // top edge; the others scroll away with the page.
        await page.evaluate(() => window.scrollTo(0, 700));
        await page.waitFor(() => Math.round(document.getElementById("owner0").getBoundingClientRect().top) === 10);
        const inWindow = await page.evaluate(() => [0, 1, 3].map((i) =>
          Math.round(document.getElementById("owner" + i).getBoundingClientRect().top)));
        assert.deepEqual(inWindow, [10, 10 - 700, 1500 - 700]);
        // The floated menu still opens where it now stands.
        await page.mouse.move(60, 20, { steps: 3 });
        await page.waitFor(() => document.getElementById("menu0").offsetTop === 22);
        await page.mouse.move(900, 500, { steps: 3 });
        await page.evaluate(() => window.scrollTo(0, 0));
        await page.waitFor(() => Math.round(document.getElementById("owner0").getBoundingClientRect().top) === 10);

        assert.deepEqual(page.consoleErrors, []);
        assert.equal(await page.evaluate(() => typeof errs === "undefined" || errs === ""), true, "no script error");
        assert.equal(popups, 0, "no error window");
        assert.deepEqual((await page.titles()).filter((t) => t.startsWith("!RarurAVI")), []);
      });
    }
  });
}
