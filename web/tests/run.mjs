// The page in Debian's Chromium, driven by playwright-core, against orvconv-cli:
//   node web/tests/run.mjs BUILD_DIR WEB_DIR
// BUILD_DIR holds bin/orvconv-cli, bin/orvpack and sample/; WEB_DIR the built page.
// Every list shown must be orvconv-cli's --list, every picture shown the PNG it writes
// (read back by hand), the worker's conversion its files byte for byte, and no request
// may leave the page's origin.
import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import {
  existsSync,
  mkdirSync,
  mkdtempSync,
  readdirSync,
  readFileSync,
  rmSync,
  statSync,
  writeFileSync,
} from "node:fs";
import { tmpdir } from "node:os";
import { basename, dirname, join, relative, resolve } from "node:path";
import { after, before, test } from "node:test";
import { chromium } from "playwright-core";
import { archiveEntries, makeArchives, packArchive } from "./fixtures.mjs";
import { decodePng } from "./png.mjs";
import { readZip } from "./zip.mjs";
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

// A page of its own (address: what follows the origin), its requests logged as the
// others are; closed with its context.
async function freshPage(address = "/", locale = "en-US") {
  const context = await browser.newContext({ viewport: { width: 1100, height: 700 }, locale });
  context.on("request", (request) => requests.push(request.url()));
  const shown = await context.newPage();
  shown.on("pageerror", (error) => console.error(`page error: ${error.message}`));
  await shown.goto(`${server.origin}${address}`);
  return { context, shown };
}

// orvconv-cli with args; its status and stdout.
function runCli(args) {
  const run = spawnSync(cli, args, { encoding: "utf8", maxBuffer: 64 << 20 });
  assert.ok(run.status === 0 || run.status === 5, `orvconv-cli ${args.join(" ")}: ${run.status} ${run.stderr}`);
  return run;
}

// The records of orvconv-cli --list: index, name, offset, size, kind, past-end. --list
// calls pictures "image", for the scripts that read it; everywhere else they are "picture".
function cliList(input) {
  return runCli(["--list", input])
    .stdout.split("\n")
    .filter((line) => line !== "")
    .map((line) => {
      const [index, name, offset, size, listed, pastEnd] = line.split("\t");
      const kind = listed === "image" ? "picture" : listed;
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

// The rows the list has in the page, top to bottom.
async function shownRows() {
  return page.$$eval("#entries .row", (rows) =>
    rows
      .sort((a, b) => Number(a.dataset.at) - Number(b.dataset.at))
      .map((row) => ({
        index: Number(row.dataset.index),
        name: row.children[0].textContent,
        kind: row.children[1].textContent,
        size: Number(row.children[2].textContent.replaceAll(",", "")),
        pastEnd: row.classList.contains("past-end"),
      })),
  );
}

// The canvas as RGB bytes (null when empty).
async function canvasRgb() {
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

async function previewEntry(index) {
  await page.click(`#entries .row[data-index="${index}"]`);
  await page.waitForFunction((i) => document.querySelector("#preview").dataset.shown === String(i), index);
}

// The picture on the canvas after clicking entry index: width, height, RGB bytes.
async function shownPicture(index) {
  await previewEntry(index);
  return canvasRgb();
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
    for (const row of rows.filter((r) => r.kind === "picture")) {
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
    if (!/(cut|twice)\.dat$/.test(input)) assert.ok(compared > 0, "no picture compared");
  });
}

// The engine worker asked directly, as the page asks it: one worker for these tests,
// opened on an input given as bytes.
async function askWorker(request) {
  const answer = await page.evaluate(async (message) => {
    if (!window.testWorker) {
      const worker = new Worker("/worker.js", { type: "module" });
      const replies = new Map();
      let nextId = 1;
      window.testWorker = {
        ready: new Promise((resolve) => replies.set(0, resolve)),
        ask: (body) =>
          new Promise((resolve) => {
            const id = nextId++;
            replies.set(id, resolve);
            worker.postMessage({ ...body, id });
          }),
      };
      const partials = new Map();
      worker.onmessage = (event) => {
        const reply = event.data;
        if ("partial" in reply) {
          partials.set(reply.id, [...(partials.get(reply.id) ?? []), reply.partial]);
          return;
        }
        const resolve = replies.get(reply.id);
        replies.delete(reply.id);
        resolve?.({ ...reply, partials: partials.get(reply.id) ?? [] });
        partials.delete(reply.id);
      };
    }
    await window.testWorker.ready;
    const body = { ...message };
    if (body.fileBytes) {
      body.file = new File([new Uint8Array(body.fileBytes)], body.fileName);
      delete body.fileBytes;
    }
    if (body.settings) body.settings = new Uint8Array(body.settings);
    // Uint8Arrays as plain arrays, to cross into the test; other typed arrays as arrays.
    const plain = (value) =>
      value instanceof Uint8Array ? { bytes: Array.from(value) }
      : ArrayBuffer.isView(value) ? Array.from(value)
      : Array.isArray(value) ? value.map(plain)
      : value !== null && typeof value === "object"
        ? Object.fromEntries(Object.entries(value).map(([k, v]) => [k, plain(v)]))
        : value;
    const reply = await window.testWorker.ask(body);
    return plain(reply);
  }, request);
  if (answer.error !== undefined) throw new Error(answer.error);
  if (request.type === "convert") answer.value.partials = answer.partials;
  const typed = (value) =>
    Array.isArray(value) ? value.map(typed)
    : value !== null && typeof value === "object"
      ? "bytes" in value && Object.keys(value).length === 1 ? Buffer.from(value.bytes)
        : Object.fromEntries(Object.entries(value).map(([k, v]) => [k, typed(v)]))
      : value;
  return typed(answer.value);
}

// What the worker says of input, with its entry columns as an object an entry.
async function openInWorker(input) {
  const opened = await askWorker({ type: "open", fileBytes: Array.from(readFileSync(input)), fileName: basename(input) });
  const { names, kindNames, kinds } = opened.entries;
  const named = kinds.length === 0 ? [] : names.split("\n");
  assert.equal(named.length, kinds.length, "a name an entry");
  opened.entries = named.map((name, index) => ({ index, name, kind: kindNames[kinds[index]] }));
  return opened;
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
      const expected = filesUnder(dirname(cliConvert(input, conversion.args)));
      await openInWorker(input);
      const options = { aniRaw: false, frameMs: 100, sheetColumns: 0, ...conversion.options };
      const converted = await askWorker({ type: "convert", options, settings: [], chosen: [] });
      // The files sent while it converted, then the rest.
      const files = [...converted.partials.flatMap((partial) => partial.files), ...converted.files];
      const got = new Map(files.map((file) => [file.path, file.data]));
      if (input.endsWith(".dat")) assert.ok(converted.partials.some((partial) => partial.files.length > 0));
      // Each file once: a name two entries write is sent as the later entry wrote it.
      assert.deepEqual(files.map((file) => file.path).sort(), [...expected.keys()].sort(), basename(input));
      for (const [path, data] of expected) assert.ok(got.get(path).equals(data), `${basename(input)}: ${path}`);
    }
  });
}

