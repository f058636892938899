// Sounds played through Web Audio from the 16-bit PCM the engine reads (little-endian,
// channels interleaved), exactly the samples conversion writes into the WAV file.
import type { Sound } from "./protocol";

let context: AudioContext | null = null;

// The samples as an AudioBuffer, each channel in [-1, 1).
export function audioBufferOf(sound: Sound, audio: BaseAudioContext): AudioBuffer | null {
  const frames = Math.floor(sound.samples.length / (2 * sound.channels));
  if (frames === 0) return null;
  const buffer = audio.createBuffer(sound.channels, frames, sound.rate);
  const view = new DataView(sound.samples.buffer, sound.samples.byteOffset, sound.samples.byteLength);
  for (let channel = 0; channel < sound.channels; ++channel) {
    const out = buffer.getChannelData(channel);
    for (let k = 0; k < frames; ++k) out[k] = view.getInt16((k * sound.channels + channel) * 2, true) / 32768;
  }
  return buffer;
}

export class SoundPlayer {
  private source: AudioBufferSourceNode | null = null;
  private buffer: AudioBuffer | null = null;

  // onEnded: the sound stopped, played to its end or stopped by the user.
  constructor(private readonly onEnded: () => void) {}

  load(sound: Sound | null): void {
    this.stop();
    this.buffer = null;
    if (sound === null) return;
    // One context for the page, made on first use (browsers allow sound after a click).
    context ??= new AudioContext();
    this.buffer = audioBufferOf(sound, context);
  }

  get playing(): boolean {
    return this.source !== null;
  }

  play(): void {
    if (context === null || this.buffer === null) return;
    this.stop();
    const source = context.createBufferSource();
    source.buffer = this.buffer;
    source.connect(context.destination);
    source.onended = () => {
      if (this.source === source) this.source = null;
      this.onEnded();
    };
    this.source = source;
    void context.resume();
    source.start();
  }

  stop(): void {
    const source = this.source;
    this.source = null;
    source?.stop();
  }
}
