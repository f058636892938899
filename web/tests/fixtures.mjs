// Archives for the browser tests, made by orvpack from folders written here: pictures
// of several sizes (odd widths, so that rows are padded), sounds, raw entries, an
// animation with larger later frames (the canvas carried over) and names that need
// "%XX" or CP932; one of them cut short; and one, written here, whose entries write
// some file names twice.
import { execFileSync } from "node:child_process";
import { mkdirSync, readFileSync, writeFileSync } from "node:fs";
import { join } from "node:path";

// A 24-bit BMP of width x height whose pixel (x, y) has colour(x, y) = [r, g, b].
function bmp(width, height, colour) {
  const stride = Math.ceil((width * 3) / 4) * 4;
  const file = Buffer.alloc(54 + stride * height);
  file.write("BM", 0, "latin1");
  file.writeUInt32LE(file.length, 2);
  file.writeUInt32LE(54, 10);
  file.writeUInt32LE(40, 14);
  file.writeInt32LE(width, 18);
  file.writeInt32LE(height, 22);
  file.writeUInt16LE(1, 26);
  file.writeUInt16LE(24, 28);
  file.writeUInt32LE(stride * height, 34);
  for (let y = 0; y < height; ++y) {
    for (let x = 0; x < width; ++x) {
      const [r, g, b] = colour(x, y);
      const at = 54 + (height - 1 - y) * stride + x * 3;
      file[at] = b;
      file[at + 1] = g;
      file[at + 2] = r;
    }
  }
  return file;
}

// A 16-bit PCM WAV of the samples.
function wav(channels, rate, samples) {
  const file = Buffer.alloc(44 + samples.length * 2);
  file.write("RIFF", 0, "latin1");
  file.writeUInt32LE(file.length - 8, 4);
  file.write("WAVEfmt ", 8, "latin1");
  file.writeUInt32LE(16, 16);
  file.writeUInt16LE(1, 20);
  file.writeUInt16LE(channels, 22);
  file.writeUInt32LE(rate, 24);
  file.writeUInt32LE(rate * channels * 2, 28);
  file.writeUInt16LE(channels * 2, 32);
  file.writeUInt16LE(16, 34);
  file.write("data", 36, "latin1");
  file.writeUInt32LE(samples.length * 2, 40);
  samples.forEach((s, i) => file.writeInt16LE(s, 44 + i * 2));
  return file;
}

// At most 64 colours: a pattern that differs with seed.
function pattern(seed) {
  return (x, y) => {
    const v = (x * (seed + 3) + y * (seed * 7 + 1) + ((x >> 2) ^ (y >> 1))) & 63;
    return [(v & 3) * 85, ((v >> 2) & 3) * 85, ((v >> 4) & 3) * 85];
  };
}

// The entries of a pack archive by name, read by hand: Map(name -> bytes).
export function archiveEntries(archive) {
  const entries = new Map();
  const count = archive.readUInt16LE(4);
  for (let k = 0; k < count; ++k) {
    const at = 6 + 24 * k;
    const name = archive.subarray(at, at + 16);
    const end = name.indexOf(0);
    const offset = archive.readUInt32LE(at + 16);
    entries.set(name.toString("latin1", 0, end < 0 ? 16 : end), archive.subarray(offset, offset + archive.readUInt32LE(at + 20)));
  }
  return entries;
}

// A pack archive of [name, bytes] in that order (ASCII names).
export function packArchive(entries) {
  const table = Buffer.alloc(6 + 24 * entries.length);
  table.write("pack", 0, "latin1");
  table.writeUInt16LE(entries.length, 4);
  let offset = table.length;
  entries.forEach(([name, bytes], k) => {
    table.write(name, 6 + 24 * k, "latin1");
    table.writeUInt32LE(offset, 6 + 24 * k + 16);
    table.writeUInt32LE(bytes.length, 6 + 24 * k + 20);
    offset += bytes.length;
  });
  return Buffer.concat([table, ...entries.map(([, bytes]) => bytes)]);
}

function writeFolder(folder, files) {
  mkdirSync(folder, { recursive: true });
  for (const [name, data] of Object.entries(files)) writeFileSync(join(folder, name), data);
}

// Writes the archives into dir with orvpack, and a copy of the animation file walk
// under a name in CP932; gives their paths.
export function makeArchives(orvpack, walk, dir) {
  const made = [];
  const pack = (name, files) => {
    const folder = join(dir, `${name}-files`);
    writeFolder(folder, files);
    const output = join(dir, `${name}.dat`);
    execFileSync(orvpack, ["-q", "-o", output, folder]);
    made.push(output);
    return output;
  };

  const sizes = {};
  [[1, 1], [3, 2], [17, 9], [64, 48], [101, 37], [320, 240]].forEach(([w, h], k) => {
    sizes[`pic${k}_${w}x${h}.bmp`] = bmp(w, h, pattern(k));
  });
  pack("sizes", sizes);

  const frames = {};
  // Frames grow: later ones are larger than the canvas of earlier ones.
  [[16, 16], [24, 20], [40, 30], [40, 30]].forEach(([w, h], k) => {
    frames[`walk_${String(k + 1).padStart(4, "0")}.bmp`] = bmp(w, h, pattern(k + 10));
  });
  const mixed = pack("mixed", {
    ...frames,
    "title.bmp": bmp(50, 20, pattern(20)),
    "mono.wav": wav(1, 22050, Array.from({ length: 500 }, (_, i) => Math.round(8000 * Math.sin(i / 7)))),
    "stereo.wav": wav(2, 44100, Array.from({ length: 800 }, (_, i) => (i * 97) % 30000 - 15000)),
    "notes.txt": Buffer.from("plain bytes\n"),
    "%01ctl.bin": Buffer.from([0, 1, 2, 3]),
    "100%25.txt": Buffer.from("percent"),
    "絵.bmp": bmp(12, 7, pattern(30)),
    // Characters whose CP932 mapping differs from plain Shift_JIS: NEC and IBM rows.
    "～波①髙ｱ.txt": Buffer.from("cp932"),
  });

  // The same archive cut short inside its last picture, whose header stays whole: the
  // rest of it and the entry after it read as zeros.
  const cut = join(dir, "cut.dat");
  const whole = readFileSync(mixed);
  writeFileSync(cut, whole.subarray(0, whole.length - 120));
  made.push(cut);

  const named = join(dir, "歩く.ani");
  writeFileSync(named, readFileSync(walk));
  made.push(named);

  // Entries whose files take one name, the earlier or the later being the picture,
  // frame, sound or raw copy: orvconv-cli keeps the later file.
  const taken = archiveEntries(whole);
  const sound = Buffer.from([0, 0, 0, 6, 1, 2, 3, 4]);
  const twice = join(dir, "twice.dat");
  writeFileSync(
    twice,
    packArchive([
      ["dup.txt", Buffer.from("first")],
      ["title.bmp", Buffer.from("raw, then the picture")],
      ["title.cg", taken.get("title.cg")],
      ["walk.ani", taken.get("walk.ani")],
      ["walk_0002.bmp", Buffer.from("raw after the frame")],
      ["s.pcm", sound],
      ["s.wav", Buffer.from("raw after the sound")],
      ["t.wav", Buffer.from("raw before the sound")],
      ["t.pcm", sound],
      ["dup.txt", Buffer.from("second")],
    ]),
  );
  made.push(twice);
  return made;
}
