// Load cost of the menu runtime: pages of 100, 1,000 and 10,000 menus written
// by the real writer, against a static page holding the same elements and
// styles (the written page's own DOM once its menus are placed, scripts
// removed), side by side in one run, in Chromium and Firefox. Every menu is
// anchored to an element of a centred page, so the written page places them
// all once the page holds its elements.
//
//   npm run bench:runtime [-- --runs 5 --sizes 100,1000,10000 --engines chromium,firefox]
//
// Each load figure is the median time from navigation start to the moment
// the whole document is parsed (its menus placed) with a layout forced;
// "makeDidad" is the call itself plus a layout. "replace" is the median time
// of placing every menu again after the window was resized (anchors moved),
// from the page laid out at its new width to the page laid out with the
// menus at their new places, measured on the written page of 1,000 menus.
import { readFileSync, writeFileSync } from "node:fs";
import path from "node:path";
import { pathToFileURL } from "node:url";
import { parseArgs } from "node:util";

import { launchBrowser } from "../../tests/browser/support/drivers.mjs";
import { checkTool, entry, removeScratch, writeProject } from "../../tests/browser/support/project.mjs";

const { values } = parseArgs({
  options: {
    runs: { type: "string", default: "5" },
    sizes: { type: "string", default: "100,1000,10000" },
    engines: { type: "string", default: "chromium,firefox" },
  },
});
const runs = Number(values.runs);
const sizes = values.sizes.split(",").map(Number);
const engines = values.engines.split(",");

// The ready mark runs after the runtime's own handler of the same event,
// which was added earlier.
const readyMark = "<SCRIPT>document.addEventListener('DOMContentLoaded', function () {" +
  " document.body.offsetHeight; window.benchReady = performance.now(); });</SCRIPT>";
const timedCall = '<SCRIPT>var benchT0 = performance.now(); makeDidad(); document.body.offsetHeight;' +
  ' window.benchMake = performance.now() - benchT0;</SCRIPT>' + readyMark;
// A centred page whose parts the menus are anchored to.
const anchors = ["#content", "#content h1", "#content .intro", "#footer"];
const page = '<DIV id="content" style="max-width:900px; margin:0px auto"><H1>Our shop</H1>' +
  '<P class="intro">Welcome.</P></DIV><DIV id="footer" style="margin:40px auto; width:50%">Footer</DIV>';

// Menus in rows across the page, as the editor places them, with HTML of
// some substance in caption and panel.
function model(n) {
  const entries = [];
  for (let i = 0; i < n; i++) {
    entries.push(entry({
      MX: 10 + (i % 5) * 152, MY: 10 + Math.floor(i / 5) * 30, OO: i % 7 === 6 ? 1 : 0, MA: i % 3 === 2 ? 1 : 0,
      anchor: "element", anchorElement: anchors[i % anchors.length],
      MTC: `<B>Menu ${i}</B>`,
      MTM: `<A HREF="page${i}.html">First link</A><BR><A HREF="other${i}.html">Second link</A>`,
    }));
  }
  return { settings: { scrIN: 20, scrOUT: 10 }, iSelectedMenu: 0, entries };
}

const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];

async function timeLoad(browser, url) {
  const page = await browser.newPage();
  await page.goto(url);
  await page.waitFor(() => window.benchReady !== undefined, undefined, 600000);
  const t = await page.evaluate(() => ({ ready: window.benchReady, make: window.benchMake,
    owners: document.querySelectorAll("div[id^=owner]").length }));
  await page.raw.close();
  return t;
}

async function prepare(n) {
  const { dir, url } = writeProject(model(n), { final: true, body: page });
  const pagePath = path.join(dir, "Temp.html");
  writeFileSync(pagePath, readFileSync(pagePath, "latin1").replace("<SCRIPT LANGUAGE=\"JavaScript\">makeDidad()</SCRIPT>",
    timedCall), "latin1");
  return { dir, url };
}

// The written page as the browser holds it after makeDidad, without scripts.
async function staticTwin(browser, dir, url) {
  const page = await browser.newPage();
  await page.goto(url);
  await page.waitFor(() => window.benchReady !== undefined, undefined, 600000);
  const html = await page.evaluate(() => document.documentElement.outerHTML);
  await page.raw.close();
  const bare = html.replace(/<script\b[\s\S]*?<\/script>/gi, "").replace("</body>", readyMark + "</body>");
  if (!/<div id="owner0"[^>]* style="[^"]*left:/.test(bare)) throw new Error("the written page placed no menu");
  const staticPath = path.join(dir, "static.html");
  writeFileSync(staticPath, bare, "utf8");
  return pathToFileURL(staticPath).href;
}

// Each placing after a resize, timed where the runtime does it.
async function timeReplace(browser, url) {
  const page = await browser.newPage();
  await page.goto(url);
  await page.waitFor(() => window.benchReady !== undefined, undefined, 600000);
  await page.evaluate(() => {
    window.benchPlace = [];
    const place = window.placeMenus;
    // The page laid out at its new width first: that much the resize costs
    // with or without menus to place.
    window.placeMenus = function () {
      document.body.offsetHeight;
      const t0 = performance.now();
      place();
      document.body.offsetHeight;
      window.benchPlace.push(performance.now() - t0);
    };
  });
  const times = [];
  for (let r = 0; r < 15; r++) {
    await page.resize(r % 2 ? 1024 : 1200);
    await page.waitFor(() => window.benchPlace.length > 0);
    await new Promise((r) => setTimeout(r, 100)); // the size observer's placing, with nothing left to do
    times.push(await page.evaluate(() => window.benchPlace.splice(0)[0]));
  }
  await page.raw.close();
  return median(times);
}

checkTool();
const rows = [];
try {
  for (const engine of engines) {
    const browser = await launchBrowser(engine);
    try {
      for (const n of sizes) {
        const { dir, url } = await prepare(n);
        const staticUrl = await staticTwin(browser, dir, url);
        const dyn = [], stat = [], make = [];
        let owners = 0;
        for (let r = 0; r < runs; r++) {
          const d = await timeLoad(browser, url);
          const s = await timeLoad(browser, staticUrl);
          dyn.push(d.ready);
          make.push(d.make);
          stat.push(s.ready);
          owners = d.owners;
          if (s.owners !== n) throw new Error(`static page holds ${s.owners} menus, not ${n}`);
        }
        if (owners !== n) throw new Error(`written page built ${owners} menus, not ${n}`);
        const row = { engine, menus: n, written_ms: median(dyn), static_ms: median(stat), makeDidad_ms: median(make) };
        row.ratio = row.written_ms / row.static_ms;
        row.makeDidad_us_per_menu = (row.makeDidad_ms * 1000) / n;
        if (n === 1000) row.replace_ms = await timeReplace(browser, url);
        rows.push(row);
        console.log(`${engine.padEnd(8)} ${String(n).padStart(6)} menus: written ${row.written_ms.toFixed(1)} ms,` +
          ` static ${row.static_ms.toFixed(1)} ms, ratio ${row.ratio.toFixed(2)},` +
          ` makeDidad+layout ${row.makeDidad_ms.toFixed(1)} ms (${row.makeDidad_us_per_menu.toFixed(1)} us/menu)` +
          (row.replace_ms === undefined ? "" : `, placed again after a resize ${row.replace_ms.toFixed(2)} ms`));
      }
    } finally {
      await browser.close();
    }
  }
} finally {
  removeScratch();
}
console.log(JSON.stringify(rows));
