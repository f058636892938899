// What the list sorts the details column by, as numbers, made in the worker for every
// entry at once: a picture's width and height, an animation's frame count, a sound's rate,
// channels and length (an unknown format first, by its code). -1 where the details cannot
// be read.
import type { Details, EntryKind } from "./protocol";

export const detailsKeyLength = 3;

export function detailsKey(kind: EntryKind, details: Details | null): number[] {
  if (details === null) return [-1, -1, -1];
  switch (kind) {
    case "picture":
      return [details.width, details.height, 0];
    case "animation":
      return [details.frames, 0, 0];
    case "sound":
      return details.rate === undefined ? [-1, details.soundCode, 0] : [details.rate, details.channels ?? 0, details.seconds ?? 0];
    case "other":
      return [0, 0, 0];
  }
}