test("the worker refuses choices orvconv-cli refuses and entries the input lacks", async () => {
  await openInWorker(inputs[0]);
  const valid = { outputMode: 0, animation: 0, aniRaw: false, frameMs: 100, sheetColumns: 0 };
  const refused = [{ outputMode: 3 }, { animation: -1 }, { frameMs: 0 }, { frameMs: 655351 }, { sheetColumns: 65536 }];
  for (const change of refused) {
    const request = { type: "convert", options: { ...valid, ...change }, settings: [], chosen: [] };
    await assert.rejects(askWorker(request), /unknown output choice/, JSON.stringify(change));
  }
  await assert.rejects(askWorker({ type: "convert", options: valid, settings: [], chosen: [65536] }), /no such entry/);
  for (const type of ["details", "picture", "sound", "bytes"])
    await assert.rejects(askWorker({ type, index: 11 }), /no such entry/, type);
  await assert.rejects(askWorker({ type: "frames", index: 11, settings: [] }), /no such entry/);
});

// The fmt fields and data chunk of a WAV file, read by hand.
function readWav(bytes) {
  let fmt = null;
  for (let at = 12; at + 8 <= bytes.length; ) {
    const id = bytes.toString("latin1", at, at + 4);
    const size = bytes.readUInt32LE(at + 4);
    if (id === "fmt ") fmt = { channels: bytes.readUInt16LE(at + 10), rate: bytes.readUInt32LE(at + 12) };
    if (id === "data") return { ...fmt, samples: bytes.subarray(at + 8, at + 8 + size) };
    at += 8 + size + (size & 1);
  }
  throw new Error("no data chunk");
}

test("sounds, raw entries and composed frames from the worker equal orvconv-cli's files", async () => {
  const settings = readFileSync(join(buildDir, "sample/sample.ini"));
  const compared = { sound: 0, other: 0, frame: 0 };
  // Entries that write one name twice are left to the conversions above.
  for (const input of inputs.filter((path) => !/(cut|twice)\.dat$/.test(path))) {
    const folder = cliConvert(input, ["-f", "png", "-s", join(buildDir, "sample/sample.ini")]);
    const written = filesUnder(folder);
    const opened = await openInWorker(input);
    for (const entry of opened.entries) {
      const stem = entry.name.replace(/\.[^.]*$/, "");
      if (entry.kind === "sound") {
        const sound = await askWorker({ type: "sound", index: entry.index });
        const wav = readWav(written.get(`${stem}.wav`));
        assert.deepEqual([sound.channels, sound.rate], [wav.channels, wav.rate], entry.name);
        assert.ok(sound.samples.equals(wav.samples), `${entry.name}: samples differ`);
        ++compared.sound;
      } else if (entry.kind === "other") {
        const bytes = await askWorker({ type: "bytes", index: entry.index });
        assert.ok(bytes.equals(written.get(entry.name)), `${entry.name}: bytes differ`);
        ++compared.other;
      } else if (entry.kind === "animation") {
        const frames = await askWorker({ type: "frames", index: entry.index, settings: Array.from(settings) });
        const names = [...written.keys()].filter((name) => name.startsWith(`${stem}_`)).sort();
        assert.deepEqual(
          frames.map((frame) => `${stem}_${String(frame.number).padStart(4, "0")}`).sort(),
          names.map((name) => name.replace(/\.[^.]*$/, "")),
          entry.name,
        );
        for (const frame of frames.filter((f) => f.action === "drawn")) {
          const png = decodePng(written.get(`${stem}_${String(frame.number).padStart(4, "0")}.png`));
          assert.deepEqual([frame.width, frame.height], [png.width, png.height]);
          assert.ok(frame.rgb.equals(png.rgb), `${entry.name}: frame ${frame.number} differs`);
          ++compared.frame;
        }
      }
    }
  }
  assert.ok(compared.sound > 0 && compared.other > 0 && compared.frame > 0, JSON.stringify(compared));
});

