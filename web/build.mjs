// Builds the page into one folder of static files: node build.mjs ENGINE_DIR OUT_DIR,
// ENGINE_DIR holding engine.js and engine.wasm. The service worker is built last, with
// the list of the page's files and a version made of their contents.
import { createHash } from "node:crypto";
import { copyFileSync, mkdirSync, readdirSync, readFileSync, rmSync } from "node:fs";
import { join } from "node:path";
import * as esbuild from "esbuild";

const [engineDir, outDir] = process.argv.slice(2);
if (!engineDir || !outDir) {
  console.error("usage: node build.mjs ENGINE_DIR OUT_DIR");
  process.exit(2);
}
const here = new URL(".", import.meta.url).pathname;
rmSync(outDir, { recursive: true, force: true });
mkdirSync(outDir, { recursive: true });

const options = { bundle: true, format: "esm", target: "es2022", minify: true, logLevel: "warning" };
await esbuild.build({
  ...options,
  entryPoints: { main: join(here, "src/main.ts"), worker: join(here, "src/worker.ts") },
  outdir: outDir,
  sourcemap: "linked",
  external: ["./engine.js"],
});
for (const name of readdirSync(join(here, "static"))) copyFileSync(join(here, "static", name), join(outDir, name));
for (const name of ["engine.js", "engine.wasm"]) copyFileSync(join(engineDir, name), join(outDir, name));
copyFileSync(join(here, "../packaging/orvconv.svg"), join(outDir, "orvconv.svg"));

// What the page needs offline: everything but the source maps.
const files = readdirSync(outDir)
  .filter((name) => !name.endsWith(".map"))
  .sort();
const version = createHash("sha256");
for (const name of files) version.update(name).update(readFileSync(join(outDir, name)));
await esbuild.build({
  ...options,
  entryPoints: { sw: join(here, "src/service_worker.ts") },
  outdir: outDir,
  define: { PAGE_FILES: JSON.stringify(files), PAGE_VERSION: JSON.stringify(version.digest("hex").slice(0, 16)) },
});
