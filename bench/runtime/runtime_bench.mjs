// Load cost of the menu runtime: pages of 100, 1,000 and 10,000 menus written
// by the real writer, against a static page holding the same elements and
// styles (the written page's own DOM after makeDidad, scripts removed), side
// by side in one run, in Chromium and Firefox.
//
//   npm run bench:runtime [-- --runs 5 --sizes 100,1000,10000 --engines chromium,firefox]
//
// Each figure is the median time from navigation start to the end of the
// page's body with its first layout forced; "makeDidad" is the call itself
// plus that layout.
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

const timedCall = '<SCRIPT>var benchT0 = performance.now(); makeDidad(); document.body.offsetHeight;' +
  ' window.benchMake = performance.now() - benchT0; window.benchReady = performance.now();</SCRIPT>';
const readyMark = "<SCRIPT>document.body.offsetHeight; window.benchReady = performance.now();</SCRIPT>";

// Menus in rows across the page, as the editor places them, with HTML of
// some substance in caption and panel.
function model(n) {
  const entries = [];
  for (let i = 0; i < n; i++) {
    entries.push(entry({
      MX: 10 + (i % 5) * 152, MY: 10 + Math.floor(i / 5) * 30, OO: i % 7 === 6 ? 1 : 0, MA: i % 3 === 2 ? 1 : 0,
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
  const { dir, url } = writeProject(model(n), { final: true });
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
  const staticPath = path.join(dir, "static.html");
  writeFileSync(staticPath, bare, "utf8");
  return pathToFileURL(staticPath).href;
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
        rows.push(row);
        console.log(`${engine.padEnd(8)} ${String(n).padStart(6)} menus: written ${row.written_ms.toFixed(1)} ms,` +
          ` static ${row.static_ms.toFixed(1)} ms, ratio ${row.ratio.toFixed(2)},` +
          ` makeDidad+layout ${row.makeDidad_ms.toFixed(1)} ms (${row.makeDidad_us_per_menu.toFixed(1)} us/menu)`);
      }
    } finally {
      await browser.close();
    }
  }
} finally {
  removeScratch();
}
console.log(JSON.stringify(rows));
