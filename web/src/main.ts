// The page: open archives and animation files (picked, dropped, or a whole folder), list
// the entries of one or show their thumbnails, preview them, and take the selection,
// everything, or everything of all open files out as orvconv-cli writes it, as a ZIP
// file or into a folder.
import { detailsText } from "./details_text";
import { EngineClient } from "./engine_client";
import { entriesOf } from "./entry_columns";
import { EntryList } from "./entry_list";
import { droppedInputs, pickedInputs } from "./open_files";
import { Preview } from "./preview";
import type { ConvertOptions, Details, Entry, Opened, OutputFile, Thumbnail } from "./protocol";
import { filesOfInputs, takeOut as takeOutOf, writeIntoFolder, zipOf } from "./take_out";
import { text, translatePage, type TextKey } from "./texts";
import { ThumbnailGrid } from "./thumbnail_grid";

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
const animationChoice = element<HTMLSelectElement>("animation");
const sheetColumnsInput = element<HTMLInputElement>("sheet-columns");
const takeOutButtons = [element<HTMLButtonElement>("take-out-selection"), element<HTMLButtonElement>("take-out-everything")];
const takeOutInputsButton = element<HTMLButtonElement>("take-out-inputs");
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

// The watchdog's time: a minute, or ?watchdog-ms=N (the browser tests make it short).
const watchdogMs = Number(new URLSearchParams(location.search).get("watchdog-ms")) || 60_000;
const engineStopped = (reason: string): void =>
  showStatus(text("engineStopped", reason === "stuck" ? text("tooLong", watchdogMs / 1000) : reason));
const engine = new EngineClient(engineStopped, watchdogMs);

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
  detailsKeys: () => engine.request<Float64Array>({ type: "detailsKeys" }),
  onFocus: (entry) => {
    grid.setFocus(entry?.index ?? -1);
    void preview.show(entry);
  },
  onReorder: (shown) => grid.show(shown),
});
let entriesByIndex: Entry[] = [];

const grid = new ThumbnailGrid(element("thumbnails"), {
  kindText,
  thumbnail: async (entry) =>
    engine.request<Thumbnail | null>({ type: "thumbnail", index: entry.index, settings: await settingsBytes() }),
  onPick: (entry) => list.focusEntry(entry.index),
});

// The list or the thumbnails of the same entries; each paints itself when it comes into
// view (its size changes).
const viewButtons = [element<HTMLButtonElement>("view-list"), element<HTMLButtonElement>("view-thumbnails")];
function showView(thumbnails: boolean): void {
  element("entries").hidden = thumbnails;
  element("thumbnails").hidden = !thumbnails;
  viewButtons.forEach((button, k) => button.setAttribute("aria-pressed", String(thumbnails === (k === 1))));
}
viewButtons.forEach((button, k) => button.addEventListener("click", () => showView(k === 1)));

const opened: File[] = [];

async function showInput(file: File): Promise<void> {
  ++shownInput;
  delete document.body.dataset.opened;
  showStatus(text("opening", file.name));
  entriesByIndex = [];
  grid.reset();
  grid.setFocus(-1);
  element("thumbnails").scrollTop = 0;
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
  takeOutInputsButton.hidden = opened.length < 2;
  inputChoice.value = String(opened.length - files.length);
  void showInput(files[0]);
}

