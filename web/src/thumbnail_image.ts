// A picture made small for the thumbnail grid, in the worker: every step-th pixel of
// every step-th row, the step the smallest whole number that brings both sides to at
// most thumbnailSide pixels, so that each pixel shown is one of the picture's own.
import type { Thumbnail } from "./protocol";

export const thumbnailSide = 96;

// pixels: 3 bytes each, top row first; red first, or blue first when bgr.
export function thumbnailOf(width: number, height: number, pixels: Uint8Array, bgr: boolean): Thumbnail {
  const step = Math.ceil(Math.max(width, height) / thumbnailSide);
  const [small, smallHeight] = [Math.ceil(width / step), Math.ceil(height / step)];
  const rgba = new Uint8Array(small * smallHeight * 4);
  const [red, blue] = bgr ? [2, 0] : [0, 2];
  for (let y = 0, q = 0; y < smallHeight; ++y) {
    for (let x = 0; x < small; ++x, q += 4) {
      const p = (y * step * width + x * step) * 3;
      rgba[q] = pixels[p + red];
      rgba[q + 1] = pixels[p + 1];
      rgba[q + 2] = pixels[p + blue];
      rgba[q + 3] = 255;
    }
  }
  return { width: small, height: smallHeight, rgba };
}
