// The page's side of the engine worker: requests as promises. A worker that dies (a
// hostile input that exhausts its memory, say) fails what was pending and is started
// anew, so that the page stays usable.
import type { Reply, Request } from "./protocol";

type Pending = {
  resolve: (value: unknown) => void;
  reject: (error: Error) => void;
  onPartial?: (partial: unknown) => void;
};
type RequestBody = Request extends infer R ? (R extends Request ? Omit<R, "id"> : never) : never;

export class EngineClient {
  private worker!: Worker;
  private ready!: Promise<void>;
  private nextId = 1;
  private readonly pending = new Map<number, Pending>();

  constructor() {
    this.start();
  }

  // The reply's value; onPartial gets what the worker sends before it (a conversion's
  // files as they are written).
  request<T>(body: RequestBody, onPartial?: (partial: unknown) => void): Promise<T> {
    const id = this.nextId++;
    return this.ready.then(
      () =>
        new Promise<T>((resolve, reject) => {
          this.pending.set(id, { resolve: resolve as (value: unknown) => void, reject, onPartial });
          this.worker.postMessage({ ...body, id });
        }),
    );
  }

  // Ends the worker and whatever it was doing; the next request starts a new one.
  restart(reason: string): void {
    this.worker.terminate();
    for (const { reject } of this.pending.values()) reject(new Error(reason));
    this.pending.clear();
    this.start();
  }

  private start(): void {
    this.worker = new Worker(new URL("./worker.js", import.meta.url), { type: "module" });
    this.ready = new Promise((resolve) => {
      this.worker.onmessage = (event: MessageEvent<Reply>) => {
        if (event.data.id === 0) {
          resolve();
          return;
        }
        const reply = event.data;
        const pending = this.pending.get(reply.id);
        if ("partial" in reply) {
          pending?.onPartial?.(reply.partial);
          return;
        }
        this.pending.delete(reply.id);
        if ("error" in reply && reply.ended) this.restart(reply.error);
        if (pending === undefined) return;
        if ("error" in reply) pending.reject(new Error(reply.error));
        else pending.resolve(reply.value);
      };
    });
    this.worker.onerror = (event) => this.restart(event.message || "the engine stopped");
  }
}
