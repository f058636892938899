// Every picture of an archive decoded in the engine's worker in Debian's Chromium, the
// browser's counterpart of build/bench/read_pictures: one line of seconds and decoded
// bytes a round.   node web/bench/read_pictures.mjs WEB_DIR ARCHIVE ROUNDS
import { copyFileSync, mkdtempSync, readdirSync, readFileSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { basename, join } from "node:path";
import { chromium } from "playwright-core";
import { serve } from "../tests/serve.mjs";

const [webDir, archive, rounds] = process.argv.slice(2);
// The page's files and the benchmark's worker beside them.
const dir = mkdtempSync(join(tmpdir(), "orvconv-web-bench-"));
for (const name of readdirSync(webDir)) copyFileSync(join(webDir, name), join(dir, name));
copyFileSync(new URL("read_worker.js", import.meta.url).pathname, join(dir, "read_worker.js"));

const server = await serve(dir);
const browser = await chromium.launch({
  executablePath: "/usr/bin/chromium",
  args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync"],
});
try {
  const page = await browser.newPage();
  await page.goto(`${server.origin}/`);
  const lines = await page.evaluate(
    ({ bytes, name, count }) =>
      new Promise((resolve) => {
        const worker = new Worker("/read_worker.js", { type: "module" });
        worker.onmessage = ({ data }) => {
          if (data === "ready") worker.postMessage({ bytes: new Uint8Array(bytes), name, rounds: count });
          else resolve(data);
        };
      }),
    { bytes: Array.from(readFileSync(archive)), name: basename(archive), count: Number(rounds) },
  );
  console.log(lines.join("\n"));
} finally {
  await browser.close();
  server.close();
  rmSync(dir, { recursive: true, force: true });
}