// What the page's "Take out everything" button gives: a ZIP holding what orvconv-cli
// writes with the same choices, byte for byte.
const takeOuts = [
  { input: 0, args: ["-f", "png", "-s", "sample.ini"], format: "1", animation: "0", settings: true },
  { input: 0, args: ["--animation", "gif"], format: "0", animation: "2" },
  { input: 3, args: ["-f", "alpha", "--ani-raw"], format: "2", animation: "0", aniRaw: true },
  { input: 1, args: ["--animation", "webp"], format: "0", animation: "1" },
  { input: 6, args: [], format: "0", animation: "0" },
  { input: 0, args: ["-f", "png", "--animation", "sheet", "--sheet-columns", "3"], format: "1", animation: "3", sheetColumns: "3" },
  { input: 3, args: ["--animation", "sheet"], format: "0", animation: "3", sheetColumns: "" },
];
for (const choice of takeOuts) {
  const input = inputs[choice.input];
  test(`the ZIP of ${basename(input)} (${choice.args.join(" ")}) unpacks to orvconv-cli's tree`, async () => {
    const settings = join(buildDir, "sample/sample.ini");
    const args = choice.args.map((arg) => (arg === "sample.ini" ? settings : arg));
    const expected = filesUnder(dirname(cliConvert(input, args)));
    await openInPage(input);
    await page.selectOption("#format", choice.format);
    await page.selectOption("#animation", choice.animation);
    if (choice.sheetColumns !== undefined) await page.fill("#sheet-columns", choice.sheetColumns);
    await page.setChecked("#ani-raw", choice.aniRaw === true);
    await page.setInputFiles("#settings", choice.settings ? settings : []);
    const [download] = await Promise.all([page.waitForEvent("download"), page.click("#take-out-everything")]);
    const zip = readZip(readFileSync(await download.path()));
    assert.deepEqual([...zip.keys()].sort(), [...expected.keys()].sort());
    for (const [path, data] of expected) assert.ok(zip.get(path).equals(data), path);
  });
}

test("the selection taken out (Ctrl-click) holds orvconv-cli's files of those entries only", async () => {
  const mixed = inputs[3];
  const written = filesUnder(cliConvert(mixed, ["-f", "png"]));
  await openInPage(mixed);
  const rows = cliList(mixed);
  await page.selectOption("#format", "1");
  await page.selectOption("#animation", "0");
  await page.setChecked("#ani-raw", false);
  await page.setInputFiles("#settings", []);
  await page.click(`#entries .row[data-index="${rows.find((row) => row.name === "walk.ani").index}"]`);
  await page.click(`#entries .row[data-index="${rows.find((row) => row.name === "mono.pcm").index}"]`, {
    modifiers: ["Control"],
  });
  const [download] = await Promise.all([page.waitForEvent("download"), page.click("#take-out-selection")]);
  const zip = readZip(readFileSync(await download.path()));
  const expected = ["walk_0001.png", "walk_0002.png", "walk_0003.png", "walk_0004.png", "mono.wav"];
  assert.deepEqual([...zip.keys()].sort(), expected.map((name) => `mixed/${name}`).sort());
  for (const name of expected) assert.ok(zip.get(`mixed/${name}`).equals(written.get(name)), name);
});

test("into a folder (the browser's private file system as the chosen folder): orvconv-cli's tree", async () => {
  const sample = inputs[0];
  const expected = filesUnder(dirname(cliConvert(sample, ["--animation", "webp", "--frame-ms", "40"])));
  await openInPage(sample);
  await page.selectOption("#format", "0");
  await page.selectOption("#animation", "1");
  await page.fill("#frame-ms", "40");
  await page.evaluate(async () => {
    const root = await navigator.storage.getDirectory();
    await root.removeEntry("chosen", { recursive: true }).catch(() => {});
    const chosen = await root.getDirectoryHandle("chosen", { create: true });
    window.showDirectoryPicker = async () => chosen;
  });
  await page.check("#into-folder");
  await page.click("#take-out-everything");
  await page.waitForFunction(() => document.body.dataset.takeOut === "done");
  assert.equal(await page.textContent("#status"), "sample.dat: taken out");
  const files = await page.evaluate(async () => {
    const found = {};
    const walk = async (folder, prefix) => {
      for await (const [name, handle] of folder.entries()) {
        if (handle.kind === "directory") await walk(handle, `${prefix}${name}/`);
        else found[`${prefix}${name}`] = Array.from(new Uint8Array(await (await handle.getFile()).arrayBuffer()));
      }
    };
    await walk(await (await navigator.storage.getDirectory()).getDirectoryHandle("chosen"), "");
    return found;
  });
  assert.deepEqual(Object.keys(files).sort(), [...expected.keys()].sort());
  for (const [path, data] of expected) assert.ok(Buffer.from(files[path]).equals(data), path);
  await page.uncheck("#into-folder");
  await page.fill("#frame-ms", "100");
});

test("all open files into one ZIP: the tree orvconv-cli writes for the same inputs given at once", async () => {
  // Two inputs write into one output folder, some names in both (the later one's files
  // win there), and one is passed over.
  mkdirSync(join(work, "again"), { recursive: true });
  const sizesAgain = join(work, "again", "SIZES.DAT");
  const sizes = archiveEntries(readFileSync(inputs[2]));
  writeFileSync(
    sizesAgain,
    packArchive([
      ["pic0_1x1.cg", sizes.get("pic2_17x9.cg")],
      ["extra.txt", Buffer.from("only here")],
      ["pic5_320x240.cg", sizes.get("pic1_3x2.cg")],
    ]),
  );
  const notInput = join(work, "notes.txt");
  writeFileSync(notInput, "not an input");
  const given = [inputs[0], inputs[2], inputs[1], sizesAgain, notInput, inputs[4], inputs[5]];
  const settings = join(buildDir, "sample/sample.ini");
  const root = mkdtempSync(join(work, "cli-"));
  const args = ["-f", "png", "--animation", "sheet", "--sheet-columns", "2", "-s", settings];
  const run = spawnSync(cli, ["-q", "-j", "1", ...args, "-o", root, ...given], { encoding: "utf8" });
  assert.equal(run.status, 5, run.stderr); // cut.dat ends early
  const reason = /notes\.txt: passed over: (.*)$/m.exec(run.stderr)[1];
  const expected = filesUnder(root);

  const { context, shown } = await freshPage();
  try {
    await shown.setInputFiles("#file", given);
    await shown.waitForFunction(() => document.body.dataset.opened === "sample.dat");
    await shown.selectOption("#format", "1");
    await shown.selectOption("#animation", "3");
    await shown.fill("#sheet-columns", "2");
    await shown.setInputFiles("#settings", settings);
    const [download] = await Promise.all([shown.waitForEvent("download"), shown.click("#take-out-inputs")]);
    assert.equal(download.suggestedFilename(), "orvconv.zip");
    const zip = readZip(readFileSync(await download.path()));
    assert.deepEqual([...zip.keys()].sort(), [...expected.keys()].sort());
    for (const [path, data] of expected) assert.ok(zip.get(path).equals(data), path);
    await shown.waitForFunction(() => document.body.dataset.takeOut === "done");
    const cutShort = " — the file ends early: what is missing reads as zeros";
    const notes = [`notes.txt: passed over: ${reason}`, `cut.dat${cutShort}`];
    assert.match(run.stderr, /cut\.dat/);
    assert.equal(await shown.textContent("#status"), ["6 of 7 open files taken out", ...notes].join("\n"));
    // The input shown is still open in the page's own worker.
    const title = cliList(inputs[0]).find((row) => row.kind === "picture");
    await shown.click(`#entries .row[data-index="${title.index}"]`);
    await shown.waitForFunction((i) => document.querySelector("#preview").dataset.shown === String(i), title.index);
    assert.equal(await shown.$eval("#preview", (canvas) => canvas.width > 0), true);
  } finally {
    await context.close();
  }
});

