// Buffers the page has done with, given back to the worker to carry later replies. A new
// buffer for each picture costs the worker more than copying the picture into it (its
// memory is fresh, page by page), while most pictures of an input share a size: each
// picture the page has painted goes back for the next. A few are kept, the latest.
const kept = 8;

export class SpareBuffers {
  private readonly buffers: ArrayBuffer[] = [];

  give(buffer: ArrayBuffer): void {
    this.buffers.push(buffer);
    if (this.buffers.length > kept) this.buffers.shift();
  }

  // n bytes: a spare buffer of that size, else a new one.
  take(n: number): Uint8Array {
    const at = this.buffers.findIndex((buffer) => buffer.byteLength === n);
    return new Uint8Array(at < 0 ? new ArrayBuffer(n) : this.buffers.splice(at, 1)[0]);
  }
}
