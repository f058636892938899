// The page's responsiveness in Debian's Chromium, measured in the page: from an archive
// of 65,535 entries chosen to its list painted, from a picture clicked to it painted
// (each picture of the sample), the longest task of the main thread (Long Tasks API)
// during each flow (the long list arriving, the previews, a take-out of everything as
// PNG), and what a first visit downloads, compressed with gzip -9. Medians of ROUNDS
// rounds; a flow's longest task is the longest of all its rounds. The files are put into
// the page before any flow starts, and only tasks that start within a flow count, so that
// the benchmark's own work is not measured.
//   node web/bench/page_timings.mjs WEB_DIR SAMPLE_DAT ROUNDS
import { readdirSync, readFileSync } from "node:fs";
import { join } from "node:path";
import { gzipSync } from "node:zlib";
import { packArchive } from "../tests/fixtures.mjs";
import { median, openPage } from "./bench_page.mjs";

const [webDir, sample, rounds = "5"] = process.argv.slice(2);

const { page, close } = await openPage(webDir);
try {
  const long = packArchive(Array.from({ length: 65535 }, (_, i) => [`f${65535 - i}.bin`, Buffer.alloc(i % 3)]));
  await page.evaluate(
    (files) => {
      window.files = {};
      for (const [name, base64] of Object.entries(files))
        window.files[name] = new File([Uint8Array.from(atob(base64), (c) => c.charCodeAt(0))], name);
      window.tasks = [];
      new PerformanceObserver((list) => window.tasks.push(...list.getEntries())).observe({ type: "longtask" });
    },
    { "long.dat": long.toString("base64"), "sample.dat": readFileSync(sample).toString("base64") },
  );

  // The longest main-thread task (ms) that starts while work() runs, and what work gives.
  const flow = async (work) => {
    await page.waitForTimeout(200);
    const start = await page.evaluate(() => performance.now());
    const value = await work();
    // Long tasks are told after they end.
    await page.waitForTimeout(200);
    const longest = await page.evaluate(
      (start) => Math.max(0, ...window.tasks.filter((task) => task.startTime >= start).map((task) => task.duration)),
      start,
    );
    return { longest, value };
  };

  // Chooses a file put into the page through the file picker; ms until its list is painted.
  const open = (name) =>
    page.evaluate(async (name) => {
      const transfer = new DataTransfer();
      transfer.items.add(window.files[name]);
      const input = document.querySelector("#file");
      input.files = transfer.files;
      const start = performance.now();
      input.dispatchEvent(new Event("change"));
      while (document.body.dataset.opened !== name || !document.querySelector("#entries .row"))
        await new Promise((resolve) => requestAnimationFrame(resolve));
      await new Promise((resolve) => requestAnimationFrame(resolve));
      return performance.now() - start;
    }, name);

  // Each picture of the list clicked in turn; ms from click to painted, each.
  const previewAll = () =>
    page.evaluate(async () => {
      const times = [];
      // The list paints its rows anew: each row is looked up when it is clicked.
      const pictures = [...document.querySelectorAll('#entries .row[data-kind="picture"]')];
      for (const index of pictures.map((row) => row.dataset.index)) {
        const start = performance.now();
        document.querySelector(`#entries .row[data-index="${index}"]`).click();
        while (document.querySelector("#preview").dataset.shown !== index)
          await new Promise((resolve) => requestAnimationFrame(resolve));
        await new Promise((resolve) => requestAnimationFrame(resolve));
        times.push(performance.now() - start);
      }
      return times;
    });

  const listed = [];
  const listTasks = [];
  for (let k = 0; k < Number(rounds); ++k) {
    await open("sample.dat");
    const { longest, value } = await flow(() => open("long.dat"));
    listed.push(value);
    listTasks.push(longest);
  }
  await open("sample.dat");
  const previews = [];
  const previewTasks = [];
  for (let k = 0; k < Number(rounds); ++k) {
    const { longest, value } = await flow(previewAll);
    previews.push(...value);
    previewTasks.push(longest);
  }
  await page.selectOption("#format", "1");
  const takeOutTasks = [];
  for (let k = 0; k < Number(rounds); ++k) {
    const { longest } = await flow(() =>
      Promise.all([page.waitForEvent("download"), page.click("#take-out-everything")]),
    );
    takeOutTasks.push(longest);
  }

  let compressed = 0;
  for (const name of readdirSync(webDir).filter((file) => !file.endsWith(".map")))
    compressed += gzipSync(readFileSync(join(webDir, name)), { level: 9 }).length;

  const tasks = (values) => `longest ${Math.max(...values).toFixed(1)}, median of rounds ${median(values).toFixed(1)}`;
  console.log(`list of 65,535 entries painted (ms, median of ${listed.length}): ${median(listed).toFixed(1)}`);
  console.log(`picture clicked to painted (ms, median of ${previews.length}): ${median(previews).toFixed(1)}`);
  console.log(`main-thread tasks while the long list arrives (ms): ${tasks(listTasks)}`);
  console.log(`main-thread tasks during previews (ms): ${tasks(previewTasks)}`);
  console.log(`main-thread tasks during a take-out of everything (ms): ${tasks(takeOutTasks)}`);
  console.log(`first visit, gzip -9 (bytes): ${compressed}`);
} finally {
  await close();
}
