// A picture the engine drew (RGB, top row first) on the preview canvas, each pixel a
// square of whole screen pixels, as large as fits 512 pixels.
import type { Picture } from "./protocol";

export function drawPicture(canvas: HTMLCanvasElement, picture: Picture | null): void {
  if (picture === null || picture.action !== "drawn" || !picture.rgb || !picture.width || !picture.height) {
    canvas.width = 0;
    canvas.height = 0;
    return;
  }
  const { width, height, rgb } = picture;
  const image = new ImageData(width, height);
  for (let p = 0, q = 0; p < rgb.length; p += 3, q += 4) {
    image.data[q] = rgb[p];
    image.data[q + 1] = rgb[p + 1];
    image.data[q + 2] = rgb[p + 2];
    image.data[q + 3] = 255;
  }
  canvas.width = width;
  canvas.height = height;
  canvas.getContext("2d")!.putImageData(image, 0, 0);
  const zoom = Math.max(1, Math.floor(Math.min(512 / width, 512 / height)));
  canvas.style.width = `${width * zoom}px`;
  canvas.style.height = `${height * zoom}px`;
}
