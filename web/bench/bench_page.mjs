// What the page's benchmarks share: the built page served on a port of its own and opened
// in Debian's Chromium, headless, at the window size the screenshots use.
import { chromium } from "playwright-core";
import { serve } from "../tests/serve.mjs";

export const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// The page, and close() to end the browser and the server.
export async function openPage(webDir) {
  const server = await serve(webDir);
  const browser = await chromium.launch({
    executablePath: "/usr/bin/chromium",
    args: ["--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking"],
  });
  const page = await browser.newPage({ viewport: { width: 1100, height: 700 } });
  await page.goto(`${server.origin}/`);
  return {
    page,
    close: async () => {
      await browser.close();
      server.close();
    },
  };
}
