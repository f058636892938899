// A static server for build/web on 127.0.0.1, sending the page's Content-Security-Policy
// as a header too, so that it also binds the worker (a meta tag binds the page only).
// As a program: node tests/serve.mjs DIR [PORT]
import { createServer } from "node:http";
import { readFile } from "node:fs/promises";
import { extname, join, normalize } from "node:path";
import { fileURLToPath } from "node:url";

export const contentSecurityPolicy =
  "default-src 'none'; script-src 'self' 'wasm-unsafe-eval'; worker-src 'self'; connect-src 'self'; " +
  "style-src 'self'; img-src 'self' blob:; manifest-src 'self'; base-uri 'none'; form-action 'none'; " +
  "frame-ancestors 'none'";

const types = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript; charset=utf-8",
  ".css": "text/css; charset=utf-8",
  ".wasm": "application/wasm",
  ".map": "application/json",
  ".json": "application/json",
  ".png": "image/png",
  ".svg": "image/svg+xml",
  ".webmanifest": "application/manifest+json",
};

// Serves dir; resolves to { origin, close, served }, served() the count of requests so far.
export function serve(dir, port = 0) {
  let served = 0;
  const server = createServer(async (request, response) => {
    ++served;
    const path = normalize(decodeURIComponent(new URL(request.url, "http://x").pathname));
    const file = join(dir, path.endsWith("/") ? `${path}index.html` : path);
    try {
      if (path.includes("..")) throw new Error("outside");
      const body = await readFile(file);
      response.writeHead(200, {
        "Content-Type": types[extname(file)] ?? "application/octet-stream",
        "Content-Security-Policy": contentSecurityPolicy,
        "Cache-Control": "no-store",
      });
      response.end(body);
    } catch {
      response.writeHead(404, { "Content-Type": "text/plain" });
      response.end("not found");
    }
  });
  return new Promise((resolve) => {
    server.listen(port, "127.0.0.1", () => {
      resolve({
        origin: `http://127.0.0.1:${server.address().port}`,
        close: () => server.close(),
        served: () => served,
      });
    });
  });
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const [dir, port] = process.argv.slice(2);
  const { origin } = await serve(dir ?? "build/web", Number(port ?? 8080));
  console.log(`serving ${dir ?? "build/web"} at ${origin}/`);
}
