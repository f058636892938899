// Items handed over one by one and read as an async iterable, in order: what the worker
// sends while a conversion goes on, read by the ZIP writer as it comes.
export class AsyncQueue<T> implements AsyncIterable<T> {
  private readonly items: T[] = [];
  private ended = false;
  private failure: unknown = null;
  private wake: (() => void) | null = null;

  push(item: T): void {
    this.items.push(item);
    this.notify();
  }

  end(): void {
    this.ended = true;
    this.notify();
  }

  fail(error: unknown): void {
    this.failure = error;
    this.end();
  }

  async *[Symbol.asyncIterator](): AsyncIterator<T> {
    for (;;) {
      if (this.failure !== null) throw this.failure;
      const item = this.items.shift();
      if (item !== undefined) {
        yield item;
      } else if (this.ended) {
        return;
      } else {
        await new Promise<void>((resolve) => (this.wake = resolve));
      }
    }
  }

  private notify(): void {
    this.wake?.();
    this.wake = null;
  }
}
