// The preview of the focused entry, as conversion writes it: a picture, an animation's
// frames (stepped or played), a sound (played), or any other entry's bytes as CP932
// text or hex. Only the latest request is shown: replies to earlier ones are dropped.
import { AnimationPlayer } from "./animation_player";
import { cp932Text, hexText } from "./bytes_view";
import type { EngineClient } from "./engine_client";
import { drawPicture, fitPicture } from "./picture_canvas";
import type { Entry, Frame, Picture, Sound } from "./protocol";
import { SoundPlayer } from "./sound_player";
import { text } from "./texts";

function element<T extends HTMLElement>(id: string): T {
  return document.getElementById(id) as T;
}

export class Preview {
  private readonly canvas = element<HTMLCanvasElement>("preview");
  private readonly note = element<HTMLElement>("preview-note");
  private readonly frameControls = element<HTMLElement>("frame-controls");
  private readonly soundControls = element<HTMLElement>("sound-controls");
  private readonly soundInfo = element<HTMLElement>("sound-info");
  private readonly playSound = element<HTMLButtonElement>("play-sound");
  private readonly hexChoice = element<HTMLElement>("hex-choice");
  private readonly hex = element<HTMLInputElement>("hex");
  private readonly textView = element<HTMLElement>("text-view");
  private readonly player: AnimationPlayer;
  private readonly sound = new SoundPlayer(() => (this.playSound.textContent = text("play")));
  private request = 0;
  private entry: Entry | null = null;
  private bytes: Uint8Array | null = null;

  constructor(
    private readonly engine: EngineClient,
    private readonly settings: () => Promise<Uint8Array>,
    frameMs: () => number,
  ) {
    const playButton = element<HTMLButtonElement>("play");
    this.player = new AnimationPlayer({ canvas: this.canvas, counter: element("frame-counter"), playButton, frameMs });
    playButton.addEventListener("click", () => (this.player.playing ? this.player.pause() : this.player.play()));
    element("previous-frame").addEventListener("click", () => this.player.step(-1));
    element("next-frame").addEventListener("click", () => this.player.step(1));
    this.playSound.addEventListener("click", () => {
      if (this.sound.playing) {
        this.sound.stop();
      } else {
        this.sound.play();
        this.playSound.textContent = text("pause");
      }
    });
    this.hex.addEventListener("change", () => this.showBytes());
    new ResizeObserver(() => fitPicture(this.canvas)).observe(this.canvas.parentElement!);
  }

  // Shows entry (null: nothing); the promise settles when it is painted or given up.
  async show(entry: Entry | null): Promise<void> {
    const request = ++this.request;
    this.entry = entry;
    this.clear();
    if (entry === null) return;
    const current = (): boolean => request === this.request;
    try {
      await this.fill(entry, current);
    } catch (error) {
      if (current()) this.note.textContent = (error as Error).message;
    }
    if (current()) this.canvas.dataset.shown = String(entry.index);
  }

  // The animation shown again, composed with the settings file now chosen.
  async refresh(): Promise<void> {
    if (this.entry?.kind === "animation") await this.show(this.entry);
  }

  private async fill(entry: Entry, current: () => boolean): Promise<void> {
    const index = entry.index;
    switch (entry.kind) {
      case "picture": {
        const picture = await this.engine.request<Picture>({ type: "picture", index });
        if (!current()) return;
        if (picture.action === "drawn") {
          drawPicture(this.canvas, picture);
          if (picture.bgr) this.engine.giveBack(picture.bgr);
        }
        else if (picture.action === "raw" && picture.bytes) this.showBytes(picture.bytes);
        else this.note.textContent = text("writesNothing");
        return;
      }
      case "animation": {
        const settings = await this.settings();
        const frames = await this.engine.request<Frame[]>({ type: "frames", index, settings });
        if (!current()) return;
        this.frameControls.hidden = false;
        this.player.load(frames);
        return;
      }
      case "sound": {
        const sound = await this.engine.request<Sound>({ type: "sound", index });
        if (!current()) return;
        const seconds = sound.samples.length / (2 * sound.channels) / sound.rate;
        this.soundInfo.textContent = text(
          "soundInfo",
          sound.rate,
          text(sound.channels === 1 ? "mono" : "stereo"),
          seconds.toFixed(1),
        );
        this.soundControls.hidden = false;
        this.sound.load(sound);
        return;
      }
      case "other": {
        const bytes = await this.engine.request<Uint8Array>({ type: "bytes", index });
        if (current()) this.showBytes(bytes);
        return;
      }
    }
  }

  private clear(): void {
    // Frames of one animation mostly share a size, and so do those of the next: their
    // buffers go back to the worker to carry the next frames.
    for (const frame of this.player.load([])) if (frame.rgb) this.engine.giveBack(frame.rgb);
    this.sound.load(null);
    drawPicture(this.canvas, null);
    delete this.canvas.dataset.frame;
    this.canvas.dataset.shown = "";
    this.note.textContent = "";
    this.frameControls.hidden = true;
    this.soundControls.hidden = true;
    this.hexChoice.hidden = true;
    this.textView.hidden = true;
    this.bytes = null;
  }

  // Bytes as CP932 text when they are text and hex is not asked for, else as hex.
  private showBytes(bytes: Uint8Array | null = this.bytes): void {
    if (bytes === null) return;
    this.bytes = bytes;
    const asText = this.hex.checked ? null : cp932Text(bytes);
    this.textView.textContent = asText ?? hexText(bytes);
    this.textView.dataset.as = asText === null ? "hex" : "text";
    this.textView.hidden = false;
    this.hexChoice.hidden = false;
  }
}
