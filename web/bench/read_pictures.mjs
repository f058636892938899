// Every picture of an archive decoded by the page's own engine worker in Debian's
// Chromium, the browser's counterpart of build/bench/read_pictures: the archive opened as
// a File (read through File.slice), each picture asked for as the page asks, its pixels
// handed to the page. One line of seconds and decoded bytes a round, the input opened
// anew each round.   node web/bench/read_pictures.mjs WEB_DIR ARCHIVE ROUNDS
import { readFileSync } from "node:fs";
import { basename } from "node:path";
import { chromium } from "playwright-core";
import { serve } from "../tests/serve.mjs";

const [webDir, archive, rounds] = process.argv.slice(2);
const server = await serve(webDir);
const browser = await chromium.launch({
  executablePath: "/usr/bin/chromium",
  args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync"],
});
try {
  const page = await browser.newPage();
  await page.goto(`${server.origin}/`);
  const lines = await page.evaluate(
    async ({ bytes, name, count, giveBack }) => {
      const worker = new Worker("/worker.js", { type: "module" });
      const waiting = new Map();
      let nextId = 1;
      worker.onmessage = ({ data }) => {
        waiting.get(data.id)?.(data);
        waiting.delete(data.id);
      };
      const ready = new Promise((resolve) => waiting.set(0, resolve));
      const ask = (body) =>
        new Promise((resolve) => {
          const id = nextId++;
          waiting.set(id, resolve);
          worker.postMessage({ ...body, id });
        });
      await ready;
      const file = new File([new Uint8Array(bytes)], name);
      const result = [];
      for (let round = 0; round < count; ++round) {
        const start = performance.now();
        const { value } = await ask({ type: "open", file });
        const { kinds, kindNames } = value.entries;
        const pictures = [...kinds.keys()].filter((index) => kindNames[kinds[index]] === "picture");
        // One after another, each buffer given back once the page has the pixels, as the
        // preview does when it has painted them.
        let pixels = 0;
        for (const index of pictures) {
          const { bgr } = (await ask({ type: "picture", index })).value;
          pixels += bgr?.length ?? 0;
          if (bgr && giveBack) worker.postMessage({ id: 0, type: "spare", buffer: bgr.buffer }, [bgr.buffer]);
        }
        result.push(`${((performance.now() - start) / 1000).toFixed(6)} ${pixels}`);
      }
      worker.terminate();
      return result;
    },
    { bytes: Array.from(readFileSync(archive)), name: basename(archive), count: Number(rounds), giveBack: process.env.GIVE_BACK !== "0" },
  );
  console.log(lines.join("\n"));
} finally {
  await browser.close();
  server.close();
}
