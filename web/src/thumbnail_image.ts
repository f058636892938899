// A picture made small for the thumbnail grid, in the worker: every step-th pixel of
// every step-th row, the step the smallest whole number that brings both sides to at
// most thumbnailSide pixels, so that each pixel shown is one of the picture's own.
import type { Thumbnail } from "./protocol";

export const thumbnailSide = 96;

// bgr: 3 bytes a pixel, blue, green, red, top row first, as the engine draws them.
export function thumbnailOf(width: number, height: number, bgr: Uint8Array): Thumbnail {
  const step = Math.ceil(Math.max(width, height) / thumbnailSide);
  const [small, smallHeight] = [Math.ceil(width / step), Math.ceil(height / step)];
  const rgba = new Uint8Array(small * smallHeight * 4);
  for (let y = 0, q = 0; y < smallHeight; ++y) {
    for (let x = 0; x < small; ++x, q += 4) {
      const p = (y * step * width + x * step) * 3;
      rgba[q] = bgr[p + 2];
      rgba[q + 1] = bgr[p + 1];
      rgba[q + 2] = bgr[p];
      rgba[q + 3] = 255;
    }
  }
  return { width: small, height: smallHeight, rgba };
}
