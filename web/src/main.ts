// The page: open archives and animation files (picked, dropped, or a whole folder), list
// the entries of one, preview them, and take the selection or everything out as
// orvconv-cli writes it, as a ZIP file or into a folder.
import { detailsText } from "./details_text";
import { EngineClient } from "./engine_client";
import { entriesOf } from "./entry_columns";
import { EntryList } from "./entry_list";
import { droppedInputs, pickedInputs } from "./open_files";
import { Preview } from "./preview";
import type { ConvertOptions, Details, Entry, Opened } from "./protocol";
import { takeOutAsZip, takeOutIntoFolder, type TakeOutRequest } from "./take_out";
import { text, translatePage, type TextKey } from "./texts";

translatePage();
// Offline use and installing: the service worker keeps the page's files.
void navigator.serviceWorker?.register("sw.js").catch(() => undefined);

function element<T extends HTMLElement>(id: string): T {
  return document.getElementById(id) as T;
}

const status = element<HTMLElement>("status");
const inputChoice = element<HTMLSelectElement>("inputs");
const settingsInput = element<HTMLInputElement>("settings");
const frameMsInput = element<HTMLInputElement>("frame-ms");
const takeOutButtons = [element<HTMLButtonElement>("take-out-selection"), element<HTMLButtonElement>("take-out-everything")];
const cancelButton = element<HTMLButtonElement>("cancel");
const progress = element<HTMLProgressElement>("progress");
const intoFolder = element<HTMLInputElement>("into-folder");

type DirectoryPicker = (options: { mode: "readwrite" }) => Promise<FileSystemDirectoryHandle>;
const directoryPicker = (): DirectoryPicker | undefined =>
  (window as { showDirectoryPicker?: DirectoryPicker }).showDirectoryPicker;
element("into-folder-choice").hidden = directoryPicker() === undefined;

function showStatus(words: string): void {
  status.textContent = words;
}

const engine = new EngineClient((reason) =>
  showStatus(text("engineStopped", reason === "stuck" ? text("tooLong", 60) : reason)),
);

const frameMs = (): number => (frameMsInput.validity.valid ? Number(frameMsInput.value) : 100);
const settingsBytes = async (): Promise<Uint8Array> => {
  const file = settingsInput.files?.[0];
  return file ? new Uint8Array(await file.arrayBuffer()) : new Uint8Array();
};
const preview = new Preview(engine, settingsBytes, frameMs);

const kindText = (entry: Entry): string => text(entry.kind as TextKey);
// Details of the input shown now; a reply for an input shown before is dropped.
let shownInput = 0;
const list = new EntryList(element("entries"), {
  kindText,
  wantDetails: (indices) => {
    const input = shownInput;
    for (const index of indices) {
      engine.request<Details>({ type: "details", index }).then(
        (details) => input === shownInput && list.setDetails(index, detailsText(entriesByIndex[index], details)),
        () => input === shownInput && list.setDetails(index, text("unreadable")),
      );
    }
  },
  onFocus: (entry) => void preview.show(entry),
});
let entriesByIndex: Entry[] = [];

const opened: File[] = [];

async function showInput(file: File): Promise<void> {
  ++shownInput;
  delete document.body.dataset.opened;
  showStatus(text("opening", file.name));
  entriesByIndex = [];
  list.show([]);
  void preview.show(null);
  takeOutButtons.forEach((button) => (button.disabled = true));
  try {
    const result = await engine.request<Opened>({ type: "open", file });
    if (result.passedOver !== undefined) {
      showStatus(text("passedOver", file.name, text(result.passedOver)));
    } else if (result.openError !== undefined) {
      showStatus(text("cannotOpen", file.name));
    } else {
      entriesByIndex = entriesOf(result.entries);
      list.show(entriesByIndex);
      takeOutButtons.forEach((button) => (button.disabled = false));
      const count = entriesByIndex.length;
      const listed = count === 1 ? text("oneEntry", file.name) : text("entries", file.name, count);
      showStatus(listed + (result.pastEnd ? text("cutShort") : ""));
    }
  } catch (error) {
    showStatus(`${file.name}: ${(error as Error).message}`);
  }
  document.body.dataset.opened = file.name;
}

// The files join those opened; the first of them is shown.
function openFiles(files: File[]): void {
  if (files.length === 0) return;
  for (const file of files) {
    opened.push(file);
    inputChoice.add(new Option(file.webkitRelativePath || file.name, String(opened.length - 1)));
  }
  inputChoice.hidden = opened.length < 2;
  inputChoice.value = String(opened.length - files.length);
  void showInput(files[0]);
}

