// The menus on pages served over HTTP that load the script the ways sites
// do: deferred, async, added by another script after load, under a strict
// Content-Security-Policy and under Trusted Types, and beside the classic
// include. Each page must show its own content untouched, the menus once,
// open by pointer and keyboard, and no policy violation.
import assert from "node:assert/strict";
import { readFileSync, writeFileSync } from "node:fs";
import { createServer } from "node:http";
import path from "node:path";
import { after, before, describe, it } from "node:test";

import { engines, launchBrowser } from "./support/drivers.mjs";
import { checkTool, entry, removeScratch, writeProject } from "./support/project.mjs";

const links = (...names) => names.map((n) => `<A HREF="#${n}">${n}</A>`).join("<BR>");
// No style attributes in the author's HTML: the strict policy would block
// them, and rightly report the author's markup.
const project = {
  settings: { scrIN: 40, scrOUT: 40 },
  entries: [
    entry({ MTC: "Products", MX: 10, MY: 10, MTM: links("chairs", "tables"), FL: 0, CC: "#123456" }),
    entry({ MTC: "Support", MX: 170, MY: 10, MA: 1, MTM: links("faq"), FL: 0 }),
    entry({ MTC: "About", MX: 10, MY: 200, MW: 100, OO: 1, MTM: links("team"), FL: 0 }),
    // Placed against an element of the page's own content.
    entry({ MTC: "More", MX: 300, MY: 5, anchor: "element", anchorElement: "#more", MTM: links("news"), FL: 0 }),
  ],
};

const strict = "default-src 'self'; script-src 'self'; style-src 'self'";
const trusted = "require-trusted-types-for 'script'; trusted-types didad";
const content = '<p id="own">Welcome to our shop.</p><div id="more">More</div>';
const page = (head, body = "") => `<!DOCTYPE html>\n<html><head><title>Shop</title>${head}</head>` +
  `<body style="margin:0">${body}${content}</body></html>`;
const deferred = '<script defer src="Dirovidadaz.js"></script>';
const classicPair = ['<SCRIPT LANGUAGE="JavaScript" SRC="Dirovidadaz.js"></SCRIPT>',
  '<SCRIPT LANGUAGE="JavaScript">makeDidad()</SCRIPT>'];

// Path to [body, policy]. Styles in the pages' own markup would be blocked
// by the strict policy, so the pages under a policy carry none.
const pages = {
  "/deferred.html": [page(deferred)],
  "/async.html": [page('<script async src="Dirovidadaz.js"></script>')],
  "/later.html": [page('<script src="later.js"></script>').replace(' style="margin:0"', ""), strict],
  "/strict.html": [page(deferred).replace(' style="margin:0"', ""), strict],
  "/trusted.html": [page(deferred), trusted],
  "/trusted-strict.html": [page(deferred).replace(' style="margin:0"', ""), `${strict}; ${trusted}`],
  "/both.html": [page(classicPair[0] + deferred, classicPair[1])],
  "/classic-strict.html": [page(classicPair[0], classicPair[1]).replace(' style="margin:0"', ""), strict],
};
// Added the way tag managers add scripts: well after the page has loaded.
const laterJs = "window.addEventListener('load', function () { setTimeout(function () {" +
  " var s = document.createElement('script'); s.src = 'Dirovidadaz.js'; document.head.appendChild(s); }, 200); });";

// Every violation the page reports, from before its first script.
const recordViolations = `window.__violations = [];
  document.addEventListener("securitypolicyviolation", (e) => {
    window.__violations.push(e.violatedDirective + " " + e.blockedURI + " " + e.sourceFile + ":" + e.lineNumber);
  });`;

// `dir` holds the published script, `previewDir` the editor's preview script.
function serve(dir, previewDir) {
  const server = createServer((req, res) => {
    const url = new URL(req.url, "http://127.0.0.1");
    const preview = url.pathname.startsWith("/preview/");
    const known = pages[url.pathname.replace("/preview/", "/")];
    let body;
    let type = "text/javascript";
    if (known) {
      body = known[0];
      type = "text/html; charset=utf-8";
      if (known[1]) res.setHeader("Content-Security-Policy", known[1]);
    } else if (url.pathname === "/later.js" && !preview) {
      body = laterJs;
    } else if (url.pathname === "/Dirovidadaz.js") {
      body = readFileSync(path.join(dir, "Dirovidadaz.js"));
    } else if (url.pathname === "/preview/Dirovidadaz.js") {
      body = readFileSync(path.join(previewDir, "Dirovidadaz.js"));
    } else {
      // A browser asks for the site's icon too: an answer without one.
      res.writeHead(url.pathname === "/favicon.ico" ? 204 : 404).end();
      return;
    }
    res.writeHead(200, { "Content-Type": type, "Cache-Control": "no-store" }).end(body);
  });
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server)));
}