test("Cancel ends a take-out of all open files; the file shown stays open", async () => {
  const many = join(work, "manyall.dat");
  writeFileSync(many, packArchive(Array.from({ length: 20000 }, (_, i) => [`m${i}.bin`, Buffer.from([i & 255])])));
  const sample = inputs[0];
  const readme = filesUnder(cliConvert(sample, [])).get("readme.txt").toString("latin1");
  const { context, shown } = await freshPage();
  try {
    await shown.setInputFiles("#file", [sample, many]);
    await shown.waitForFunction(() => document.body.dataset.opened === "sample.dat");
    await shown.click("#take-out-inputs");
    await shown.waitForFunction(() => document.querySelector("#status").textContent.includes("(file 2 of 2)"));
    await shown.click("#cancel");
    await shown.waitForFunction(() => document.body.dataset.takeOut === "done");
    assert.equal(await shown.textContent("#status"), "manyall.dat: cancelled; what was written stays");
    await shown.click('#entries .row[data-index="0"]');
    await shown.waitForFunction(() => document.querySelector("#preview").dataset.shown === "0");
    assert.equal(await shown.textContent("#text-view"), readme);
  } finally {
    await context.close();
  }
});

// No input makes the engine loop: the engine's worker is kept busy from outside, through
// the browser's debugging protocol, as a loop would keep it, and the watchdog's time is
// made short for this page.
test("a worker silent past the watchdog's time is ended, started anew with the input; the tab stays usable", async () => {
  const mixed = inputs[3];
  const written = filesUnder(cliConvert(mixed, ["-f", "png"]));
  const rows = cliList(mixed);
  const index = (name) => rows.find((row) => row.name === name).index;
  const { context, shown } = await freshPage("/?watchdog-ms=1500");
  try {
    await shown.setInputFiles("#file", mixed);
    await shown.waitForFunction(() => document.body.dataset.opened === "mixed.dat");
    const worker = shown.workers().find((w) => w.url().endsWith("/worker.js"));
    await worker.evaluate(() => void setTimeout(() => { for (;;); }));
    const ended = new Promise((resolve) => worker.once("close", resolve));
    await shown.click(`#entries .row[data-index="${index("title.cg")}"]`);
    // The page answers while its worker is silent.
    await shown.fill("#filter", "walk");
    assert.deepEqual(await shown.$$eval("#entries .row", (shownRows) => shownRows.map((row) => row.children[0].textContent)), ["walk.ani"]);
    await shown.fill("#filter", "");
    await ended;
    await shown.waitForFunction(() => document.querySelector("#status").textContent.includes("1.5"));
    assert.equal(await shown.textContent("#status"), "The engine stopped (it took longer than 1.5 s); it has been started again.");
    // The new worker has the same input open: its pictures are orvconv-cli's.
    for (const name of ["絵.cg", "title.cg"]) {
      await shown.click(`#entries .row[data-index="${index(name)}"]`);
      await shown.waitForFunction((i) => document.querySelector("#preview").dataset.shown === String(i), index(name));
      const canvas = await shown.$eval("#preview", (preview) => {
        const rgba = preview.getContext("2d").getImageData(0, 0, preview.width, preview.height).data;
        return Array.from(rgba.filter((_, k) => k % 4 !== 3));
      });
      assert.ok(Buffer.from(canvas).equals(decodePng(written.get(name.replace(".cg", ".png"))).rgb), name);
    }
  } finally {
    await context.close();
  }
});

test("Cancel ends a take-out under way; the page goes on with the same input", async () => {
  const count = 20000;
  const many = join(work, "many.dat");
  writeFileSync(many, packArchive(Array.from({ length: count }, (_, i) => [`m${i}.bin`, Buffer.from([i & 255])])));
  await openInPage(many);
  await page.click("#take-out-everything");
  await page.waitForFunction(() => document.querySelector("#progress").value > 0);
  await page.click("#cancel");
  await page.waitForFunction(() => document.body.dataset.takeOut === "done");
  assert.equal(await page.textContent("#status"), "many.dat: cancelled; what was written stays");
  // The last entry, reached with the End key, is previewed by a worker started anew.
  await page.focus("#entries");
  await page.keyboard.press("End");
  await page.waitForFunction((i) => document.querySelector("#preview").dataset.shown === String(i), count - 1);
  assert.equal(await page.textContent("#text-view"), "00000000  " + "1f".padEnd(47) + "  .");
});

