// An animation's frames as conversion writes them (composed with the chosen settings
// file), stepped one by one or played at the chosen milliseconds a frame, round and
// round. A frame written raw shows no picture, only its number.
import { drawPicture } from "./picture_canvas";
import type { Frame } from "./protocol";
import { text } from "./texts";

export interface PlayerParts {
  canvas: HTMLCanvasElement;
  counter: HTMLElement;
  playButton: HTMLButtonElement;
  frameMs: () => number;
}

export class AnimationPlayer {
  private frames: Frame[] = [];
  private at = 0;
  private timer = 0;

  constructor(private readonly parts: PlayerParts) {}

  // Shows frames from the first; gives back the frames shown before.
  load(frames: Frame[]): Frame[] {
    this.pause();
    const before = this.frames;
    this.frames = frames;
    this.at = 0;
    this.draw();
    return before;
  }

  get playing(): boolean {
    return this.timer !== 0;
  }

  step(by: number): void {
    if (this.frames.length === 0) return;
    this.at = (this.at + by + this.frames.length) % this.frames.length;
    this.draw();
  }

  play(): void {
    if (this.frames.length < 2 || this.playing) return;
    const tick = (): void => {
      this.step(1);
      this.timer = window.setTimeout(tick, this.parts.frameMs());
    };
    this.timer = window.setTimeout(tick, this.parts.frameMs());
    this.parts.playButton.textContent = text("pause");
  }

  pause(): void {
    clearTimeout(this.timer);
    this.timer = 0;
    this.parts.playButton.textContent = text("play");
  }

  private draw(): void {
    const frame = this.frames[this.at];
    const { canvas, counter } = this.parts;
    drawPicture(canvas, frame ?? null);
    canvas.dataset.frame = frame === undefined ? "" : String(frame.number);
    counter.textContent =
      frame === undefined ? text("noFrames")
      : frame.action === "drawn" ? text("frameCounter", this.at + 1, this.frames.length)
      : text("rawFrame", this.at + 1, this.frames.length, frame.number);
  }
}
