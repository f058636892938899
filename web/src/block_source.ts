// What the engine reads of a File, through File.slice. Each read of a File costs a round
// trip to the browser's file store (about half a millisecond), and the engine reads many
// small pieces in order (the table, then entry after entry): reads are served from one
// block of up to 4 MiB read at once, so that memory stays bounded whatever the file.
const blockBytes = 4 << 20;

export class BlockSource {
  readonly size: number;
  private block: Uint8Array = new Uint8Array(0);
  private blockAt = 0;
  private readonly reader = new FileReaderSync();

  constructor(private readonly file: File) {
    this.size = file.size;
  }

  // n bytes from offset; fewer where the file ends first.
  read(offset: number, n: number): Uint8Array {
    if (n >= blockBytes) return this.slice(offset, n);
    const start = offset - this.blockAt;
    if (start < 0 || start + n > this.block.length) {
      this.block = this.slice(offset, blockBytes);
      this.blockAt = offset;
      return this.block.subarray(0, n);
    }
    return this.block.subarray(start, start + n);
  }

  private slice(offset: number, n: number): Uint8Array {
    return new Uint8Array(this.reader.readAsArrayBuffer(this.file.slice(offset, offset + n)));
  }
}
