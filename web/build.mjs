// Builds the page into one folder of static files: node build.mjs ENGINE_DIR OUT_DIR,
// ENGINE_DIR holding engine.js and engine.wasm.
import { copyFileSync, mkdirSync, readdirSync } from "node:fs";
import { join } from "node:path";
import * as esbuild from "esbuild";

const [engineDir, outDir] = process.argv.slice(2);
if (!engineDir || !outDir) {
  console.error("usage: node build.mjs ENGINE_DIR OUT_DIR");
  process.exit(2);
}
const here = new URL(".", import.meta.url).pathname;
mkdirSync(outDir, { recursive: true });

await esbuild.build({
  entryPoints: { main: join(here, "src/main.ts"), worker: join(here, "src/worker.ts") },
  outdir: outDir,
  bundle: true,
  format: "esm",
  target: "es2022",
  minify: true,
  sourcemap: "linked",
  external: ["./engine.js"],
  logLevel: "warning",
});
for (const name of readdirSync(join(here, "static"))) copyFileSync(join(here, "static", name), join(outDir, name));
for (const name of ["engine.js", "engine.wasm"]) copyFileSync(join(engineDir, name), join(outDir, name));
copyFileSync(join(here, "../packaging/orvconv.svg"), join(outDir, "orvconv.svg"));
