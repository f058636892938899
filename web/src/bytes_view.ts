// An entry's bytes as text, read as CP932 as the game wrote it, or as hex: offset, 16
// bytes, and the printable ASCII of them. Long entries show their start only.
import { text } from "./texts";

const shownBytes = 64 * 1024;
// The browser's Shift_JIS is CP932, with the NEC and IBM rows.
const cp932 = new TextDecoder("shift_jis", { fatal: true });

// The bytes as text, or null when they are no CP932 text (bytes that do not decode, or
// control bytes other than tab and line ends).
export function cp932Text(bytes: Uint8Array): string | null {
  const start = bytes.subarray(0, shownBytes);
  if (start.some((b) => (b < 0x20 && b !== 0x09 && b !== 0x0a && b !== 0x0d) || b === 0x7f)) return null;
  let decoded: string;
  try {
    decoded = cp932.decode(start);
  } catch {
    // A cut at the end may split a two-byte character: try one byte less.
    try {
      decoded = cp932.decode(start.subarray(0, start.length - 1));
    } catch {
      return null;
    }
  }
  return decoded + more(bytes.length - shownBytes);
}

export function hexText(bytes: Uint8Array): string {
  const lines: string[] = [];
  const end = Math.min(bytes.length, shownBytes);
  for (let at = 0; at < end; at += 16) {
    const row = bytes.subarray(at, Math.min(at + 16, end));
    const hex = Array.from(row, (b) => b.toString(16).padStart(2, "0")).join(" ");
    const ascii = Array.from(row, (b) => (b >= 0x20 && b < 0x7f ? String.fromCharCode(b) : ".")).join("");
    lines.push(`${at.toString(16).padStart(8, "0")}  ${hex.padEnd(47)}  ${ascii}`);
  }
  return lines.join("\n") + more(bytes.length - shownBytes);
}

function more(left: number): string {
  return left > 0 ? `\n${text("moreBytes", left.toLocaleString())}` : "";
}
