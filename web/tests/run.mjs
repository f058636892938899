// The page in Debian's Chromium, driven by playwright-core, against orvconv-cli:
//   node web/tests/run.mjs BUILD_DIR WEB_DIR
// BUILD_DIR holds bin/orvconv-cli, bin/orvpack and sample/; WEB_DIR the built page.
// Every list shown must be orvconv-cli's --list, every picture shown the PNG it writes
// (read back by hand), the worker's conversion its files byte for byte, and no request
// may leave the page's origin.
import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import { existsSync, mkdirSync, mkdtempSync, readdirSync, readFileSync, rmSync, statSync } from "node:fs";
import { tmpdir } from "node:os";
import { basename, join, relative } from "node:path";
import { after, before, test } from "node:test";
import { chromium } from "playwright-core";
import { makeArchives } from "./fixtures.mjs";
import { decodePng } from "./png.mjs";
import { serve } from "./serve.mjs";

const [buildDir, webDir] = process.argv.slice(2);
const cli = join(buildDir, "bin/orvconv-cli");
const work = mkdtempSync(join(tmpdir(), "orvconv-web-"));
const inputs = [
  join(buildDir, "sample/sample.dat"),
  join(buildDir, "sample/walk.ani"),
  ...makeArchives(join(buildDir, "bin/orvpack"), join(buildDir, "sample/walk.ani"), work),
];

// Chromium as the machine allows it: no sandbox as root, no network of its own.
const chromiumArgs = [
  "--headless",
  "--no-sandbox",
  "--disable-gpu",
  "--disable-quic",
  "--no-first-run",
  "--disable-background-networking",
  "--disable-component-update",
  "--disable-sync",
];

let server;
let browser;
let page;
const requests = [];

before(async () => {
  server = await serve(webDir);
  // Playwright gives each launch a new, empty user data folder.
  browser = await chromium.launch({ executablePath: "/usr/bin/chromium", args: chromiumArgs });
  const context = await browser.newContext({ viewport: { width: 1100, height: 700 } });
  context.on("request", (request) => requests.push(request.url()));
  page = await context.newPage();
  page.on("pageerror", (error) => console.error(`page error: ${error.message}`));
  await page.goto(`${server.origin}/`);
});

after(async () => {
  await browser?.close();
  server?.close();
  rmSync(work, { recursive: true, force: true });
});

// orvconv-cli with args; its status and stdout.
function runCli(args) {
  const run = spawnSync(cli, args, { encoding: "utf8" });
  assert.ok(run.status === 0 || run.status === 5, `orvconv-cli ${args.join(" ")}: ${run.status} ${run.stderr}`);
  return run;
}

// The records of orvconv-cli --list: index, name, offset, size, kind, past-end.
function cliList(input) {
  return runCli(["--list", input])
    .stdout.trimEnd()
    .split("\n")
    .map((line) => {
      const [index, name, offset, size, kind, pastEnd] = line.split("\t");
      return { index: Number(index), name, size: Number(size), kind, pastEnd: pastEnd === "past-end" };
    });
}

// Every file under folder by its path inside it.
function filesUnder(folder) {
  const files = new Map();
  const walk = (dir) => {
    for (const name of readdirSync(dir)) {
      const path = join(dir, name);
      if (statSync(path).isDirectory()) walk(path);
      else files.set(relative(folder, path), readFileSync(path));
    }
  };
  walk(folder);
  return files;
}

// The folder orvconv-cli converts input into with args.
function cliConvert(input, args) {
  const root = mkdtempSync(join(work, "cli-"));
  runCli(["-q", "-j", "1", ...args, "-o", root, input]);
  return join(root, basename(input).toLowerCase().replace(/\.[^.]*$/, ""));
}

async function openInPage(input) {
  await page.setInputFiles("#file", input);
  await page.waitForFunction((name) => document.body.dataset.opened === name, basename(input));
}

async function shownRows() {
  return page.$$eval("#entries tbody tr", (rows) =>
    rows.map((row) => ({
      index: Number(row.dataset.index),
      name: row.cells[0].textContent,
      kind: row.cells[1].textContent,
      size: Number(row.cells[2].textContent.replaceAll(",", "")),
      pastEnd: row.classList.contains("past-end"),
    })),
  );
}

