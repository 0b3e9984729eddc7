// Projects for the browser tests, written by the real writer through didad-tool.
import { execFileSync } from "node:child_process";
import { existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import path from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";

const repoRoot = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "../../..");

export const didadTool = path.resolve(repoRoot, process.env.DIDAD_TOOL || "build/didad-tool");

export function checkTool() {
  if (!existsSync(didadTool)) {
    throw new Error(`didad-tool not found at ${didadTool}: build it or set DIDAD_TOOL`);
  }
}

// One menu entry with the first entry's defaults, overridden by `fields`.
export function entry(fields = {}) {
  return {
    MTC: "Caption", MTCH: 22, MTM: "Blank menu", MX: 10, MY: 10, MW: 150,
    CO: "transparent", CC: "#000000", CM: "#008080", MA: 0, FL: 1, OO: 0,
    ...fields,
  };
}

const scratch = [];

export function scratchDir(prefix = "didad-browser-") {
  const dir = mkdtempSync(path.join(tmpdir(), prefix));
  scratch.push(dir);
  return dir;
}

export function removeScratch() {
  while (scratch.length) rmSync(scratch.pop(), { recursive: true, force: true });
}

// Page variants built from the default page the writer supplies, so that the
// contract lines stay the real ones.
//   quirks:    the default page as written (no DOCTYPE)
//   standards: the same page behind <!DOCTYPE html>
// `tall` adds content below the menus so that the page can scroll; `body` is
// the page's own content, after the menus.
function adaptPage(text, { mode, tall, body }) {
  let page = text;
  if (mode === "standards") page = "<!DOCTYPE html>\r\n" + page;
  if (body) page = page.replace("</BODY>", body + "\r\n</BODY>");
  if (tall) page = page.replace("</BODY>", '<DIV id="filler" style="height:4000px"></DIV>\r\n</BODY>');
  return page;
}

// Writes `model` ({ settings, iSelectedMenu, entries }) as a preview script
// (default) or a final script, and the page for `mode`. Returns the page URL.
export function writeProject(model, { mode = "quirks", final = false, tall = false, body = "" } = {}) {
  const dir = scratchDir();
  const args = ["write", dir];
  if (final) args.push("--final");
  execFileSync(didadTool, args, { input: JSON.stringify(model), stdio: ["pipe", "pipe", "pipe"] });
  const pagePath = path.join(dir, model.settings?.PRJ_sTemplate || "Temp.html");
  const written = readFileSync(pagePath, "latin1");
  writeFileSync(pagePath, adaptPage(written, { mode, tall, body }), "latin1");
  return { dir, url: pathToFileURL(pagePath).href };
}
