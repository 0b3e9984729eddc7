/* global axe */
// Menus for visitors without a mouse or with assistive technology: keyboard
// input from the driver and axe-core's audit. Run inside each engine's and
// page mode's session of the menu suite, on its page.
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";
import { it } from "node:test";

import { entry } from "./project.mjs";

const axeSource = readFileSync(createRequire(import.meta.url).resolve("axe-core/axe.min.js"), "utf8");

// Links in white, which reads on the default teal panel.
const links = (...names) => names.map((n) => `<A HREF="#${n}" style="color:#FFFFFF">${n}</A>`).join("<BR>");
const picture = "data:image/gif;base64,R0lGODlhAQABAIAAAAAAAP///yH5BAEAAAAALAAAAAABAAEAAAIBRAA7";

// A menu bar as a site has it: a hover and a click menu side by side, a
// vertical hover menu whose caption is a picture, and a caption that is a
// link of its own.
const siteMenus = {
  settings: { scrIN: 20, scrOUT: 20 },
  iSelectedMenu: 0,
  entries: [
    entry({ MTC: "Products", MX: 10, MY: 10, MTM: links("chairs", "tables"), FL: 0 }),
    entry({ MTC: "Support", MX: 170, MY: 10, MA: 1, MTM: links("faq", "contact"), FL: 0 }),
    entry({ MTC: `<IMG SRC="${picture}" ALT="About us" WIDTH=20 HEIGHT=20>`, MX: 10, MY: 200, MW: 120, OO: 1,
      MTM: `<DIV style="width:90px">${links("team", "history")}</DIV>`, FL: 0 }),
    entry({ MTC: '<A HREF="#news" style="color:#FFFFFF">News</A>', MX: 330, MY: 10, MTM: links("latest", "archive"),
      FL: 0 }),
  ],
};

// The focused element as its id, or a link as its href.
const focused = (page) => page.evaluate(() => {
  const a = document.activeElement;
  return a.id || a.getAttribute("href") || a.tagName;
});
const expanded = (page, i) => page.evaluate((i) =>
  document.querySelector(`[aria-controls="menu${i}"]`).getAttribute("aria-expanded"), i);
export const panelOpen = (page, i) => page.waitFor((i) => {
  const m = document.getElementById("menu" + i);
  return (OO[i] == 0 ? m.offsetTop : m.offsetLeft) === MTCH[i];
}, i);
export const panelClosed = (page, i) => page.waitFor((i) =>
  getComputedStyle(document.getElementById("menu" + i)).visibility === "hidden", i);

