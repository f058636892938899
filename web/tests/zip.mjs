// ZIP files read by hand through their central directory (stored entries only, as
// client-zip writes them), for comparing what the page takes out with orvconv-cli's tree.

// The files of the ZIP by name: Map(name -> Buffer). A name held twice is an error: an
// unpacker would keep either file.
export function readZip(zip) {
  let end = zip.length - 22;
  while (end >= 0 && zip.readUInt32LE(end) !== 0x06054b50) --end;
  if (end < 0) throw new Error("no end of central directory");
  const count = zip.readUInt16LE(end + 10);
  let at = zip.readUInt32LE(end + 16);
  const files = new Map();
  for (let k = 0; k < count; ++k) {
    if (zip.readUInt32LE(at) !== 0x02014b50) throw new Error("bad central directory");
    const method = zip.readUInt16LE(at + 10);
    const size = zip.readUInt32LE(at + 20);
    const nameLength = zip.readUInt16LE(at + 28);
    const extraLength = zip.readUInt16LE(at + 30);
    const commentLength = zip.readUInt16LE(at + 32);
    const local = zip.readUInt32LE(at + 42);
    const name = zip.toString("utf8", at + 46, at + 46 + nameLength);
    if (method !== 0) throw new Error(`${name}: compression method ${method}`);
    if (size === 0xffffffff || local === 0xffffffff) throw new Error(`${name}: ZIP64 is not read here`);
    const data = local + 30 + zip.readUInt16LE(local + 26) + zip.readUInt16LE(local + 28);
    if (files.has(name)) throw new Error(`${name}: twice in the ZIP`);
    if (!name.endsWith("/")) files.set(name, zip.subarray(data, data + size));
    at += 46 + nameLength + extraLength + commentLength;
  }
  return files;
}
