// A page may declare any character set, and a script without the UTF-8 mark
// is read in the page's. In the two-byte sets a byte beyond ASCII can take
// the next byte into one character with it; if that byte is a backslash that
// keeps a quote inside its string, the quote ends the string and the rest of
// the text runs as script. Each written script is decoded here as each such
// page would decode it, and its data part must still give one string per text
// and every array whole.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { readFileSync, writeFileSync } from "node:fs";
import path from "node:path";
import { after, before, describe, it } from "node:test";
import vm from "node:vm";

import { checkTool, didadTool, entry, removeScratch, scratchDir } from "./support/project.mjs";

const legacyCharsets = ["shift_jis", "euc-jp", "gbk", "gb18030", "big5", "euc-kr", "iso-2022-jp"];
const arrays = ["MTC", "MTCH", "MTM", "MX", "MY", "MW", "CO", "CC", "CM", "MA", "FL", "OO", "AN", "AE"];

function tool(...args) {
  return execFileSync(didadTool, args, { stdio: ["pipe", "pipe", "pipe"] });
}

// Three menus whose texts are placeholders, each at its own place.
function placeholderProject() {
  const entries = [0, 1, 2].map((i) =>
    entry({ MTC: `@MTC${i}@`, MTM: `@MTM${i}@`, MX: 11 * (i + 1), anchor: "element", anchorElement: `@AE${i}@` }));
  return { settings: { compactLabel: "@LABEL@", compactLeft: 7 }, entries };
}

function writeJson(model) {
  const dir = scratchDir("didad-charsets-");
  execFileSync(didadTool, ["write", dir], { input: JSON.stringify(model), stdio: ["pipe", "pipe", "pipe"] });
  return dir;
}

const scriptPath = (dir) => path.join(dir, "Dirovidadaz.js");

// A text as a hand-made file of the old form holds it: backslash and quote
// after a backslash, a line break continued by one. Nothing else is escaped.
const oldForm = (bytes) => bytes.replace(/[\\"]/g, "\\$&").replace(/\r\n/g, "\\\r\n");

const utf8Mark = Buffer.from([0xef, 0xbb, 0xbf]);

// The data part of a script decoded as a page in `charset` decodes it: the
// whole script must parse, and running the data part must give every array
// whole, one string per text. A browser reads a script with the UTF-8 mark as
// UTF-8 whatever the page says; the mark is taken off here all the same, so
// that the texts hold even where it is lost on the way.
function dataPart(bytes, charset) {
  const unmarked = bytes.subarray(0, 3).equals(utf8Mark) ? bytes.subarray(3) : bytes;
  const text = new TextDecoder(charset).decode(unmarked);
  new vm.Script(text); // throws on a syntax error anywhere
  const end = text.indexOf("\r\n\r\n", text.indexOf("var AE = new Array ("));
  const page = { document: { write() {} }, layerStyle() {} };
  vm.runInNewContext(text.slice(0, end), page);
  assert.equal(page.numOfMenus, 3);
  for (const name of arrays) assert.equal(page[name].length, 3, name);
  for (const name of ["MTC", "MTM", "AE"]) for (const value of page[name]) assert.equal(typeof value, "string", name);
  assert.deepEqual(Array.from(page.MX), [11, 22, 33]);
  assert.deepEqual(Array.from(page.AN), [3, 3, 3]);
  assert.equal(typeof page.cmpL, "string");
  assert.equal(page.cmpX, 7);
  return page;
}

function holdsOnEveryPage(bytes) {
  for (const charset of legacyCharsets) {
    try {
      dataPart(bytes, charset);
    } catch (error) {
      return `${charset}: ${error.message}`;
    }
  }
  return "";
}

describe("texts on pages in two-byte character sets", () => {
  before(checkTool);
  after(removeScratch);

  it("a hand-made file's hostile bytes are written so that every text stays one string", () => {
    // Byte 0x81 opens a two-byte character in Shift_JIS, GBK and Big5; 0x95 0x5C
    // is one in Shift_JIS; ESC $ B switches ISO-2022-JP to two-byte characters.
    const hostile = {
      "@MTC0@": 'A\x81"B;alert(1);//',
      "@MTM0@": "x\x81\\y",
      "@MTC1@": "\x81\x81\r\nline two",
      "@MTM1@": "ends in\x81",
      "@MTC2@": "\xE3\x81\x82\"\x81",
      "@MTM2@": "\x1B$B\"x\x1B(B",
      "@AE0@": "#a\x95\\",
      "@AE1@": "\xF0\x9F\x98\x80\r\n",
      "@AE2@": "\x81",
      "@LABEL@": "\x81\"\x81\\\x81",
    };
    const dir = writeJson(placeholderProject());
    let handMade = readFileSync(scriptPath(dir), "latin1");
    for (const [key, bytes] of Object.entries(hostile)) handMade = handMade.replace(key, oldForm(bytes));
    const handMadeBytes = Buffer.from(handMade, "latin1");
    writeFileSync(scriptPath(dir), handMadeBytes);
    // The probe is real: the file as it came breaks a Shift_JIS page.
    assert.notEqual(holdsOnEveryPage(handMadeBytes), "");

    tool("add", dir, "0"); // read and written again by the program
    const written = readFileSync(scriptPath(dir));
    assert.equal(holdsOnEveryPage(written), "");
    // Reading gives back the same bytes: written again, the file is the same.
    tool("add", dir, "0");
    assert.ok(readFileSync(scriptPath(dir)).equals(written));
  });

  it("UTF-8 texts keep their characters on a UTF-8 page and stay strings elsewhere", () => {
    const model = placeholderProject();
    const texts = ['é"', "日本\r\n語\\", "😀\\", "a\x1Bb", "<A HREF=\"x\">Ünïcode</A>\r\n", "ラベル"];
    [model.entries[0].MTC, model.entries[0].MTM, model.entries[1].MTC, model.entries[1].MTM, model.entries[2].MTC,
      model.settings.compactLabel] = texts;
    const dir = writeJson(model);
    const written = readFileSync(scriptPath(dir));
    assert.equal(holdsOnEveryPage(written), "");
    assert.ok(written.subarray(0, 3).equals(utf8Mark), "the UTF-8 mark");
    const page = dataPart(written, "utf-8");
    const onPage = (text) => text.replace(/\r\n/g, ""); // a line break continues the string
    assert.deepEqual([page.MTC[0], page.MTM[0], page.MTC[1], page.MTM[1], page.MTC[2], page.cmpL], texts.map(onPage));
    assert.equal(page.MTM[2], "@MTM2@");
  });
});
