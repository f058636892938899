// PNG files read by hand (chunks, zlib through node:zlib, the five row filters), for
// comparing pictures with what orvconv-cli writes without going through the engine.
import { inflateSync } from "node:zlib";

const signature = Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]);

function paeth(a, b, c) {
  const p = a + b - c;
  const pa = Math.abs(p - a);
  const pb = Math.abs(p - b);
  const pc = Math.abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

// Rows of height x stride bytes, each unfiltered in place against the one above.
function unfilter(data, height, stride, bytesPerPixel) {
  const out = Buffer.alloc(height * stride);
  for (let y = 0; y < height; ++y) {
    const type = data[y * (stride + 1)];
    const row = data.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let x = 0; x < stride; ++x) {
      const a = x >= bytesPerPixel ? out[y * stride + x - bytesPerPixel] : 0;
      const b = y > 0 ? out[(y - 1) * stride + x] : 0;
      const c = x >= bytesPerPixel && y > 0 ? out[(y - 1) * stride + x - bytesPerPixel] : 0;
      const predictor = [0, a, b, (a + b) >> 1, paeth(a, b, c)][type];
      if (predictor === undefined) throw new Error(`PNG row filter ${type}`);
      out[y * stride + x] = (row[x] + predictor) & 0xff;
    }
  }
  return out;
}

// { width, height, rgb } of an 8-bit RGB PNG or a palette PNG of 1 to 8 bits.
export function decodePng(bytes) {
  if (!bytes.subarray(0, 8).equals(signature)) throw new Error("not a PNG file");
  let header = null;
  let palette = null;
  const idat = [];
  for (let at = 8; at < bytes.length; ) {
    const length = bytes.readUInt32BE(at);
    const type = bytes.toString("latin1", at + 4, at + 8);
    const body = bytes.subarray(at + 8, at + 8 + length);
    if (type === "IHDR") {
      header = {
        width: body.readUInt32BE(0),
        height: body.readUInt32BE(4),
        depth: body[8],
        colour: body[9],
        interlace: body[12],
      };
    } else if (type === "PLTE") palette = body;
    else if (type === "IDAT") idat.push(body);
    else if (type === "IEND") break;
    at += 12 + length;
  }
  const { width, height, depth, colour, interlace } = header;
  if (interlace !== 0) throw new Error("interlaced PNG");
  const raw = inflateSync(Buffer.concat(idat));
  const rgb = Buffer.alloc(width * height * 3);
  if (colour === 2 && depth === 8) {
    unfilter(raw, height, width * 3, 3).copy(rgb);
  } else if (colour === 3) {
    const stride = Math.ceil((width * depth) / 8);
    const rows = unfilter(raw, height, stride, 1);
    for (let y = 0; y < height; ++y) {
      for (let x = 0; x < width; ++x) {
        const bit = x * depth;
        const index = (rows[y * stride + (bit >> 3)] >> (8 - depth - (bit & 7))) & ((1 << depth) - 1);
        palette.copy(rgb, (y * width + x) * 3, index * 3, index * 3 + 3);
      }
    }
  } else {
    throw new Error(`PNG colour type ${colour} depth ${depth}`);
  }
  return { width, height, rgb };
}
