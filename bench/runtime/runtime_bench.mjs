// Load cost of the menu runtime: pages of 100, 1,000 and 10,000 menus written
// by the real writer, against a static page holding the same elements and
// styles (the written page's own DOM once its menus are placed, scripts
// removed, the menus' rules as a style element), side by side in one run, in
// Chromium and Firefox. Every menu is anchored to an element of a centred
// page, so the written page places them all once the page holds its elements.
// Each page comes twice: with the classic include (blocking script in the
// head, makeDidad() right after the body tag) and with the one-line deferred
// include.
//
//   npm run bench:runtime [-- --runs 5 --sizes 100,1000,10000 --engines chromium,firefox]
//
// Each load figure is the median time from navigation start to the moment
// the whole document is parsed (its menus placed) with a layout forced;
// "makeDidad" is the call itself plus a layout. "replace" is the median time
// of placing every menu again after the window was resized (anchors moved),
// from the page laid out at its new width to the page laid out with the
// menus at their new places, measured on the written page of 1,000 menus.
// "FCP" is the first contentful paint of each page, the deferred one against
// the static page; "shown" is when the captions are shown and laid out:
// after the body tag's script with the classic include, after
// DOMContentLoaded with the deferred one (negative: before it).
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
// Notes when the menus are first displayed, laid out. The runtime hides
// menus that wait for their anchors with an inline display:none, read here
// without working out the page's style.
const shownMark = "<SCRIPT>new MutationObserver(function (list, obs) {" +
  " var m = document.getElementById('didadMenus'); if (!m || m.style.display == 'none') return;" +
  " document.body.offsetHeight; window.benchShown = performance.now(); obs.disconnect(); })" +
  ".observe(document.documentElement, { childList: true, subtree: true, attributes: true," +
  " attributeFilter: ['style'] });</SCRIPT>";
const classicHead = '<SCRIPT LANGUAGE="JavaScript" SRC="Dirovidadaz.js"></SCRIPT>';
const bodyCall = '<SCRIPT LANGUAGE="JavaScript">makeDidad()</SCRIPT>';
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
  await page.waitFor(() => window.benchReady !== undefined &&
    performance.getEntriesByName("first-contentful-paint").length > 0, undefined, 600000);
  const t = await page.evaluate(() => ({ ready: window.benchReady, make: window.benchMake,
    fcp: performance.getEntriesByName("first-contentful-paint")[0].startTime,
    shown: window.benchShown - (window.benchT0 !== undefined ? window.benchT0
      : performance.getEntriesByType("navigation")[0].domContentLoadedEventStart),
    owners: document.querySelectorAll("div[id^=owner]").length }));
  await page.raw.close();
  return t;
}

// The classic page and its deferred twin, the same page with the one line.
async function prepare(n) {
  const { dir, url } = writeProject(model(n), { final: true, body: page });
  const pagePath = path.join(dir, "Temp.html");
  const written = readFileSync(pagePath, "latin1");
  writeFileSync(pagePath, written.replace(classicHead, shownMark + classicHead).replace(bodyCall, timedCall),
    "latin1");
  const deferredPath = path.join(dir, "deferred.html");
  writeFileSync(deferredPath, written.replace(classicHead, shownMark + '<script defer src="Dirovidadaz.js"></script>')
    .replace(bodyCall, readyMark), "latin1");
  return { dir, url, deferredUrl: pathToFileURL(deferredPath).href };
}

// The written page as the browser holds it after makeDidad, without scripts.
async function staticTwin(browser, dir, url) {
  const page = await browser.newPage();
  await page.goto(url);
  await page.waitFor(() => window.benchReady !== undefined, undefined, 600000);
  const html = await page.evaluate(() => {
    const rules = [];
    for (const sheet of document.adoptedStyleSheets) for (const rule of sheet.cssRules) rules.push(rule.cssText);
    const style = document.createElement("style");
    style.textContent = rules.join("\n");
    document.head.appendChild(style);
    return document.documentElement.outerHTML;
  });
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
        const { dir, url, deferredUrl } = await prepare(n);
        const staticUrl = await staticTwin(browser, dir, url);
        const loads = { classic: [], deferred: [], static: [] };
        for (let r = 0; r < runs; r++) {
          for (const [kind, u] of [["classic", url], ["deferred", deferredUrl], ["static", staticUrl]]) {
            const t = await timeLoad(browser, u);
            if (t.owners !== n) throw new Error(`${kind} page holds ${t.owners} menus, not ${n}`);
            loads[kind].push(t);
          }
        }
        const med = (kind, key) => median(loads[kind].map((t) => t[key]));
        const row = { engine, menus: n, written_ms: med("classic", "ready"), deferred_ms: med("deferred", "ready"),
          static_ms: med("static", "ready"), makeDidad_ms: med("classic", "make"),
          fcp_classic_ms: med("classic", "fcp"), fcp_deferred_ms: med("deferred", "fcp"),
          fcp_static_ms: med("static", "fcp"), shown_classic_ms: med("classic", "shown"),
          shown_deferred_ms: med("deferred", "shown") };
        row.ratio = row.written_ms / row.static_ms;
        row.deferred_ratio = row.deferred_ms / row.static_ms;
        row.fcp_deferred_ratio = row.fcp_deferred_ms / row.fcp_static_ms;
        row.makeDidad_us_per_menu = (row.makeDidad_ms * 1000) / n;
        if (n === 1000) row.replace_ms = await timeReplace(browser, url);
        rows.push(row);
        console.log(`${engine.padEnd(8)} ${String(n).padStart(6)} menus: written ${row.written_ms.toFixed(1)} ms,` +
          ` deferred ${row.deferred_ms.toFixed(1)} ms, static ${row.static_ms.toFixed(1)} ms,` +
          ` ratio ${row.ratio.toFixed(2)} (deferred ${row.deferred_ratio.toFixed(2)}),` +
          ` makeDidad+layout ${row.makeDidad_ms.toFixed(1)} ms (${row.makeDidad_us_per_menu.toFixed(1)} us/menu)` +
          (row.replace_ms === undefined ? "" : `, placed again after a resize ${row.replace_ms.toFixed(2)} ms`));
        console.log(`${"".padEnd(15)} FCP classic ${row.fcp_classic_ms.toFixed(1)} ms, deferred` +
          ` ${row.fcp_deferred_ms.toFixed(1)} ms, static ${row.fcp_static_ms.toFixed(1)} ms` +
          ` (deferred/static ${row.fcp_deferred_ratio.toFixed(3)}); captions shown ${row.shown_classic_ms.toFixed(1)} ms` +
          ` after the body tag (classic), ${row.shown_deferred_ms.toFixed(1)} ms after DOMContentLoaded (deferred)`);
      }
    } finally {
      await browser.close();
    }
  }
} finally {
  removeScratch();
}
console.log(JSON.stringify(rows));