// Archives orvconv-cli refuses to convert, each ending its run with a reason: a picture
// too large for memory, a name that would leave the output folder, an unknown sound.
test("what orvconv-cli refuses the page refuses with its words, and goes on", async () => {
  const huge = Buffer.alloc(5 + 384 + 16);
  huge.writeUInt16LE(65535, 1);
  huge.writeUInt16LE(65535, 3);
  const refused = {
    "huge.dat": [["huge.cg", huge]],
    "leaving.dat": [["../x.txt", Buffer.from("y")]],
    "sound9.dat": [["s.pcm", Buffer.from([0, 0, 0, 9, 1, 2])]],
  };
  const cwd = mkdtempSync(join(work, "cwd-"));
  for (const [name, entries] of Object.entries(refused)) {
    const archive = join(work, name);
    writeFileSync(archive, packArchive([["a.txt", Buffer.from("first")], ...entries]));
    // Without -o, as the page's ZIP root is: the paths it names are inside the ZIP.
    const run = spawnSync(resolve(cli), ["-q", archive], { cwd, encoding: "utf8" });
    assert.equal(run.status, 1, name);
    const reason = run.stderr.replace(/^orvconv-cli: /, "").trimEnd();
    await openInPage(archive);
    await page.click("#take-out-everything");
    await page.waitForFunction(() => document.body.dataset.takeOut === "done");
    assert.equal(await page.textContent("#status"), `${name}: ${reason}`);
    await previewEntry(0);
    assert.equal(await page.textContent("#text-view"), "first");
  }
});

// The fuzz corpus of whole input files (a control byte, bit 0 for an animation file, then
// the file): the page lists what orvconv-cli lists, or passes the file over with its
// words, shows every picture entry and thumbnail or says what is wrong, and stays usable.
test("inputs of the fuzz corpus: the page says what orvconv-cli says and stays usable", async () => {
  const corpus = new URL("../../fuzz/corpus/convert_input_file_fuzzer/", import.meta.url).pathname;
  const files = readdirSync(corpus).map((name) => [name, readFileSync(join(corpus, name))]);
  files.push(["not_a_pack", Buffer.from("\0PACK but not pack")]);
  let passedOverSeen = false;
  for (const [name, bytes] of files) {
    const input = join(work, `${name}${(bytes[0] & 1) !== 0 ? ".ani" : ".dat"}`);
    writeFileSync(input, bytes.subarray(1));
    await openInPage(input);
    const listed = spawnSync(cli, ["--list", input], { encoding: "utf8" });
    const passedOver = /: passed over: (.*)$/m.exec(listed.stderr);
    if (passedOver) {
      assert.equal(await page.textContent("#status"), `${basename(input)}: passed over: ${passedOver[1]}`);
      passedOverSeen = true;
      continue;
    }
    const rows = await shownRows();
    if (!input.endsWith(".ani")) assert.deepEqual(rows, cliList(input), name);
    for (const row of rows.filter((r) => r.kind === "picture")) await shownPicture(row.index);
    // Their thumbnails are made, or the grid says there are none.
    if (rows.length === 0) continue;
    await page.click("#view-thumbnails");
    await thumbnailsMade();
    await page.click("#view-list");
  }
  assert.ok(passedOverSeen);
  await openInPage(inputs[0]);
  assert.deepEqual(await shownRows(), cliList(inputs[0]));
});

test("previews: frames composed with the chosen settings, stepped and played; sounds; text and hex", async () => {
  const sample = inputs[0];
  const settings = join(buildDir, "sample/sample.ini");
  const written = filesUnder(cliConvert(sample, ["-f", "png", "-s", settings]));
  await openInPage(sample);
  await page.setInputFiles("#settings", settings);
  const rows = cliList(sample);
  const byName = (name) => rows.find((row) => row.name === name).index;

  // Every frame file orvconv-cli writes, in order, stepping forward; then round again.
  await previewEntry(byName("walk.ani"));
  const frameFiles = [...written.keys()].filter((name) => /^walk_\d+\.png$/.test(name)).sort();
  assert.ok(frameFiles.length > 1);
  for (const [k, name] of frameFiles.entries()) {
    if (k > 0) await page.click("#next-frame");
    assert.equal(await page.$eval("#preview", (canvas) => canvas.dataset.frame), String(Number(name.slice(5, 9))));
    const png = decodePng(written.get(name));
    const shown = await canvasRgb();
    assert.deepEqual([shown.width, shown.height], [png.width, png.height], name);
    assert.ok(shown.rgb.equals(png.rgb), `${name}: pixels differ`);
  }
  await page.click("#next-frame");
  assert.equal(await page.$eval("#preview", (canvas) => canvas.dataset.frame), String(Number(frameFiles[0].slice(5, 9))));
  // Played, it moves on by itself, and stops when paused.
  await page.fill("#frame-ms", "20");
  await page.click("#play");
  await page.waitForFunction((first) => document.querySelector("#preview").dataset.frame !== first, String(Number(frameFiles[0].slice(5, 9))));
  await page.click("#play");
  const paused = await page.$eval("#preview", (canvas) => canvas.dataset.frame);
  await page.waitForTimeout(100);
  assert.equal(await page.$eval("#preview", (canvas) => canvas.dataset.frame), paused);
  await page.setInputFiles("#settings", []);

  // A sound plays the WAV file's samples.
  await page.evaluate(() => {
    const start = AudioBufferSourceNode.prototype.start;
    AudioBufferSourceNode.prototype.start = function (...args) {
      window.played = Array.from({ length: this.buffer.numberOfChannels }, (_, c) => Array.from(this.buffer.getChannelData(c)));
      window.playedRate = this.buffer.sampleRate;
      return start.apply(this, args);
    };
  });
  for (const name of ["beep6.pcm", "chord7.pcm"]) {
    await previewEntry(byName(name));
    await page.click("#play-sound");
    const played = await page.evaluate(() => ({ channels: window.played, rate: window.playedRate }));
    const wav = readWav(written.get(name.replace(".pcm", ".wav")));
    assert.equal(played.rate, wav.rate);
    assert.equal(played.channels.length, wav.channels);
    for (let c = 0; c < wav.channels; ++c) {
      const expected = Array.from({ length: wav.samples.length / 2 / wav.channels }, (_, k) =>
        Math.fround(wav.samples.readInt16LE((k * wav.channels + c) * 2) / 32768),
      );
      assert.deepEqual(played.channels[c], expected, `${name}: channel ${c}`);
    }
    await page.click("#play-sound");
  }

  // Text as CP932, read here by iconv; bytes that are no text, and any entry asked, as hex.
  await previewEntry(byName("タイトル.txt"));
  const expectedText = spawnSync("iconv", ["-f", "CP932", "-t", "UTF-8"], { input: written.get("タイトル.txt") }).stdout;
  assert.equal(await page.$eval("#text-view", (view) => view.dataset.as), "text");
  assert.equal(await page.textContent("#text-view"), expectedText.toString("utf8"));
  await previewEntry(byName("bytes.bin"));
  assert.equal(await page.$eval("#text-view", (view) => view.dataset.as), "hex");
  const hex = (await page.textContent("#text-view")).split("\n").map((line) => line.slice(10, 57).trim().split(" "));
  assert.ok(Buffer.from(hex.flat().join(""), "hex").equals(written.get("bytes.bin")));
  await previewEntry(byName("readme.txt"));
  await page.check("#hex");
  assert.equal(await page.$eval("#text-view", (view) => view.dataset.as), "hex");
  await page.uncheck("#hex");
});