function options(): ConvertOptions {
  return {
    outputMode: Number(element<HTMLSelectElement>("format").value) as ConvertOptions["outputMode"],
    animation: Number(animationChoice.value) as ConvertOptions["animation"],
    aniRaw: element<HTMLInputElement>("ani-raw").checked,
    frameMs: frameMs(),
    // Empty: orvconv-cli's default, the frame count up to 16.
    sheetColumns: sheetColumnsInput.value !== "" && sheetColumnsInput.validity.valid ? Number(sheetColumnsInput.value) : 0,
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
// Ends the take-out under way.
let stopTakeOut = (): void => {};

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

type TakenOut = "selection" | "everything" | "inputs";

async function takeOut(what: TakenOut): Promise<void> {
  document.body.dataset.takeOut = "running";
  try {
    await takeOutChosen(what);
  } finally {
    document.body.dataset.takeOut = "done";
  }
}

function showProgress(done: number, total: number): void {
  progress.max = total;
  progress.value = done;
}

// Everything of every open file, each into its output folder, by an engine of its own,
// so that the input shown stays open in the page's; naming(name): the input under way.
async function takeOutInputs(
  settings: Uint8Array,
  write: (files: AsyncIterable<OutputFile>, zipName: string) => Promise<void>,
  naming: (name: string) => void,
): Promise<void> {
  const inputs = [...opened];
  const worker = new EngineClient(engineStopped, watchdogMs);
  stopTakeOut = () => worker.close(text("cancel"));
  const notes: string[] = [];
  let passedOver = 0;
  let at = 0;
  try {
    const files = filesOfInputs(worker, inputs, {
      options: options(),
      settings,
      onInput: (k) => naming(inputs[(at = k)].name),
      onProgress: (done, total) => {
        showProgress(done, total);
        showStatus(text("takingOutInputs", inputs[at].name, at + 1, inputs.length, done, total));
      },
      onPassedOver: (file, result) => {
        ++passedOver;
        notes.push(
          result.passedOver !== undefined ?
            text("passedOver", file.name, text(result.passedOver))
          : text("cannotOpen", file.name),
        );
      },
      onCutShort: (file) => notes.push(file.name + text("cutShort")),
    });
    await write(files, "orvconv.zip");
  } finally {
    worker.close(text("cancel"));
  }
  showStatus([text("takenOutInputs", inputs.length - passedOver, inputs.length), ...notes].join("\n"));
}

async function takeOutChosen(what: TakenOut): Promise<void> {
  let name = document.body.dataset.opened ?? "";
  const chosen = what === "selection" ? list.selected().map((entry) => entry.index) : [];
  if (what === "selection" && chosen.length === 0) {
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
  const write = async (files: AsyncIterable<OutputFile>, zipName: string): Promise<void> => {
    if (folder) await writeIntoFolder(files, folder);
    else download(await zipOf(files), zipName);
  };
  const settings = await settingsBytes();
  const buttons = [...takeOutButtons, takeOutInputsButton];
  const enabled = buttons.map((button) => !button.disabled);
  buttons.forEach((button) => (button.disabled = true));
  cancelButton.hidden = false;
  progress.hidden = false;
  progress.removeAttribute("value");
  cancelled = false;
  try {
    if (what === "inputs") {
      await takeOutInputs(settings, write, (input) => (name = input));
    } else {
      stopTakeOut = () => engine.restart(text("cancel"));
      const onProgress = (done: number, total: number): void => {
        showProgress(done, total);
        showStatus(text("takingOut", name, done, total));
      };
      await takeOutOf(engine, { options: options(), settings, chosen, onProgress }, (files) =>
        write(files, `${name.replace(/\.[^.]*$/, "")}.zip`),
      );
      showStatus(text("takenOut", name));
    }
  } catch (error) {
    showStatus(cancelled ? text("cancelled", name) : `${name}: ${(error as Error).message}`);
  } finally {
    buttons.forEach((button, k) => (button.disabled = !enabled[k]));
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
  grid.reset();
  void preview.refresh();
}
settingsInput.addEventListener("change", settingsChanged);
noSettings.addEventListener("click", () => {
  settingsInput.value = "";
  settingsChanged();
});
takeOutButtons[0].addEventListener("click", () => void takeOut("selection"));
takeOutButtons[1].addEventListener("click", () => void takeOut("everything"));
takeOutInputsButton.addEventListener("click", () => void takeOut("inputs"));
animationChoice.addEventListener("change", () => (element("sheet-columns-choice").hidden = animationChoice.value !== "3"));
cancelButton.addEventListener("click", () => {
  cancelled = true;
  stopTakeOut();
});
