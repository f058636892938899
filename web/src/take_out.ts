// Taking entries of the open input out as orvconv-cli writes them, while the worker
// converts: each entry's files leave the worker's memory as soon as they are in place,
// into one ZIP file written by client-zip, or into a folder the user chose
// (showDirectoryPicker, where the browser offers it). A name written again replaces the
// file, as on disk.
import { downloadZip } from "client-zip";
import { AsyncQueue } from "./async_queue";
import type { EngineClient } from "./engine_client";
import type { ConvertOptions, ConvertProgress, Converted, OutputFile } from "./protocol";

export interface TakeOutRequest {
  options: ConvertOptions;
  settings: Uint8Array;
  chosen: number[]; // entry indices; empty: everything
  onProgress: (done: number, total: number) => void;
}

// The conversion's files as they come; the conversion's result once they all came.
function convertedFiles(engine: EngineClient, request: TakeOutRequest) {
  const files = new AsyncQueue<OutputFile>();
  const { options, settings, chosen } = request;
  const conversion = engine
    .request<Converted>({ type: "convert", options, settings, chosen }, (partial) => {
      const progress = partial as ConvertProgress;
      progress.files.forEach((file) => files.push(file));
      request.onProgress(progress.done, progress.total);
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
  return { files, conversion };
}

export async function takeOutAsZip(engine: EngineClient, request: TakeOutRequest): Promise<Blob> {
  const { files, conversion } = convertedFiles(engine, request);
  const inputs = (async function* () {
    for await (const file of files) yield { name: file.path, input: file.data };
  })();
  const [zip] = await Promise.all([downloadZip(inputs).blob(), conversion]);
  return zip;
}

// Each file into folder/<output folder>/<name>. The engine makes names of one part each;
// the browser refuses "..", "/" and the like in a name, so nothing lands elsewhere.
export async function takeOutIntoFolder(
  engine: EngineClient,
  request: TakeOutRequest,
  folder: FileSystemDirectoryHandle,
): Promise<void> {
  const { files, conversion } = convertedFiles(engine, request);
  const writing = (async () => {
    const folders = new Map<string, FileSystemDirectoryHandle>();
    for await (const file of files) {
      const slash = file.path.indexOf("/");
      const [outName, name] = [file.path.slice(0, slash), file.path.slice(slash + 1)];
      let out = folders.get(outName);
      if (out === undefined) {
        out = await folder.getDirectoryHandle(outName, { create: true });
        folders.set(outName, out);
      }
      const writable = await (await out.getFileHandle(name, { create: true })).createWritable();
      await writable.write(file.data as Uint8Array<ArrayBuffer>);
      await writable.close();
    }
  })();
  await Promise.all([writing, conversion]);
}