// The rows in view with their positions in the list, and how many the list holds.
async function listInView() {
  await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
  return page.evaluate(() => ({
    count: Number(document.querySelector("#entries").dataset.count),
    rows: [...document.querySelectorAll("#entries .row")].map((row) => ({
      at: Number(row.dataset.at),
      index: Number(row.dataset.index),
      name: row.children[0].textContent,
    })),
  }));
}

test("65,535 entries: only rows in view exist; natural order, filter and scrolling agree with --list", async () => {
  // Table order f65535.bin ... f1.bin, so that natural order is the table turned round.
  const count = 65535;
  const long = join(work, "long.dat");
  writeFileSync(long, packArchive(Array.from({ length: count }, (_, i) => [`f${count - i}.bin`, Buffer.alloc(i % 3)])));
  const listed = cliList(long);
  await openInPage(long);
  let view = await listInView();
  assert.equal(view.count, count);
  assert.ok(view.rows.length > 10 && view.rows.length < 100, `${view.rows.length} rows in the page`);
  assert.deepEqual(await shownRows(), listed.slice(0, view.rows.length));

  await page.$eval("#entries", (list) => (list.scrollTop = list.scrollHeight));
  view = await listInView();
  assert.equal(view.rows.at(-1).index, count - 1);
  for (const row of view.rows) assert.equal(row.name, listed[row.at].name);

  await page.click('#entries [data-sort="name"]');
  view = await listInView();
  for (const row of view.rows) assert.equal(row.name, `f${row.at + 1}.bin`);
  await page.click('#entries [data-sort="name"]');
  view = await listInView();
  for (const row of view.rows) assert.equal(row.name, `f${count - row.at}.bin`);

  await page.fill("#filter", "F6553");
  view = await listInView();
  assert.equal(view.count, 7);
  assert.deepEqual(
    view.rows.map((row) => row.name),
    ["f65535.bin", "f65534.bin", "f65533.bin", "f65532.bin", "f65531.bin", "f65530.bin", "f6553.bin"],
  );
  // A third click, and the filter emptied: table order again.
  await page.click('#entries [data-sort="name"]');
  await page.fill("#filter", "");
  await page.$eval("#entries", (list) => (list.scrollTop = 0));
  view = await listInView();
  assert.deepEqual(await shownRows(), listed.slice(0, view.rows.length));
});

test("sorted by details: pictures by width and height, then animations, sounds, others; a third click, table order", async () => {
  const mixed = archiveEntries(readFileSync(inputs[3]));
  const sizes = archiveEntries(readFileSync(inputs[2]));
  const archive = join(work, "details.dat");
  writeFileSync(
    archive,
    packArchive([
      ["notes.txt", mixed.get("notes.txt")],
      ["wide.cg", sizes.get("pic5_320x240.cg")],
      ["s.pcm", mixed.get("stereo.pcm")],
      ["tiny.cg", sizes.get("pic0_1x1.cg")],
      ["m.pcm", mixed.get("mono.pcm")],
      ["walk.ani", mixed.get("walk.ani")],
      ["mid.cg", sizes.get("pic4_101x37.cg")],
      ["odd.cg", sizes.get("pic2_17x9.cg")],
      ["small.cg", sizes.get("pic1_3x2.cg")],
      ["odd2.cg", sizes.get("pic2_17x9.cg")],
      ["plain.txt", mixed.get("notes.txt")],
      ["square.cg", sizes.get("pic3_64x48.cg")],
    ]),
  );
  // The keys from orvconv-cli's files: picture sizes from its PNG files, sound formats
  // and lengths from its WAV files.
  const written = filesUnder(cliConvert(archive, ["-f", "png"]));
  const rank = { picture: 0, animation: 1, sound: 2, other: 3 };
  const keyOf = (row) => {
    const stem = row.name.replace(/\.[^.]*$/, "");
    if (row.kind === "picture") {
      const png = decodePng(written.get(`${stem}.png`));
      return [rank.picture, png.width, png.height];
    }
    if (row.kind !== "sound") return [rank[row.kind]];
    const wav = readWav(written.get(`${stem}.wav`));
    return [rank.sound, wav.rate, wav.channels, wav.samples.length / wav.channels];
  };
  const listed = cliList(archive);
  const keys = new Map(listed.map((row) => [row.index, keyOf(row)]));
  const compare = (a, b) => {
    const [ka, kb] = [keys.get(a.index), keys.get(b.index)];
    for (let k = 0; k < Math.max(ka.length, kb.length); ++k) if (ka[k] !== kb[k]) return (ka[k] ?? 0) - (kb[k] ?? 0);
    return 0;
  };
  await openInPage(archive);
  await page.click('#entries [data-sort="details"]');
  await page.waitForSelector('#entries[data-details="complete"]');
  const names = async () => (await shownRows()).map((row) => row.name);
  const byIndex = (sign) => (a, b) => sign * compare(a, b) || a.index - b.index;
  assert.deepEqual(await names(), [...listed].sort(byIndex(1)).map((row) => row.name));
  for (const [index, [, width, height]] of [...keys].filter(([, key]) => key[0] === rank.picture)) {
    const cell = `#entries .row[data-index="${index}"] > :nth-child(4)`;
    await page.waitForFunction((selector) => document.querySelector(selector).textContent !== "", cell);
    assert.equal(await page.textContent(cell), `${width} × ${height}`);
  }
  await page.click('#entries [data-sort="details"]');
  assert.deepEqual(await names(), [...listed].sort(byIndex(-1)).map((row) => row.name));
  await page.click('#entries [data-sort="details"]');
  assert.deepEqual(await names(), listed.map((row) => row.name));
});

