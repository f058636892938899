// A picture the engine drew (top row first: a picture's pixels blue, green, red, a
// frame's red, green, blue) on the preview canvas, fitted to its pane.
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
  fitPicture(canvas);
}

// The picture on canvas zoomed by whole steps, each pixel a sharp square, as large as fits
// 512 pixels (at least 1:1) and the room its pane leaves it; one larger than that room is
// made smaller to fit it, smoothly, since a step below one drops whole rows and columns.
export function fitPicture(canvas: HTMLCanvasElement): void {
  const { width, height } = canvas;
  if (width === 0 || height === 0) return;
  const pane = canvas.parentElement!;
  const padding = getComputedStyle(pane);
  const roomWidth = pane.clientWidth - parseFloat(padding.paddingLeft) - parseFloat(padding.paddingRight);
  const roomHeight =
    pane.getBoundingClientRect().top + pane.clientHeight - parseFloat(padding.paddingBottom) - canvas.getBoundingClientRect().top;
  const steps = Math.max(1, Math.floor(Math.min(512 / width, 512 / height)));
  const room = Math.min(roomWidth / width, roomHeight / height);
  const zoom = steps <= room ? steps : room >= 1 ? Math.floor(room) : Math.max(room, 1 / Math.max(width, height));
  canvas.style.imageRendering = zoom >= 1 ? "pixelated" : "auto";
  canvas.style.width = `${width * zoom}px`;
  canvas.style.height = `${height * zoom}px`;
}