export function defineAccessTests(engine, session) {
  it("puts every caption in the tab order as a button that tells whether its panel is open", async () => {
    const { page } = session;
    await session.load(siteMenus, { final: true });
    const seen = [];
    for (let k = 0; k < 4; k++) {
      await page.keyboard.press("Tab");
      seen.push(await page.evaluate(() => {
        const a = document.activeElement, s = getComputedStyle(a);
        return [a.id || a.getAttribute("href"), a.getAttribute("role"), a.getAttribute("aria-expanded"),
          a.getAttribute("aria-controls"), s.outlineStyle, s.outlineColor, s.boxShadow.includes("255, 255, 255")];
      }));
    }
    // Closed panels' links are skipped; the link caption is reached as a link,
    // and the caption around it is no control of its own.
    const ring = ["solid", "rgb(0, 0, 0)", true];
    assert.deepEqual(seen, [
      ["cap0", "button", "false", "menu0", ...ring],
      ["cap1", "button", "false", "menu1", ...ring],
      ["cap2", "button", "false", "menu2", ...ring],
      ["#news", null, "false", "menu3", ...ring],
    ]);
    assert.deepEqual(await page.evaluate(() => {
      const c = document.getElementById("cap3");
      return [c.getAttribute("role"), c.tabIndex];
    }), [null, -1]);
    assert.equal(await page.evaluate(() => document.querySelector("a[href='#chairs']").checkVisibility(
      { visibilityProperty: true })), false, "a closed panel is not rendered for anyone");
    if (engine === "chromium") {
      const tree = await page.raw.locator("body").ariaSnapshot();
      assert.match(tree, /button "Products"/);
      assert.match(tree, /button "About us"/);
      assert.match(tree, /link "News"/);
      assert.doesNotMatch(tree, /chairs|faq|team|latest/, "closed panels are not read");
    }

    // A click puts the focus on a caption as well, but shows no ring: the
    // mouse leaves the page looking as it always did.
    await page.mouse.click(200, 20);
    assert.equal(await focused(page), "cap1");
    assert.equal(await page.evaluate(() => getComputedStyle(document.activeElement).outlineStyle), "none");
    assert.deepEqual(page.consoleErrors, []);
  });

  it("opens, enters and closes menus from the keyboard; focus moving on closes only a hover menu", async () => {
    const { page } = session;
    await session.load(siteMenus, { final: true });
    await page.keyboard.press("Tab");
    await page.keyboard.press("Enter");
    assert.equal(await expanded(page, 0), "true");
    await panelOpen(page, 0);
    await page.keyboard.press("Tab");
    assert.equal(await focused(page), "#chairs", "an open panel's links are in the tab order");
    await page.keyboard.press("Tab");
    await page.keyboard.press("Tab");
    assert.equal(await focused(page), "cap1");
    assert.equal(await expanded(page, 0), "false", "the focus left the hover menu");
    await panelClosed(page, 0);

    // The click menu: Space toggles it, the arrow down opens it and enters
    // the panel, Escape closes it and comes back to the caption.
    await page.keyboard.press(" ");
    await panelOpen(page, 1);
    await page.keyboard.press(" ");
    await panelClosed(page, 1);
    await page.keyboard.press("ArrowDown");
    assert.equal(await focused(page), "#faq");
    await panelOpen(page, 1);
    await page.keyboard.press("Escape");
    assert.equal(await focused(page), "cap1");
    assert.equal(await expanded(page, 1), "false");
    await panelClosed(page, 1);
    await page.keyboard.press("Enter");
    await panelOpen(page, 1);
    for (let k = 0; k < 3; k++) await page.keyboard.press("Tab");
    assert.equal(await focused(page), "cap2");
    assert.equal(await expanded(page, 1), "true", "a click menu stays open when the focus moves on");

    // The vertical menu opens with the arrow to the right, not down.
    await page.keyboard.press("ArrowDown");
    assert.equal(await expanded(page, 2), "false");
    await page.keyboard.press("ArrowRight");
    assert.equal(await focused(page), "#team");
    await page.keyboard.press("Escape");
    assert.equal(await focused(page), "cap2");

    // A caption's own link: the arrow opens the panel, Enter follows the link.
    // The panel just closed is still sliding away, but no longer in the way.
    await page.keyboard.press("Tab");
    assert.equal(await focused(page), "#news");
    await page.keyboard.press("ArrowDown");
    assert.equal(await focused(page), "#latest");
    await page.keyboard.press("Escape");
    assert.equal(await focused(page), "#news");
    await page.keyboard.press("Enter");
    await page.waitFor(() => location.hash === "#news");
    assert.deepEqual(page.consoleErrors, []);
  });

  it("answers keys in the preview without a title command and leaves the frame alone", async () => {
    const { page } = session;
    await session.load(siteMenus);
    await panelOpen(page, 0);
    const frame = await session.frameRect(page);
    await page.keyboard.press("Tab");
    await page.keyboard.press("Enter");
    await panelClosed(page, 0);
    await page.keyboard.press("ArrowDown");
    assert.equal(await focused(page), "#chairs");
    await page.keyboard.press("Escape");
    assert.deepEqual(await page.titles(), []);
    assert.deepEqual(await session.frameRect(page), frame);
    assert.deepEqual(page.consoleErrors, []);
  });

  it("leaves axe-core nothing to report within the menus, closed or open", async () => {
    const { page } = session;
    await session.load(siteMenus, { final: true });
    await page.addScript(axeSource);
    const audit = () => page.evaluate(async () => {
      const owners = [0, 1, 2, 3].map((i) => "#owner" + i);
      const result = await axe.run({ include: owners }, {
        runOnly: { type: "tag", values: ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "best-practice"] },
      });
      return result.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`);
    });
    assert.deepEqual(await audit(), []);
    await page.evaluate(() => { for (let i = 0; i < 4; i++) mOpen(i); });
    for (let i = 0; i < 4; i++) await panelOpen(page, i);
    assert.deepEqual(await audit(), []);
    assert.deepEqual(page.consoleErrors, []);
  });
}
