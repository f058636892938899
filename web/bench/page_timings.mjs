// The page's responsiveness in Debian's Chromium, measured in the page: from an archive
// of 65,535 entries chosen to its list painted, from a picture clicked to it painted
// (each picture of the sample), the longest task of the main thread (Long Tasks API)
// while lists open, and while those previews and a take-out of everything run, and what a first visit
// downloads, compressed with gzip -9. Medians of ROUNDS rounds.
//   node web/bench/page_timings.mjs WEB_DIR SAMPLE_DAT ROUNDS
import { readdirSync, readFileSync } from "node:fs";
import { join } from "node:path";
import { gzipSync } from "node:zlib";
import { chromium } from "playwright-core";
import { packArchive } from "../tests/fixtures.mjs";
import { serve } from "../tests/serve.mjs";

const [webDir, sample, rounds = "5"] = process.argv.slice(2);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const server = await serve(webDir);
const browser = await chromium.launch({
  executablePath: "/usr/bin/chromium",
  args: ["--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking"],
});
try {
  const page = await browser.newPage({ viewport: { width: 1100, height: 700 } });
  await page.goto(`${server.origin}/`);
  await page.evaluate(() => {
    window.longest = 0;
    new PerformanceObserver((list) => {
      for (const entry of list.getEntries()) window.longest = Math.max(window.longest, entry.duration);
    }).observe({ type: "longtask", buffered: true });
  });
  const long = packArchive(Array.from({ length: 65535 }, (_, i) => [`f${65535 - i}.bin`, Buffer.alloc(i % 3)]));
  const files = { long: Array.from(long), sample: Array.from(readFileSync(sample)) };

  // Chooses bytes as a file named name through the file picker; ms until painted.
  const open = (name) =>
    page.evaluate(
      async ({ bytes, name }) => {
        const transfer = new DataTransfer();
        transfer.items.add(new File([new Uint8Array(bytes)], name));
        const input = document.querySelector("#file");
        input.files = transfer.files;
        const start = performance.now();
        input.dispatchEvent(new Event("change"));
        while (document.body.dataset.opened !== name || !document.querySelector("#entries .row"))
          await new Promise((resolve) => requestAnimationFrame(resolve));
        await new Promise((resolve) => requestAnimationFrame(resolve));
        return performance.now() - start;
      },
      { bytes: name === "long.dat" ? files.long : files.sample, name },
    );

  const listed = [];
  for (let k = 0; k < Number(rounds); ++k) listed.push(await open("long.dat"));
  await open("sample.dat");
  const longestOpening = await page.evaluate(() => window.longest);
  await page.evaluate(() => (window.longest = 0));
  const previews = [];
  for (let k = 0; k < Number(rounds); ++k) {
    previews.push(
      ...(await page.evaluate(async () => {
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
      })),
    );
  }
  await page.selectOption("#format", "1");
  await Promise.all([page.waitForEvent("download"), page.click("#take-out-everything")]);
  const longest = await page.evaluate(() => window.longest);

  let compressed = 0;
  for (const name of readdirSync(webDir).filter((file) => !file.endsWith(".map")))
    compressed += gzipSync(readFileSync(join(webDir, name)), { level: 9 }).length;

  console.log(`list of 65,535 entries painted (ms, median of ${listed.length}): ${median(listed).toFixed(1)}`);
  console.log(`picture clicked to painted (ms, median of ${previews.length}): ${median(previews).toFixed(1)}`);
  console.log(`longest main-thread task while lists open (ms): ${longestOpening.toFixed(1)}`);
  console.log(`longest main-thread task during previews and a take-out (ms): ${longest.toFixed(1)}`);
  console.log(`first visit, gzip -9 (bytes): ${compressed}`);
} finally {
  await browser.close();
  server.close();
}
