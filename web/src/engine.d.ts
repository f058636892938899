// The shape of engine.js, the engine's ES module built by emscripten with embind.
import type { EntryColumns } from "./protocol";

export interface EngineError {
  error?: string;
}
// Every entry's details, entry i at position i; read is 0 where they could not be read,
// and channels, rate and seconds are 0 but for a sound of a known format.
export interface DetailsColumns {
  read: Uint8Array;
  width: Uint32Array;
  height: Uint32Array;
  frames: Uint32Array;
  soundCode: Uint8Array;
  channels: Uint16Array;
  rate: Uint32Array;
  seconds: Float64Array;
}
// What the engine reads an input from: size bytes, n of them at a time.
export interface EngineSource {
  size: number;
  read(offset: number, n: number): Uint8Array;
}
export interface EngineInput {
  open(
    source: EngineSource,
    name: string,
  ): EngineError & { kind?: string; pastEnd?: boolean; passedOver?: string; openError?: number };
  entries(): EntryColumns;
  details(index: number): EngineError & Record<string, unknown>;
  detailsColumns(): EngineError & DetailsColumns;
  setSettings(bytes: Uint8Array): void;
  picture(index: number): EngineError & { action?: string; width?: number; height?: number; bgr?: Uint8Array; bytes?: Uint8Array };
  frames(index: number): EngineError & { frames?: unknown[] };
  firstFrame(index: number): EngineError & { width?: number; height?: number; bgr?: Uint8Array };
  sound(index: number): EngineError & Record<string, unknown>;
  bytes(index: number): EngineError & { bytes?: Uint8Array };
  convert(
    outRoot: string,
    options: unknown,
    settings: Uint8Array,
    chosen: number[],
    onProgress: (done: number, total: number, outDir: string) => void,
  ): EngineError & { result?: number; outDir?: string; pastEnd?: boolean };
  delete(): void;
}
export interface EmscriptenFS {
  mkdir(path: string): void;
  chdir(path: string): void;
  readdir(path: string): string[];
  stat(path: string): { mode: number };
  isDir(mode: number): boolean;
  readFile(path: string): Uint8Array;
  unlink(path: string): void;
  rmdir(path: string): void;
}
export interface Engine {
  FS: EmscriptenFS;
  Input: new () => EngineInput;
  // What the engine puts the bytes of a reply into: a Uint8Array of n bytes.
  takeBytes?: (n: number) => Uint8Array;
}
declare function createEngine(options?: { locateFile?: (path: string) => string }): Promise<Engine>;
export default createEngine;
