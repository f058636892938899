// The page offline: its files, listed and versioned when it is built, are kept in the
// browser's cache on the first visit and served from there, so that the page opens and
// works without a network (and can be installed). A new build comes with a new version,
// whose cache replaces the old one.
declare const PAGE_FILES: string[];
declare const PAGE_VERSION: string;

const sw = self as unknown as ServiceWorkerGlobalScope;
const cacheName = `orvconv-${PAGE_VERSION}`;

sw.addEventListener("install", (event) => {
  event.waitUntil(
    caches
      .open(cacheName)
      .then((cache) => cache.addAll(PAGE_FILES.map((file) => new URL(file, sw.registration.scope).href)))
      .then(() => sw.skipWaiting()),
  );
});

sw.addEventListener("activate", (event) => {
  event.waitUntil(
    caches
      .keys()
      .then((names) => Promise.all(names.filter((name) => name !== cacheName).map((name) => caches.delete(name))))
      .then(() => sw.clients.claim()),
  );
});

// The page's own files from the cache, "./" as its index.html; anything else as asked.
sw.addEventListener("fetch", (event) => {
  const url = new URL(event.request.url);
  if (event.request.method !== "GET" || url.origin !== sw.location.origin) return;
  const key = url.pathname.endsWith("/") ? new URL("index.html", url).href : url.href;
  event.respondWith(
    caches.open(cacheName).then(async (cache) => (await cache.match(key, { ignoreSearch: true })) ?? fetch(event.request)),
  );
});