// The thumbnail cells in view: entry index, position, and the canvas as RGB (null: none).
async function cellsInView() {
  return page.$$eval("#thumbnails .cell", (cells) =>
    cells.map((cell) => {
      const canvas = cell.querySelector("canvas");
      let rgb = null;
      if (canvas) {
        const rgba = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data;
        rgb = { width: canvas.width, height: canvas.height, bytes: Array.from(rgba.filter((_, k) => k % 4 !== 3)) };
      }
      return { index: Number(cell.dataset.index), at: Number(cell.dataset.at), thumbnail: cell.dataset.thumbnail, rgb };
    }),
  );
}

// Until the grid shows cells, and every picture and animation cell in view has its
// thumbnail (or has none).
async function thumbnailsMade(on = page) {
  await on.waitForFunction(() => {
    const cells = [...document.querySelectorAll("#thumbnails .cell")];
    const made = (cell) => cell.dataset.thumbnail !== undefined || !["picture", "animation"].includes(cell.dataset.kind);
    return cells.length > 0 && cells.every(made);
  });
}

// A picture made small as the grid shows it: every step-th pixel of every step-th row,
// both sides at most 96 pixels.
function shrunk(png) {
  const step = Math.ceil(Math.max(png.width, png.height) / 96);
  const [width, height] = [Math.ceil(png.width / step), Math.ceil(png.height / step)];
  const bytes = [];
  for (let y = 0; y < height; ++y) {
    for (let x = 0; x < width; ++x) bytes.push(...png.rgb.subarray((y * step * png.width + x * step) * 3, (y * step * png.width + x * step) * 3 + 3));
  }
  return { width, height, bytes };
}

test("thumbnails: each picture, and each animation's first frame, as orvconv-cli writes it; a click previews", async () => {
  await page.setInputFiles("#settings", []);
  for (const input of [inputs[0], inputs[2], inputs[3]]) {
    const written = filesUnder(cliConvert(input, ["-f", "png"]));
    await openInPage(input);
    await page.click("#view-thumbnails");
    await thumbnailsMade();
    const cells = await cellsInView();
    const rows = cliList(input);
    assert.equal(cells.length, rows.length);
    let compared = 0;
    for (const cell of cells) {
      const row = rows[cell.index];
      const stem = row.name.replace(/\.[^.]*$/, "");
      const first = [...written.keys()].filter((name) => name.startsWith(`${stem}_`) && name.endsWith(".png")).sort()[0];
      const file = row.kind === "picture" ? `${stem}.png` : row.kind === "animation" ? first : undefined;
      if (file === undefined || !written.has(file)) {
        assert.equal(cell.rgb, null, row.name);
        continue;
      }
      assert.deepEqual(cell.rgb, shrunk(decodePng(written.get(file))), row.name);
      ++compared;
    }
    assert.ok(compared > 0 && compared === cells.filter((cell) => cell.rgb !== null).length, basename(input));
    const picked = cells.find((cell) => cell.rgb !== null);
    await page.click(`#thumbnails .cell[data-index="${picked.index}"]`);
    await page.waitForFunction((i) => document.querySelector("#preview").dataset.shown === String(i), picked.index);
    // The arrow keys move on through the grid: right, then down a row of cells (to the last
    // cell where the row below ends first).
    const columns = await page.$$eval("#thumbnails .cell", (all) => all.filter((cell) => cell.style.top === all[0].style.top).length);
    for (const [key, step] of [["ArrowRight", 1], ["ArrowDown", columns]]) {
      const from = Number(await page.$eval("#thumbnails .cell.focused", (cell) => cell.dataset.at));
      const to = cells.find((cell) => cell.at === Math.min(cells.length - 1, from + step));
      await page.keyboard.press(key);
      await page.waitForFunction((i) => document.querySelector("#preview").dataset.shown === String(i), to.index);
      assert.ok(await page.$eval(`#thumbnails .cell[data-index="${to.index}"]`, (cell) => cell.classList.contains("focused")));
    }
    await page.click("#view-list");
    // The list paints its rows once it is in view again.
    await page.waitForSelector("#entries .row.focused");
    const focused = await page.$eval("#entries .row.focused", (row) => [Number(row.dataset.index), row.classList.contains("selected")]);
    assert.deepEqual(focused, [(await page.$eval("#preview", (preview) => Number(preview.dataset.shown))), true]);
  }
});

