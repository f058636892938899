// Taking everything out of the open input as orvconv-cli writes it, as one ZIP file
// written by client-zip while the worker converts: each entry's files go into the ZIP
// as soon as they are in place, and leave the worker's memory at once.
import { downloadZip } from "client-zip";
import { AsyncQueue } from "./async_queue";
import type { EngineClient } from "./engine_client";
import type { ConvertOptions, ConvertProgress, Converted, OutputFile } from "./protocol";

export interface TakenOut {
  zip: Blob;
  converted: Converted;
}

export async function takeOut(
  engine: EngineClient,
  options: ConvertOptions,
  settings: Uint8Array,
  onProgress: (done: number, total: number) => void,
): Promise<TakenOut> {
  const files = new AsyncQueue<OutputFile>();
  const conversion = engine
    .request<Converted>({ type: "convert", options, settings, chosen: [] }, (partial) => {
      const progress = partial as ConvertProgress;
      progress.files.forEach((file) => files.push(file));
      onProgress(progress.done, progress.total);
    })
    .then(
      (converted) => {
        converted.files.forEach((file) => files.push(file));
        files.end();
        return converted;
      },
      (error: unknown) => {
        files.fail(error);
        throw error;
      },
    );
  const inputs = (async function* () {
    for await (const file of files) yield { name: file.path, input: file.data };
  })();
  const [zip, converted] = await Promise.all([downloadZip(inputs).blob(), conversion]);
  return { zip, converted };
}
