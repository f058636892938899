// The benchmark's worker: every picture of an archive decoded through the engine, as the
// page's worker reads them (the archive a File mounted with WORKERFS, each picture's
// pixels copied out of the engine's memory), timed round by round, the input opened
// anew each round.
import createEngine from "./engine.js";

const engine = await createEngine({ locateFile: (path) => new URL(path, import.meta.url).href });
engine.FS.mkdir("/in");

self.onmessage = ({ data: { bytes, name, rounds } }) => {
  engine.FS.mount(engine.FS.filesystems.WORKERFS, { files: [new File([bytes], name)] }, "/in");
  const lines = [];
  for (let round = 0; round < rounds; ++round) {
    const start = performance.now();
    const input = new engine.Input();
    input.open(`/in/${name}`);
    let pixels = 0;
    for (const entry of input.entries()) {
      if (entry.kind === "image") pixels += input.picture(entry.index).rgb?.length ?? 0;
    }
    input.delete();
    lines.push(`${((performance.now() - start) / 1000).toFixed(6)} ${pixels}`);
  }
  engine.FS.unmount("/in");
  self.postMessage(lines);
};
self.postMessage("ready");
