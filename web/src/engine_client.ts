// The page's side of the engine worker: requests as promises. A worker that dies (a
// hostile input that exhausts its memory, say), or that gives no sign of life for a
// minute (one that loops), fails what was pending and is started anew with the input
// that was open, so that the page stays usable.
import type { Reply, Request } from "./protocol";

type Pending = {
  resolve: (value: unknown) => void;
  reject: (error: Error) => void;
  onPartial?: (partial: unknown) => void;
};
export type RequestBody = Request extends infer R ? (R extends Request ? Omit<R, "id"> : never) : never;

// How long a request may go without a reply or a partial one before the worker is
// taken for stuck; the largest legitimate step (one entry) takes seconds.
const stuckAfterMs = 60_000;

export class EngineClient {
  private worker!: Worker;
  private ready!: Promise<void>;
  private nextId = 1;
  private readonly pending = new Map<number, Pending>();
  private opened: RequestBody | null = null;
  private watchdog = 0;

  // restarted(reason): the worker was ended and a new one started; stuckAfter: the
  // watchdog's time, in milliseconds.
  constructor(
    private readonly restarted: (reason: string) => void = () => {},
    private readonly stuckAfter = stuckAfterMs,
  ) {
    this.start();
  }

  // The reply's value; onPartial gets what the worker sends before it (a conversion's
  // files as they are written).
  request<T>(body: RequestBody, onPartial?: (partial: unknown) => void): Promise<T> {
    if (body.type === "open") this.opened = body;
    return this.ready.then(() => this.send<T>(body, onPartial));
  }

  // Bytes of a reply the page has done with: their buffer moves back to the worker to
  // carry a later reply (a worker that is starting does not take it).
  giveBack(bytes: Uint8Array): void {
    const buffer = bytes.buffer as ArrayBuffer;
    this.worker.postMessage({ id: 0, type: "spare", buffer }, [buffer]);
  }

  // Ends the worker and whatever it was doing; a new one opens the input again.
  restart(reason: string): void {
    this.close(reason);
    this.start();
    this.restarted(reason);
  }

  // Ends the worker for good; what was pending fails with reason.
  close(reason: string): void {
    this.worker.terminate();
    clearTimeout(this.watchdog);
    const pending = [...this.pending.values()];
    this.pending.clear();
    for (const { reject } of pending) reject(new Error(reason));
  }

  private send<T>(body: RequestBody, onPartial?: (partial: unknown) => void): Promise<T> {
    const id = this.nextId++;
    return new Promise<T>((resolve, reject) => {
      this.pending.set(id, { resolve: resolve as (value: unknown) => void, reject, onPartial });
      this.worker.postMessage({ ...body, id });
      this.watch();
    });
  }

  // The watchdog runs while anything is pending; each sign of life starts it again.
  private watch(): void {
    clearTimeout(this.watchdog);
    if (this.pending.size > 0) this.watchdog = window.setTimeout(() => this.restart("stuck"), this.stuckAfter);
  }

  private start(): void {
    const worker = new Worker(new URL("./worker.js", import.meta.url), { type: "module" });
    this.worker = worker;
    const started = new Promise<void>((resolve) => {
      worker.onmessage = (event: MessageEvent<Reply>) => {
        if (event.data.id === 0) {
          resolve();
          return;
        }
        this.receive(event.data);
      };
    });
    const opened = this.opened;
    this.ready = started.then(() => (opened === null ? undefined : this.send<unknown>(opened).then(() => undefined)));
    // A failed reopening is told by the requests that follow it.
    this.ready = this.ready.catch(() => undefined);
    worker.onerror = (event) => this.restart(event.message || "the engine stopped");
  }

  private receive(reply: Reply): void {
    const pending = this.pending.get(reply.id);
    if ("partial" in reply) {
      pending?.onPartial?.(reply.partial);
      this.watch();
      return;
    }
    this.pending.delete(reply.id);
    this.watch();
    if ("error" in reply && reply.ended) this.restart(reply.error);
    if (pending === undefined) return;
    if ("error" in reply) pending.reject(new Error(reply.error));
    else pending.resolve(reply.value);
  }
}
