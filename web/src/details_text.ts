// The details column, as orvview words it: a picture's size, an animation's frame count,
// a sound's rate, channels and length.
import type { Details, Entry } from "./protocol";
import { text } from "./texts";

export function detailsText(entry: Entry, details: Details): string {
  switch (entry.kind) {
    case "picture":
      return `${details.width} × ${details.height}`;
    case "animation":
      return details.frames === 1 ? text("oneFrame") : text("frames", details.frames);
    case "sound":
      if (details.rate === undefined) return text("unknownFormat", details.soundCode);
      return text(
        "soundDetails",
        details.rate,
        text(details.channels === 1 ? "mono" : "stereo"),
        (details.seconds ?? 0).toFixed(1),
      );
    case "other":
      return "";
  }
}
