// The engine's worker: all engine work runs here, so that the page never waits on it.
// The chosen File is opened once as the engine's input, which reads it piece by piece
// through File.slice, never whole. Output folders are made in memory, in the current
// folder as orvconv-cli makes them without -o (so that its messages name the same
// paths), and handed to the page file by file, then removed.
import createEngine, { type Engine, type EngineInput } from "./engine.js";
import { BlockSource } from "./block_source";
import { entriesOf } from "./entry_columns";
import { LaterWrites } from "./later_writes";
import { SpareBuffers } from "./spare_buffers";
import type { ConvertProgress, Converted, Entry, Opened, OutputFile, Reply, Request, Thumbnail } from "./protocol";
import { thumbnailOf } from "./thumbnail_image";
import { detailsKeys } from "./details_key";

const engine: Engine = await createEngine({ locateFile: (path) => new URL(path, import.meta.url).href });
const spare = new SpareBuffers();
engine.takeBytes = (n) => spare.take(n);
engine.FS.mkdir("/out");
engine.FS.chdir("/out");

let input: EngineInput | null = null;
// The open input's entries as objects, made when the worker first needs them: the page
// gets them as columns, which move to it.
let entries: Entry[] | null = null;

// The value, or the engine's error as an exception.
function checked<T extends { error?: string }>(value: T): T {
  if (value.error !== undefined) throw new Error(value.error);
  return value;
}

function open(file: File): Opened {
  input?.delete();
  input = new engine.Input();
  const opened = checked(input.open(new BlockSource(file), file.name)) as Opened;
  entries = null;
  // The engine gives no entries for an input it did not open.
  opened.entries = input.entries();
  return opened;
}

function openedInput(): EngineInput {
  if (input === null) throw new Error("no input is open");
  return input;
}

function openedEntries(): Entry[] {
  entries ??= entriesOf(openedInput().entries());
  return entries;
}

// The files under folder, each read and removed, by their paths: while conversion goes
// on, but for temporaries; once it has ended, all of them, and the folders too.
function takeFiles(folder: string, files: OutputFile[], finished: boolean): void {
  for (const name of engine.FS.readdir(folder)) {
    if (name === "." || name === ".." || (!finished && name.startsWith(".orvconv-"))) continue;
    const path = folder === "." ? name : `${folder}/${name}`;
    if (engine.FS.isDir(engine.FS.stat(path).mode)) {
      takeFiles(path, files, finished);
      engine.FS.rmdir(path);
    } else {
      files.push({ path, data: engine.FS.readFile(path) });
      engine.FS.unlink(path);
    }
  }
}

// The thumbnail of a picture, or of an animation's first frame composed with settings;
// null for other entries and for those that draw nothing.
function thumbnail(index: number, settings: Uint8Array): Thumbnail | null {
  const engineInput = openedInput();
  const kind = openedEntries()[index]?.kind;
  if (kind !== "picture" && kind !== "animation") return null;
  if (kind === "animation") engineInput.setSettings(settings);
  const drawn = checked(kind === "picture" ? engineInput.picture(index) : engineInput.firstFrame(index));
  if (!drawn.bgr || !drawn.width || !drawn.height) return null;
  const made = thumbnailOf(drawn.width, drawn.height, drawn.bgr);
  // The full-size pixels stay here, for the next reply.
  spare.give(drawn.bgr.buffer as ArrayBuffer);
  return made;
}

function convert(request: Extract<Request, { type: "convert" }>): Converted {
  const engineInput = openedInput();
  // Each entry's files leave the worker as soon as they are in place, but for those a
  // later entry may write again: the last of them leaves at the end.
  const laterWrites = new LaterWrites(openedEntries());
  const held = new Map<string, OutputFile>();
  const sendable = (files: OutputFile[], from: number): OutputFile[] =>
    files.filter((file) => {
      held.delete(file.path);
      if (!laterWrites.mayRewrite(file.path.slice(file.path.indexOf("/") + 1), from)) return true;
      held.set(file.path, file);
      return false;
    });
  const onProgress = (done: number, total: number, outDir: string): void => {
    const taken: OutputFile[] = [];
    takeFiles(outDir.replace(/\/$/, ""), taken, false);
    const partial: ConvertProgress = { done, total, files: sendable(taken, done) };
    self.postMessage({ id: request.id, partial }, { transfer: transferables(partial) });
  };
  const converted = engineInput.convert("", request.options, request.settings, request.chosen, onProgress);
  // Whatever happened, nothing stays for the next conversion.
  const files: OutputFile[] = [];
  takeFiles(".", files, true);
  checked(converted);
  const last = sendable(files, Infinity);
  return { result: converted.result ?? 0, pastEnd: converted.pastEnd ?? false, files: [...last, ...held.values()] };
}

function handle(request: Exclude<Request, { type: "spare" }>): unknown {
  switch (request.type) {
    case "open":
      return open(request.file);
    case "details":
      return checked(openedInput().details(request.index));
    case "detailsKeys":
      return detailsKeys(openedEntries(), checked(openedInput().detailsColumns()));
    case "thumbnail":
      return thumbnail(request.index, request.settings);
    case "picture":
      return checked(openedInput().picture(request.index));
    case "frames": {
      const engineInput = openedInput();
      engineInput.setSettings(request.settings);
      return checked(engineInput.frames(request.index)).frames;
    }
    case "sound":
      return checked(openedInput().sound(request.index));
    case "bytes":
      return checked(openedInput().bytes(request.index)).bytes;
    case "convert":
      return convert(request);
  }
}

// Buffers of the reply move to the page instead of being copied.
function transferables(value: unknown): Transferable[] {
  const found: Transferable[] = [];
  const visit = (item: unknown): void => {
    if (ArrayBuffer.isView(item)) found.push(item.buffer);
    else if (Array.isArray(item)) item.forEach(visit);
    else if (item !== null && typeof item === "object") Object.values(item).forEach(visit);
  };
  visit(value);
  return found;
}

self.onmessage = (event: MessageEvent<Request>) => {
  const request = event.data;
  if (request.type === "spare") {
    spare.give(request.buffer);
    return;
  }
  let reply: Reply;
  try {
    reply = { id: request.id, value: handle(request) };
  } catch (error) {
    // A WebAssembly trap or abort leaves the engine unusable: the page gets a new worker.
    const ended = error instanceof WebAssembly.RuntimeError;
    reply = { id: request.id, error: error instanceof Error ? error.message : String(error), ended };
  }
  self.postMessage(reply, { transfer: transferables("value" in reply ? reply.value : null) });
  if ("ended" in reply && reply.ended) self.close();
};
self.postMessage({ id: 0, value: "ready" });
