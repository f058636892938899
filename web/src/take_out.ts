// Taking entries out as orvconv-cli writes them, while the worker converts: each entry's
// files leave the worker's memory as soon as they are in place, into one ZIP file written
// by client-zip, or into a folder the user chose (showDirectoryPicker, where the browser
// offers it). A name written again replaces the file, as on disk. Several inputs are
// taken out one after another, each into its output folder, as orvconv-cli converts
// inputs given at once.
import { downloadZip } from "client-zip";
import { AsyncQueue } from "./async_queue";
import type { EngineClient } from "./engine_client";
import type { ConvertOptions, ConvertProgress, Converted, Opened, OutputFile } from "./protocol";

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

export interface InputsRequest extends Omit<TakeOutRequest, "chosen"> {
  // The k-th input is being converted.
  onInput: (k: number) => void;
  // An input orvconv-cli passes over, or cannot open (opened tells which).
  onPassedOver: (file: File, opened: Opened) => void;
  // An input that ends before its table or entries do, converted as orvconv-cli does.
  onCutShort: (file: File) => void;
}

// The output folder orvconv-cli makes for an input, up to letter case: its name without
// the extension.
const folderOf = (file: File): string => file.name.toLowerCase().replace(/\.[^.]*$/, "");

// Everything of each input in turn, as orvconv-cli converts them given at once. Inputs
// that write into one output folder replace each other's files there, the later one
// winning: their files are held until the last input has been converted, since a file
// in a streamed ZIP cannot be taken back.
export async function* filesOfInputs(
  engine: EngineClient,
  inputs: readonly File[],
  request: InputsRequest,
): AsyncGenerator<OutputFile> {
  const sharing = new Map<string, number>();
  for (const file of inputs) sharing.set(folderOf(file), (sharing.get(folderOf(file)) ?? 0) + 1);
  const held = new Map<string, OutputFile>();
  for (const [k, file] of inputs.entries()) {
    request.onInput(k);
    const opened = await engine.request<Opened>({ type: "open", file });
    if (opened.passedOver !== undefined || opened.openError !== undefined) {
      request.onPassedOver(file, opened);
      continue;
    }
    const { files, conversion } = convertedFiles(engine, { ...request, chosen: [] });
    const shared = sharing.get(folderOf(file))! > 1;
    // Its failure is told by the files.
    conversion.catch(() => undefined);
    for await (const output of files) {
      if (shared) held.set(output.path, output);
      else yield output;
    }
    if ((await conversion).pastEnd) request.onCutShort(file);
  }
  yield* held.values();
}

// The files as one ZIP file.
export function zipOf(files: AsyncIterable<OutputFile>): Promise<Blob> {
  const inputs = (async function* () {
    for await (const file of files) yield { name: file.path, input: file.data };
  })();
  return downloadZip(inputs).blob();
}

// Each file into folder/<output folder>/<name>. The engine makes names of one part each;
// the browser refuses "..", "/" and the like in a name, so nothing lands elsewhere.
export async function writeIntoFolder(files: AsyncIterable<OutputFile>, folder: FileSystemDirectoryHandle): Promise<void> {
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
}

// The files of the open input's conversion, written by write.
export async function takeOut<T>(
  engine: EngineClient,
  request: TakeOutRequest,
  write: (files: AsyncIterable<OutputFile>) => Promise<T>,
): Promise<T> {
  const { files, conversion } = convertedFiles(engine, request);
  const [written] = await Promise.all([write(files), conversion]);
  return written;
}
