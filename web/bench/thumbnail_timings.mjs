// The thumbnail grid of an archive of 65,535 pictures (the sample's icon.cg, 96x96, again
// and again) in Debian's Chromium, measured in the page: from the view switched to the
// thumbnails in view painted, from a scroll (a screen down, or a jump anywhere) to the
// thumbnails then in view painted, and the longest task of the main thread meanwhile
// (Long Tasks API). Medians of ROUNDS rounds of 20 scrolls each.
//   node web/bench/thumbnail_timings.mjs WEB_DIR SAMPLE_DAT ROUNDS
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { archiveEntries, packArchive } from "../tests/fixtures.mjs";
import { median, openPage } from "./bench_page.mjs";

const [webDir, sample, rounds = "5"] = process.argv.slice(2);
const icon = archiveEntries(readFileSync(sample)).get("icon.cg");
const work = mkdtempSync(join(tmpdir(), "orvconv-bench-"));
const archive = join(work, "thumbs.dat");
writeFileSync(archive, packArchive(Array.from({ length: 65535 }, (_, i) => [`p${i}.cg`, icon])));

const { page, close } = await openPage(webDir);
try {
  await page.setInputFiles("#file", archive);
  await page.waitForFunction(() => document.querySelector("#entries .row") !== null);
  const times = await page.evaluate(async (rounds) => {
    let longest = 0;
    new PerformanceObserver((list) => {
      for (const entry of list.getEntries()) longest = Math.max(longest, entry.duration);
    }).observe({ type: "longtask" });
    const grid = document.querySelector("#thumbnails");
    const frame = () => new Promise((resolve) => requestAnimationFrame(resolve));
    // ms until every cell in view holds its thumbnail; the grid paints its cells in the
    // frame after a scroll.
    const painted = async (start) => {
      await frame();
      await frame();
      const made = () => {
        const cells = [...grid.querySelectorAll(".cell")];
        return cells.length > 0 && cells.every((cell) => cell.dataset.thumbnail !== undefined);
      };
      while (!made()) await frame();
      return performance.now() - start;
    };
    const start = performance.now();
    document.querySelector("#view-thumbnails").click();
    const shown = await painted(start);
    const [steps, jumps] = [[], []];
    for (let round = 0; round < rounds; ++round) {
      for (let k = 0; k < 10; ++k) {
        const at = performance.now();
        grid.scrollTop += grid.clientHeight;
        steps.push(await painted(at));
      }
      for (let k = 0; k < 10; ++k) {
        const at = performance.now();
        grid.scrollTop = Math.random() * grid.scrollHeight;
        jumps.push(await painted(at));
      }
    }
    return { shown, steps, jumps, longest };
  }, Number(rounds));
  console.log(`thumbnails shown after switching: ${times.shown.toFixed(0)} ms`);
  console.log(`a screen down to its thumbnails painted: median ${median(times.steps).toFixed(0)} ms`);
  console.log(`a jump anywhere to its thumbnails painted: median ${median(times.jumps).toFixed(0)} ms`);
  // The Long Tasks API tells only tasks over 50 ms.
  console.log(`longest main-thread task meanwhile: ${times.longest > 0 ? `${times.longest.toFixed(0)} ms` : "none over 50 ms"}`);
} finally {
  await close();
  rmSync(work, { recursive: true, force: true });
}
