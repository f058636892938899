// A picture the engine drew (top row first: a picture's pixels blue, green, red, a
// frame's red, green, blue) on the preview canvas, each pixel a square of whole screen
// pixels, as large as fits 512 pixels.
import type { Frame, Picture } from "./protocol";

export function drawPicture(canvas: HTMLCanvasElement, picture: Picture | Frame | null): void {
  const bgr = picture !== null && "bgr" in picture ? picture.bgr : undefined;
  const pixels = bgr ?? (picture !== null && "rgb" in picture ? picture.rgb : undefined);
  if (picture === null || picture.action !== "drawn" || !pixels || !picture.width || !picture.height) {
    canvas.width = 0;
    canvas.height = 0;
    return;
  }
  const { width, height } = picture;
  const [red, blue] = bgr ? [2, 0] : [0, 2];
  const image = new ImageData(width, height);
  for (let p = 0, q = 0; p < pixels.length; p += 3, q += 4) {
    image.data[q] = pixels[p + red];
    image.data[q + 1] = pixels[p + 1];
    image.data[q + 2] = pixels[p + blue];
    image.data[q + 3] = 255;
  }
  canvas.width = width;
  canvas.height = height;
  canvas.getContext("2d")!.putImageData(image, 0, 0);
  const zoom = Math.max(1, Math.floor(Math.min(512 / width, 512 / height)));
  canvas.style.width = `${width * zoom}px`;
  canvas.style.height = `${height * zoom}px`;
}
