// What the list sorts the details column by, as numbers, made in the worker for every
// entry at once from the engine's columns of details: a picture's width and height, an
// animation's frame count, a sound's rate, channels and length (an unknown format first,
// by its code). -1 where the details cannot be read.
import type { DetailsColumns } from "./engine.js";
import type { Entry, EntryKind } from "./protocol";

export const detailsKeyLength = 3;

function detailsKey(kind: EntryKind, details: DetailsColumns, i: number): number[] {
  if (details.read[i] === 0) return [-1, -1, -1];
  switch (kind) {
    case "picture":
      return [details.width[i], details.height[i], 0];
    case "animation":
      return [details.frames[i], 0, 0];
    case "sound":
      // A known format has a rate.
      return details.rate[i] === 0 ? [-1, details.soundCode[i], 0] : [details.rate[i], details.channels[i], details.seconds[i]];
    case "other":
      return [0, 0, 0];
  }
}

// Every entry's key, detailsKeyLength numbers an entry, by index, in one buffer that can
// move to the page without a copy.
export function detailsKeys(entries: Entry[], details: DetailsColumns): Float64Array {
  const keys = new Float64Array(entries.length * detailsKeyLength);
  for (const { kind, index } of entries) keys.set(detailsKey(kind, details, index), index * detailsKeyLength);
  return keys;
}
