// Which files of a conversion a later entry may write again. The engine replaces such a
// file (the later entry wins, as orvconv-cli keeps it), but a file already sent into a
// streamed ZIP cannot be taken back: the worker holds these files until the end.
//
// Every file an entry writes is named after it: its name without the extension (the
// stem), then nothing, or a "." (an extension, or the rest of the entry's own name) or
// "_" (a frame number, a sheet) and more. A file can thus come again only from a later
// entry whose stem is the file's name up to its end or to one of its "." or "_".
import type { Entry } from "./protocol";

// The name without its extension: up to the last ".", unless a separator follows it.
function stemOf(name: string): string {
  const dot = name.lastIndexOf(".");
  return dot < 0 || Math.max(name.lastIndexOf("/"), name.lastIndexOf("\\")) > dot ? name : name.slice(0, dot);
}

export class LaterWrites {
  // Each stem with the index of the last entry named by it.
  private readonly lastByStem = new Map<string, number>();

  constructor(entries: readonly Entry[]) {
    for (const entry of entries) {
      const stem = stemOf(entry.name);
      this.lastByStem.set(stem, Math.max(entry.index, this.lastByStem.get(stem) ?? -1));
    }
  }

  // Whether an entry from index `from` on may write the file named name (inside the
  // output folder) again.
  mayRewrite(name: string, from: number): boolean {
    const laterBy = (stem: string): boolean => (this.lastByStem.get(stem) ?? -1) >= from;
    if (laterBy(name)) return true;
    for (let at = 0; at < name.length; ++at) {
      if ((name[at] === "." || name[at] === "_") && laterBy(name.slice(0, at))) return true;
    }
    return false;
  }
}
