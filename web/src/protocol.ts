// The messages between the page and its engine worker: each request carries an id,
// its reply the same id and either the value or the error text.

export type EntryKind = "picture" | "animation" | "sound" | "other";

export interface Entry {
  index: number;
  name: string; // as orvconv-cli shows it: UTF-8, "%XX" for bytes that do not convert
  kind: EntryKind;
  offset: number;
  size: number;
  pastEnd: boolean;
}

// The entries of an input as the worker sends them: entry i at position i of each column,
// the names joined by "\n" (a shown name holds no control character), each kind as its
// position in kindNames.
export interface EntryColumns {
  names: string;
  kindNames: EntryKind[];
  kinds: Uint8Array;
  offsets: Uint32Array;
  sizes: Uint32Array;
  pastEnd: Uint8Array;
}

export type PassedOver = "folder" | "notAnInputName" | "notAPackArchive";

export interface Opened {
  kind?: "archive" | "animation";
  pastEnd?: boolean;
  passedOver?: PassedOver;
  openError?: number;
  entries: EntryColumns;
}

// What the first bytes of an entry tell: a picture's type and size, an animation's
// frame count, a sound's format code and, for a known code, its format and length.
export interface Details {
  pictureType: number;
  width: number;
  height: number;
  frames: number;
  soundCode: number;
  channels?: number;
  rate?: number;
  seconds?: number;
}

// A picture's pixels come as the engine draws them, blue, green, red, 3 bytes a pixel, top
// row first; an animation frame's as red, green, blue.
export interface Picture {
  action: "drawn" | "raw" | "skipped";
  width?: number;
  height?: number;
  bgr?: Uint8Array;
  bytes?: Uint8Array;
}

// A picture, or an animation's first frame, made small for the thumbnail grid: RGBA,
// at most thumbnailSide pixels on a side.
export interface Thumbnail {
  width: number;
  height: number;
  rgba: Uint8Array;
}

export interface Frame extends Omit<Picture, "bgr"> {
  number: number;
  rgb?: Uint8Array;
}

// 16-bit PCM, little-endian, channels interleaved.
export interface Sound {
  channels: number;
  rate: number;
  samples: Uint8Array;
}

// orvconv-cli's choices: -f bmp|png|alpha, --animation frames|webp|gif|sheet (as the
// engine numbers them), --ani-raw, --frame-ms, --sheet-columns.
export interface ConvertOptions {
  outputMode: 0 | 1 | 2;
  animation: 0 | 1 | 2 | 3;
  aniRaw: boolean;
  frameMs: number;
  sheetColumns: number;
}

export interface OutputFile {
  path: string; // the output folder's name, "/", the file's name
  data: Uint8Array;
}

// Sent while a conversion goes on, each time the files of one more entry are in place:
// those files, taken out of the worker's memory.
export interface ConvertProgress {
  done: number;
  total: number;
  files: OutputFile[];
}

// The end of a conversion, with the files not sent before.
export interface Converted {
  result: number; // 0 finished, 1 cancelled, -1 passed over, -2 not opened
  pastEnd: boolean;
  files: OutputFile[];
}

export type Request =
  | { id: number; type: "open"; file: File }
  | { id: number; type: "details"; index: number }
  | { id: number; type: "detailsKeys" }
  | { id: number; type: "thumbnail"; index: number; settings: Uint8Array }
  | { id: number; type: "picture"; index: number }
  | { id: number; type: "frames"; index: number; settings: Uint8Array }
  | { id: number; type: "sound"; index: number }
  | { id: number; type: "bytes"; index: number }
  | { id: number; type: "convert"; options: ConvertOptions; settings: Uint8Array; chosen: number[] }
  // A buffer of a reply the page has done with, for the worker to carry later replies in;
  // it has no reply.
  | { id: number; type: "spare"; buffer: ArrayBuffer };

// ended: the engine cannot go on (it ran out of memory, say); the worker closes and the
// page starts a new one.
export type Reply =
  | { id: number; value: unknown }
  | { id: number; partial: unknown }
  | { id: number; error: string; ended?: boolean };