// The picture on the canvas after clicking entry index: width, height, RGB bytes.
async function shownPicture(index) {
  await page.click(`#entries tbody tr[data-index="${index}"]`);
  await page.waitForFunction((i) => document.querySelector("#preview").dataset.shown === String(i), index);
  const shown = await page.evaluate(() => {
    const canvas = document.querySelector("#preview");
    if (canvas.width === 0) return null;
    const rgba = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data;
    let binary = "";
    for (let p = 0; p < rgba.length; p += 4) binary += String.fromCharCode(rgba[p], rgba[p + 1], rgba[p + 2]);
    return { width: canvas.width, height: canvas.height, rgb: btoa(binary) };
  });
  return shown && { ...shown, rgb: Buffer.from(shown.rgb, "base64") };
}

for (const input of inputs) {
  test(`${basename(input)}: the list and every picture agree with orvconv-cli`, async () => {
    await openInPage(input);
    const rows = await shownRows();
    if (input.endsWith(".ani")) {
      assert.deepEqual(
        rows.map((row) => [row.name, row.kind]),
        [[basename(input).toLowerCase(), "animation"]],
      );
      return;
    }
    assert.deepEqual(rows, cliList(input));

    const folder = cliConvert(input, ["-f", "png"]);
    const stems = rows.map((row) => row.name.replace(/\.[^.]*$/, ""));
    let compared = 0;
    for (const row of rows.filter((r) => r.kind === "image")) {
      const stem = row.name.replace(/\.[^.]*$/, "");
      // A name written twice holds the later entry's picture only.
      if (stems.filter((s) => s === stem).length > 1) continue;
      const shown = await shownPicture(row.index);
      const file = join(folder, `${stem}.png`);
      if (shown === null) {
        assert.ok(!existsSync(file), `${row.name}: orvconv-cli writes a picture the page does not show`);
        continue;
      }
      const written = decodePng(readFileSync(file));
      assert.equal(shown.width, written.width, row.name);
      assert.equal(shown.height, written.height, row.name);
      assert.ok(shown.rgb.equals(written.rgb), `${row.name}: pixels differ`);
      ++compared;
    }
    if (!input.endsWith("cut.dat")) assert.ok(compared > 0, "no picture compared");
  });
}

// The worker's conversion (the engine's Converter writing into the worker's memory)
// against orvconv-cli's files, byte for byte, PNG included: the same zlib at the same level.
const conversions = [
  { name: "PNG", args: ["-f", "png"], options: { outputMode: 1, animation: 0 } },
  { name: "BMP, animations as WebP", args: ["--animation", "webp"], options: { outputMode: 0, animation: 1 } },
  { name: "PNG, animations as sheets", args: ["-f", "png", "--animation", "sheet"], options: { outputMode: 1, animation: 3 } },
];
for (const conversion of conversions) {
  test(`the worker converts as orvconv-cli does: ${conversion.name}`, async () => {
    for (const input of inputs) {
      const expected = filesUnder(cliConvert(input, conversion.args));
      const converted = await page.evaluate(
        async ({ bytes, name, options }) => {
          const worker = new Worker("/worker.js", { type: "module" });
          const replies = [];
          const next = () => new Promise((resolve) => replies.push(resolve));
          let waiting = next();
          worker.onmessage = (event) => {
            const resolve = replies.shift();
            waiting = next();
            resolve(event.data);
          };
          await waiting;
          const ask = async (request) => {
            const reply = waiting;
            worker.postMessage(request);
            const answer = await reply;
            if (answer.error) throw new Error(answer.error);
            return answer.value;
          };
          const file = new File([new Uint8Array(bytes)], name);
          await ask({ id: 1, type: "open", file });
          const full = { aniRaw: false, frameMs: 100, sheetColumns: 0, ...options };
          const result = await ask({ id: 2, type: "convert", options: full, settings: new Uint8Array(), chosen: [] });
          worker.terminate();
          return result.files.map((f) => [f.path, Array.from(f.data)]);
        },
        { bytes: Array.from(readFileSync(input)), name: basename(input), options: conversion.options },
      );
      const got = new Map(converted.map(([path, data]) => [path, Buffer.from(data)]));
      assert.deepEqual([...got.keys()].sort(), [...expected.keys()].sort(), basename(input));
      for (const [path, data] of expected) assert.ok(got.get(path).equals(data), `${basename(input)}: ${path}`);
    }
  });
}

test("a screenshot of the sample with a picture shown", async () => {
  await openInPage(inputs[0]);
  const rows = await shownRows();
  await shownPicture(rows.find((row) => row.kind === "image").index);
  const dir = join(buildDir, "web-test");
  mkdirSync(dir, { recursive: true });
  await page.screenshot({ path: join(dir, "page.png") });
});

test("no request leaves the page's origin", () => {
  assert.ok(requests.length > 0);
  const outside = requests.filter((url) => !url.startsWith(`${server.origin}/`));
  assert.deepEqual(outside, []);
});