function options(): ConvertOptions {
  return {
    outputMode: Number(element<HTMLSelectElement>("format").value) as ConvertOptions["outputMode"],
    animation: Number(element<HTMLSelectElement>("animation").value) as ConvertOptions["animation"],
    aniRaw: element<HTMLInputElement>("ani-raw").checked,
    frameMs: frameMs(),
    sheetColumns: 0,
  };
}

function download(zip: Blob, name: string): void {
  const link = document.createElement("a");
  link.href = URL.createObjectURL(zip);
  link.download = name;
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 60_000);
}

let cancelled = false;

// The folder the user chooses; null when no folder is wanted, undefined when the user
// closed the picker.
async function chosenFolder(): Promise<FileSystemDirectoryHandle | null | undefined> {
  const picker = directoryPicker();
  if (!intoFolder.checked || picker === undefined) return null;
  try {
    return await picker({ mode: "readwrite" });
  } catch (error) {
    if ((error as DOMException).name === "AbortError") return undefined;
    throw error;
  }
}

async function takeOut(selection: boolean): Promise<void> {
  document.body.dataset.takeOut = "running";
  try {
    await takeOutChosen(selection);
  } finally {
    document.body.dataset.takeOut = "done";
  }
}

async function takeOutChosen(selection: boolean): Promise<void> {
  const name = document.body.dataset.opened ?? "";
  const chosen = selection ? list.selected().map((entry) => entry.index) : [];
  if (selection && chosen.length === 0) {
    showStatus(text("nothingSelected"));
    return;
  }
  // The folder is asked for first: the browser allows its picker right after a click.
  let folder: FileSystemDirectoryHandle | null | undefined;
  try {
    folder = await chosenFolder();
  } catch (error) {
    showStatus(`${name}: ${(error as Error).message}`);
    return;
  }
  if (folder === undefined) return;
  const request: TakeOutRequest = {
    options: options(),
    settings: await settingsBytes(),
    chosen,
    onProgress: (done, total) => {
      progress.max = total;
      progress.value = done;
      showStatus(text("takingOut", name, done, total));
    },
  };
  takeOutButtons.forEach((button) => (button.disabled = true));
  cancelButton.hidden = false;
  progress.hidden = false;
  progress.removeAttribute("value");
  cancelled = false;
  try {
    if (folder) await takeOutIntoFolder(engine, request, folder);
    else download(await takeOutAsZip(engine, request), `${name.replace(/\.[^.]*$/, "")}.zip`);
    showStatus(text("takenOut", name));
  } catch (error) {
    showStatus(cancelled ? text("cancelled", name) : `${name}: ${(error as Error).message}`);
  } finally {
    takeOutButtons.forEach((button) => (button.disabled = false));
    cancelButton.hidden = true;
    progress.hidden = true;
  }
}

element<HTMLInputElement>("file").addEventListener("change", (event) => {
  const input = event.target as HTMLInputElement;
  if (input.files) openFiles(pickedInputs(input.files, false));
  input.value = "";
});
element<HTMLInputElement>("folder").addEventListener("change", (event) => {
  const input = event.target as HTMLInputElement;
  const found = input.files ? pickedInputs(input.files, true) : [];
  if (found.length === 0) showStatus(text("noInputs", input.files?.[0]?.webkitRelativePath.split("/")[0] ?? ""));
  openFiles(found);
  input.value = "";
});
document.body.addEventListener("dragover", (event) => event.preventDefault());
document.body.addEventListener("drop", (event) => {
  event.preventDefault();
  if (event.dataTransfer) void droppedInputs(event.dataTransfer).then(openFiles);
});
inputChoice.addEventListener("change", () => void showInput(opened[Number(inputChoice.value)]));
element<HTMLInputElement>("filter").addEventListener("input", (event) =>
  list.setFilter((event.target as HTMLInputElement).value),
);
// The settings file chosen, by name; × goes back to none.
const noSettings = element<HTMLButtonElement>("no-settings");
function settingsChanged(): void {
  const file = settingsInput.files?.[0];
  element("settings-name").textContent = file?.name ?? text("noSettings");
  noSettings.hidden = file === undefined;
  void preview.refresh();
}
settingsInput.addEventListener("change", settingsChanged);
noSettings.addEventListener("click", () => {
  settingsInput.value = "";
  settingsChanged();
});
takeOutButtons[0].addEventListener("click", () => void takeOut(true));
takeOutButtons[1].addEventListener("click", () => void takeOut(false));
cancelButton.addEventListener("click", () => {
  cancelled = true;
  engine.restart(text("cancel"));
});
