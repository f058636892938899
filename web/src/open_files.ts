// The inputs among what the user hands the page: files picked or dropped, and the files
// of folders picked or dropped, at any depth. Only .dat and .ani files are inputs, in any
// letter case, as orvconv-cli takes them; the others in a folder are passed over.

export function isInputName(name: string): boolean {
  return /\.(dat|ani)$/i.test(name);
}

// The files a folder picker (<input webkitdirectory>) or a file picker gave, inputs only
// when they come from a folder.
export function pickedInputs(files: FileList, fromFolder: boolean): File[] {
  const all = Array.from(files);
  return fromFolder ? all.filter((file) => isInputName(file.name)) : all;
}

function readEntries(reader: FileSystemDirectoryReader): Promise<FileSystemEntry[]> {
  return new Promise((resolve, reject) => reader.readEntries(resolve, reject));
}

// The inputs under a dropped folder; a folder's reader gives its entries in batches.
async function folderInputs(folder: FileSystemDirectoryEntry, found: File[]): Promise<void> {
  const reader = folder.createReader();
  for (let batch = await readEntries(reader); batch.length > 0; batch = await readEntries(reader)) {
    for (const entry of batch) await entryInputs(entry, found);
  }
}

async function entryInputs(entry: FileSystemEntry, found: File[]): Promise<void> {
  if (entry.isDirectory) {
    await folderInputs(entry as FileSystemDirectoryEntry, found);
  } else if (isInputName(entry.name)) {
    found.push(await new Promise<File>((resolve, reject) => (entry as FileSystemFileEntry).file(resolve, reject)));
  }
}

// What a drop brings: each file dropped as it is (orvconv-cli names what it passes
// over), and the inputs of each folder dropped.
export async function droppedInputs(transfer: DataTransfer): Promise<File[]> {
  // Items must be taken while the drop event runs, before anything is awaited.
  const dropped = Array.from(transfer.items)
    .filter((item) => item.kind === "file")
    .map((item) => ({ entry: item.webkitGetAsEntry?.() ?? null, file: item.getAsFile() }));
  const found: File[] = [];
  for (const { entry, file } of dropped) {
    if (entry?.isDirectory) await folderInputs(entry as FileSystemDirectoryEntry, found);
    else if (file !== null) found.push(file);
  }
  return found;
}