// Predicates as functions: a policy without 'unsafe-eval' refuses strings.
const shown = (p, i, want) => p.waitFor(([i, want]) =>
  getComputedStyle(document.getElementById("menu" + i)).visibility === want, [i, want]);

for (const engine of engines) {
  describe(`menus on pages that include the script any way, in ${engine}`, () => {
    let browser;
    let server;
    let base;

    before(async () => {
      checkTool();
      const { dir } = writeProject(project, { final: true });
      server = await serve(dir, writeProject({ ...project, iSelectedMenu: 1 }).dir);
      base = `http://127.0.0.1:${server.address().port}`;
      browser = await launchBrowser(engine, { touch: engine === "chromium" });
    });
    after(async () => {
      if (browser) await browser.close();
      if (server) server.close();
      removeScratch();
    });

    async function open(file) {
      const p = await browser.newPage();
      await p.addInitScript(recordViolations);
      await p.goto(base + file);
      await p.waitFor(() => document.querySelectorAll("#didadMenus > div").length === 4);
      return p;
    }

    // The page's content as it was written, the menus built once in one
    // layer in front of it, at their places, closed.
    async function builtOnce(p) {
      const state = await p.evaluate(() => ({
        layers: document.querySelectorAll("#didadLayer").length,
        owners: document.querySelectorAll("[id^=owner]").length,
        own: [...document.body.children].filter((e) => e.id !== "didadLayer" && e.tagName !== "SCRIPT")
          .map((e) => e.outerHTML).join(""),
        places: [0, 1, 2, 3].map((i) => {
          const r = document.getElementById("owner" + i).getBoundingClientRect();
          return [r.left, r.top, r.width, r.height];
        }),
        anchor: (({ left, top }) => [left + 300, top + 5])(document.getElementById("more").getBoundingClientRect()),
        capColor: getComputedStyle(document.getElementById("cap0")).backgroundColor,
      }));
      assert.deepEqual(state.places.pop(), [...state.anchor, 150, 22], "placed against its element");
      delete state.anchor;
      assert.deepEqual(state, { layers: 1, owners: 4, own: content,
        places: [[10, 10, 150, 22], [170, 10, 150, 22], [10, 200, 22, 100]], capColor: "rgb(18, 52, 86)" });
    }

    // Hover, click and vertical menus by pointer, a tap where there is a
    // touch screen, and the keyboard: Enter, the arrow into the panel, Escape.
    async function opensEveryWay(p) {
      await p.mouse.move(600, 500);
      await p.mouse.move(60, 20, { steps: 3 });
      await shown(p, 0, "visible");
      await p.mouse.move(600, 500, { steps: 3 });
      await shown(p, 0, "hidden");
      await p.mouse.click(230, 20);
      await p.waitFor(() => document.getElementById("menu1").offsetTop === 22);
      await p.mouse.click(230, 20);
      await shown(p, 1, "hidden");
      await p.mouse.move(20, 250, { steps: 3 });
      await p.waitFor(() => document.getElementById("menu2").offsetLeft === 22);
      await p.mouse.move(600, 500, { steps: 3 });
      await shown(p, 2, "hidden");
      if (p.engine === "chromium") {
        await p.raw.touchscreen.tap(230, 20);
        await shown(p, 1, "visible");
        await p.raw.touchscreen.tap(230, 20);
        await shown(p, 1, "hidden");
      }
      await p.evaluate(() => document.getElementById("cap0").focus());
      await p.keyboard.press("Enter");
      await p.waitFor(() => document.getElementById("cap0").getAttribute("aria-expanded") === "true");
      await shown(p, 0, "visible");
      await p.keyboard.press("ArrowDown");
      assert.equal(await p.evaluate(() => document.activeElement.getAttribute("href")), "#chairs");
      await p.keyboard.press("Escape");
      await shown(p, 0, "hidden");
      assert.equal(await p.evaluate(() => document.activeElement.id), "cap0");
    }

    async function quiet(p, violations = []) {
      assert.deepEqual(await p.evaluate(() => window.__violations.map((v) => v.replace(/:\d+$/, ""))), violations,
        "no policy violation");
      if (!violations.length) assert.deepEqual(p.consoleErrors, []);
      assert.equal(await p.evaluate(() => window.errs), "", "no script error");
    }

    for (const [name, file] of [["deferred", "/deferred.html"], ["async", "/async.html"],
      ["added after load, under the strict policy", "/later.html"], ["strict policy", "/strict.html"],
      ["Trusted Types", "/trusted.html"],
      ["Trusted Types under the strict policy", "/trusted-strict.html"]]) {
      it(`${name}: the page as written, the menus once, opening every way, no violation`, async () => {
        const p = await open(file);
        // Where the browser enforces Trusted Types, the author's HTML went through the policy.
        if (file.startsWith("/trusted")) {
          assert.equal(await p.evaluate(() => Boolean(window.trustedTypes) === (window.menuPolicy !== null)), true);
        }
        await builtOnce(p);
        await opensEveryWay(p);
        await quiet(p);
        await p.raw.close();
      });
    }

    it("builds once on a page that carries the classic pair and the deferred line", async () => {
      const p = await open("/both.html");
      await builtOnce(p);
      // Where the classic call puts them: right after its script.
      assert.equal(await p.evaluate(() => document.getElementById("didadLayer").previousElementSibling.textContent),
        "makeDidad()");
      await p.evaluate(() => makeDidad());
      await builtOnce(p);
      await opensEveryWay(p);
      await quiet(p);
      await p.raw.close();
    });

    // The page's own inline call is refused: the menus are built once the
    // page has been parsed all the same.
    it("builds the classic include's menus under a strict policy that refuses its inline call", async () => {
      const p = await open("/classic-strict.html");
      await builtOnce(p);
      await opensEveryWay(p);
      const page = `${base}/classic-strict.html`;
      await quiet(p, [`script-src-elem inline ${page}`]);
      await p.raw.close();
    });

    it("shows the editor's preview on a page with the deferred line: selection, frame and drag", async () => {
      const p = await browser.newPage();
      await p.addInitScript(recordViolations);
      await p.goto(`${base}/preview/strict.html`);
      await p.waitFor(() => document.getElementById("menu1")?.offsetTop === 22);
      assert.equal(await p.evaluate(() => getComputedStyle(document.getElementById("SEL_TOP")).visibility), "visible");
      await p.mouse.move(40, 15);
      await p.mouse.down();
      await p.mouse.move(140, 65, { steps: 5 });
      await p.mouse.up();
      const titles = (await p.titles()).filter((t) => t.startsWith("!RarurAVI"));
      assert.equal(titles[0], "!RarurAVI:ySetSel(0)");
      assert.equal(titles.at(-1), "!RarurAVI:docMouseMove(0,110,60)");
      await quiet(p);
      await p.raw.close();
    });

    it("folds the menus into the compact layout in a phone-wide window under both policies", async () => {
      const p = await open("/trusted-strict.html");
      await p.resize(390);
      await p.waitFor(() => getComputedStyle(document.getElementById("didadCompact")).display === "block");
      await p.mouse.click(...(await p.evaluate(() => {
        const r = document.getElementById("dcButton").getBoundingClientRect();
        return [r.left + 5, r.top + 5];
      })));
      await p.waitFor(() => !document.getElementById("dcList").hidden);
      await p.evaluate(() => document.getElementById("dcCap1").focus());
      await p.keyboard.press("Enter");
      await p.waitFor(() => !document.getElementById("dcMenu1").hidden);
      assert.deepEqual(await p.evaluate(() => [document.getElementById("dcMenu1").textContent,
        getComputedStyle(document.getElementById("dcCap0")).backgroundColor]), ["faq", "rgb(18, 52, 86)"]);
      await p.keyboard.press("Escape");
      await p.waitFor(() => document.getElementById("dcMenu1").hidden);
      await quiet(p);
      await p.raw.close();
    });

    // Guards against a project's colour or font ending the menus' rule and
    // styling the page: each is one property's value, or nothing. The program
    // writes no such colour, so it is put into the script by hand, as a
    // script from elsewhere could hold it.
    it("keeps a hostile colour and font inside their own property", async () => {
      const escape = "; } body { display:none } #x {";
      const { dir, url } = writeProject({ settings: { fDefCap: `Arial${escape}` },
        entries: [entry({ MTC: "Caption", CO: "#123456", CC: "#00ff00" })] }, { final: true, mode: "standards" });
      const script = path.join(dir, "Dirovidadaz.js");
      const written = readFileSync(script, "latin1");
      assert.ok(written.includes('"#123456"'));
      writeFileSync(script, written.replace('"#123456"', `"red${escape}"`), "latin1");
      const p = await browser.newPage();
      await p.goto(url);
      const style = await p.evaluate(() => {
        const s = (id) => getComputedStyle(document.getElementById(id));
        return [getComputedStyle(document.body).display, s("owner0").backgroundColor, s("cap0").backgroundColor,
          s("cap0").fontFamily.includes("Arial;")];
      });
      assert.deepEqual(style, ["block", "rgba(0, 0, 0, 0)", "rgb(0, 255, 0)", true]);
      assert.deepEqual(p.consoleErrors, []);
      await p.raw.close();
    });
  });
}
