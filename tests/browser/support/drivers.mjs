// One browser engine behind one small interface: Chromium through
// playwright-core, Firefox ESR through puppeteer-core over WebDriver BiDi.
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import path from "node:path";

export const engines = ["chromium", "firefox"];

const viewport = { width: 1024, height: 768 };

// Every title the page sets, in order: a poll of document.title would miss
// titles replaced within one handler.
const recordTitles = `(() => {
  const d = Object.getOwnPropertyDescriptor(Document.prototype, "title");
  window.__titles = [];
  Object.defineProperty(Document.prototype, "title", {
    configurable: true,
    get() { return d.get.call(this); },
    set(v) { window.__titles.push(String(v)); d.set.call(this, v); },
  });
})();`;

class Page {
  constructor(engine, raw) {
    this.engine = engine;
    this.raw = raw;
    this.consoleErrors = [];
    raw.on("console", (m) => {
      if (m.type() === "error") this.consoleErrors.push(m.text());
    });
    raw.on("pageerror", (e) => this.consoleErrors.push(String(e && e.message ? e.message : e)));
  }

  get mouse() {
    return this.raw.mouse;
  }

  get keyboard() {
    return this.raw.keyboard;
  }

  // A script of our own (axe-core, say) into the page as it stands.
  addScript(content) {
    return this.raw.addScriptTag({ content });
  }

  async goto(url) {
    this.consoleErrors.length = 0;
    await this.raw.goto(url, { waitUntil: "load" });
  }

  // A window of another width (the height stays that of a desktop window).
  async resize(width, height = viewport.height) {
    if (this.engine === "chromium") await this.raw.setViewportSize({ width, height });
    else await this.raw.setViewport({ width, height });
  }

  evaluate(fn, arg) {
    return this.raw.evaluate(fn, arg);
  }

  async waitFor(fn, arg, timeout = 10000) {
    if (this.engine === "chromium") {
      await this.raw.waitForFunction(fn, arg, { timeout, polling: 10 });
    } else {
      await this.raw.waitForFunction(fn, { timeout, polling: 10 }, arg);
    }
  }

  // Scripts to run in every document before its own scripts.
  async addInitScript(source) {
    if (this.engine === "chromium") await this.raw.addInitScript(source);
    else await this.raw.evaluateOnNewDocument(source);
  }

  titles() {
    return this.raw.evaluate(() => window.__titles.slice());
  }

  // The next window the page opens; resolves with its HTML once loaded.
  waitForPopupHtml(timeout = 5000) {
    return new Promise((resolve, reject) => {
      const timer = setTimeout(() => reject(new Error("no window opened")), timeout);
      this.raw.once("popup", async (popup) => {
        try {
          const read = () => popup.evaluate(() => document.body ? document.body.innerHTML : "");
          let html = await read();
          for (let k = 0; k < 50 && !html.includes("Reload Page"); k++) {
            await new Promise((r) => setTimeout(r, 20));
            html = await read();
          }
          clearTimeout(timer);
          resolve({ html, popup });
        } catch (e) {
          clearTimeout(timer);
          reject(e);
        }
      });
    });
  }
}

// A fresh browser with its own profile folder; `close()` removes both.
// `touch` gives Chromium a touch screen (taps through `page.raw.touchscreen`);
// `reducedMotion` has the pages see a system that asks for reduced motion:
// Chromium's media emulation, a preference in Firefox, whose driver cannot
// emulate media over WebDriver BiDi.
export async function launchBrowser(engine, { touch = false, reducedMotion = false } = {}) {
  const profile = mkdtempSync(path.join(tmpdir(), `didad-${engine}-`));
  let close;
  let newRawPage;
  if (engine === "chromium") {
    const { chromium } = await import("playwright-core");
    // The profile folder is the first argument here, not a --user-data-dir flag.
    const context = await chromium.launchPersistentContext(profile, {
      executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
      headless: true,
      viewport,
      hasTouch: touch,
      reducedMotion: reducedMotion ? "reduce" : "no-preference",
      args: ["--no-sandbox", "--disable-gpu", "--disable-background-networking", "--disable-component-update",
        "--disable-sync", "--no-first-run"],
    });
    let first = context.pages()[0];
    newRawPage = async () => {
      if (first) {
        const p = first;
        first = undefined;
        return p;
      }
      return context.newPage();
    };
    close = () => context.close();
  } else {
    const puppeteer = (await import("puppeteer-core")).default;
    const browser = await puppeteer.launch({
      browser: "firefox",
      executablePath: process.env.FIREFOX || "/usr/bin/firefox-esr",
      headless: true,
      userDataDir: profile,
      extraPrefsFirefox: reducedMotion ? { "ui.prefersReducedMotion": 1 } : {},
      defaultViewport: viewport,
      timeout: 120000, // a loaded CI machine can take a while to start Firefox
    });
    newRawPage = async () => {
      const p = await browser.newPage();
      await p.setViewport(viewport);
      return p;
    };
    close = () => browser.close();
  }
  return {
    engine,
    async newPage() {
      const page = new Page(engine, await newRawPage());
      await page.addInitScript(recordTitles);
      return page;
    },
    async close() {
      try {
        await close();
      } finally {
        rmSync(profile, { recursive: true, force: true });
      }
    },
  };
}