test("65,535 pictures as thumbnails: only the cells in view exist, and only their pictures are decoded", async () => {
  const count = 65535;
  const picture = archiveEntries(readFileSync(inputs[2])).get("pic2_17x9.cg");
  const many = join(work, "thumbs.dat");
  writeFileSync(many, packArchive(Array.from({ length: count }, (_, i) => [`p${i}.cg`, picture])));
  const expected = shrunk(decodePng(filesUnder(cliConvert(inputs[2], ["-f", "png"])).get("pic2_17x9.png")));
  await openInPage(many);
  await page.click("#view-thumbnails");
  await thumbnailsMade();
  const top = await cellsInView();
  assert.ok(top.length > 10 && top.length < 100, `${top.length} cells in the page`);
  const decoded = async () => Number(await page.getAttribute("#thumbnails", "data-decoded"));
  assert.equal(await decoded(), top.length);
  // To the end at once: the cells passed over are never decoded.
  await page.$eval("#thumbnails", (grid) => (grid.scrollTop = grid.scrollHeight));
  await page.waitForFunction(() => document.querySelector('#thumbnails .cell[data-at="65534"]') !== null);
  await thumbnailsMade();
  const bottom = await cellsInView();
  assert.ok(bottom.some((cell) => cell.index === count - 1));
  assert.equal(await decoded(), top.length + bottom.length);
  for (const cell of bottom) assert.deepEqual(cell.rgb, expected, `p${cell.index}.cg`);
  await page.click("#view-list");
});

test("several files by the picker, a folder's inputs and a dropped file are each listed as --list lists them", async () => {
  const [sizes, mixed] = [inputs[2], inputs[3]];
  const before = await page.$$eval("#inputs option", (options) => options.length);
  await page.setInputFiles("#file", [sizes, mixed]);
  await page.waitForFunction(() => document.body.dataset.opened === "sizes.dat");
  assert.deepEqual(await shownRows(), cliList(sizes));
  await page.selectOption("#inputs", String(before + 1));
  await page.waitForFunction(() => document.body.dataset.opened === "mixed.dat");
  assert.deepEqual(await shownRows(), cliList(mixed));

  // A folder: its .dat and .ani files at any depth, nothing else.
  const folder = join(work, "folder");
  mkdirSync(join(folder, "deeper"), { recursive: true });
  writeFileSync(join(folder, "a.DAT"), readFileSync(sizes));
  writeFileSync(join(folder, "deeper", "walk.ani"), readFileSync(inputs[1]));
  writeFileSync(join(folder, "notes.txt"), "not an input");
  await page.setInputFiles("#folder", folder);
  await page.waitForFunction(() => document.body.dataset.opened !== undefined);
  const added = await page.$$eval("#inputs option", (options) => options.map((option) => option.textContent));
  assert.deepEqual(added.slice(before + 2).sort(), ["folder/a.DAT", "folder/deeper/walk.ani"]);

  const bytes = Array.from(readFileSync(mixed));
  await page.evaluate((data) => {
    const transfer = new DataTransfer();
    transfer.items.add(new File([new Uint8Array(data)], "dropped.dat"));
    document.body.dispatchEvent(new DragEvent("drop", { dataTransfer: transfer, bubbles: true, cancelable: true }));
  }, bytes);
  await page.waitForFunction(() => document.body.dataset.opened === "dropped.dat");
  assert.deepEqual(await shownRows(), cliList(mixed));
});

// The sample with a picture shown in a fresh page, in English and (a browser speaking
// Japanese) in Japanese: build/web-test/page.png and page-ja.png; its thumbnails in
// English: page-thumbnails.png.
test("screenshots in both languages; Japanese words for a browser speaking Japanese", async () => {
  const dir = join(buildDir, "web-test");
  mkdirSync(dir, { recursive: true });
  for (const [locale, file] of [["en-US", "page.png"], ["ja-JP", "page-ja.png"]]) {
    const { context, shown } = await freshPage("/", locale);
    try {
      await shown.setInputFiles("#file", inputs[0]);
      await shown.waitForFunction(() => document.body.dataset.opened === "sample.dat");
      await shown.click('#entries .row[data-kind="picture"]');
      await shown.waitForFunction(() => document.querySelector("#preview").dataset.shown !== "");
      await shown.screenshot({ path: join(dir, file) });
      if (locale === "en-US") {
        await shown.click("#view-thumbnails");
        await thumbnailsMade(shown);
        await shown.screenshot({ path: join(dir, "page-thumbnails.png") });
      }
      if (locale !== "ja-JP") continue;
      assert.equal(await shown.getAttribute("html", "lang"), "ja");
      assert.equal(await shown.textContent('[data-sort="name"]'), "名前");
      assert.equal(await shown.textContent('#entries .row[data-kind="picture"] > :nth-child(2)'), "画像");
      assert.equal(await shown.textContent("#status"), "sample.dat: 11 エントリ");
    } finally {
      await context.close();
    }
  }
});

test("offline: once visited, the page opens and shows entries with no request reaching the server", async () => {
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.context().setOffline(true);
  const served = server.served();
  try {
    await page.reload();
    const mixed = inputs[3];
    await openInPage(mixed);
    assert.deepEqual(await shownRows(), cliList(mixed));
    const title = (await shownRows()).find((row) => row.name === "title.cg");
    const png = decodePng(filesUnder(cliConvert(mixed, ["-f", "png"])).get("title.png"));
    assert.ok((await shownPicture(title.index)).rgb.equals(png.rgb));
  } finally {
    await page.context().setOffline(false);
  }
  assert.equal(server.served(), served);
});

test("no request leaves the page's origin", () => {
  assert.ok(requests.length > 0);
  const outside = requests.filter((url) => !url.startsWith(`${server.origin}/`));
  assert.deepEqual(outside, []);
});
