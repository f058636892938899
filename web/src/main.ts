// The page: open an archive or animation file, list its entries, show a picture, take
// everything out as a ZIP file.
import { EngineClient } from "./engine_client";
import type { ConvertOptions, Entry, Opened, Picture } from "./protocol";
import { takeOut } from "./take_out";

const engine = new EngineClient();

const fileInput = document.querySelector<HTMLInputElement>("#file")!;
const dropZone = document.body;
const status = document.querySelector<HTMLElement>("#status")!;
const rows = document.querySelector<HTMLTableSectionElement>("#entries tbody")!;
const canvas = document.querySelector<HTMLCanvasElement>("#preview")!;
const takeOutForm = document.querySelector<HTMLFormElement>("#take-out")!;
const takeOutButton = document.querySelector<HTMLButtonElement>("#take-out-button")!;
const formatChoice = document.querySelector<HTMLSelectElement>("#format")!;
const animationChoice = document.querySelector<HTMLSelectElement>("#animation")!;
const aniRawChoice = document.querySelector<HTMLInputElement>("#ani-raw")!;
const settingsInput = document.querySelector<HTMLInputElement>("#settings")!;
let openedName = "";

// orvconv-cli's words for why it passes over an input.
const passedOverText: Record<string, string> = {
  folder: "a folder",
  notAnInputName: "not a .dat or .ani file",
  notAPackArchive: 'not a pack archive (it does not start with "pack")',
};

function showStatus(text: string): void {
  status.textContent = text;
}

function showEntries(entries: Entry[]): void {
  const fragment = document.createDocumentFragment();
  for (const entry of entries) {
    const row = document.createElement("tr");
    row.dataset.index = String(entry.index);
    row.dataset.kind = entry.kind;
    for (const text of [entry.name, entry.kind, entry.size.toLocaleString("en")]) {
      const cell = document.createElement("td");
      cell.textContent = text;
      row.append(cell);
    }
    if (entry.pastEnd) row.classList.add("past-end");
    fragment.append(row);
  }
  rows.replaceChildren(fragment);
}

// The picture's pixels, each drawn as a square of whole screen pixels.
function showPicture(picture: Picture): void {
  const context = canvas.getContext("2d")!;
  if (picture.action !== "drawn" || !picture.rgb || !picture.width || !picture.height) {
    canvas.width = 0;
    canvas.height = 0;
    canvas.dataset.shown = "";
    return;
  }
  const { width, height, rgb } = picture;
  const image = context.createImageData(width, height);
  for (let p = 0, q = 0; p < rgb.length; p += 3, q += 4) {
    image.data[q] = rgb[p];
    image.data[q + 1] = rgb[p + 1];
    image.data[q + 2] = rgb[p + 2];
    image.data[q + 3] = 255;
  }
  canvas.width = width;
  canvas.height = height;
  context.putImageData(image, 0, 0);
  const zoom = Math.max(1, Math.floor(Math.min(512 / width, 512 / height)));
  canvas.style.width = `${width * zoom}px`;
  canvas.style.height = `${height * zoom}px`;
}

async function openFile(file: File): Promise<void> {
  showStatus(`Opening ${file.name}…`);
  rows.replaceChildren();
  takeOutButton.disabled = true;
  try {
    const opened = await engine.request<Opened>({ type: "open", file });
    if (opened.passedOver !== undefined) {
      showStatus(`${file.name}: passed over: ${passedOverText[opened.passedOver]}`);
    } else if (opened.openError !== undefined) {
      showStatus(`${file.name}: cannot be opened`);
    } else {
      showEntries(opened.entries);
      takeOutButton.disabled = false;
      const cut = opened.pastEnd ? " — the file ends early: what is missing reads as zeros" : "";
      showStatus(`${file.name}: ${opened.entries.length} entries${cut}`);
    }
  } catch (error) {
    showStatus(`${file.name}: ${(error as Error).message}`);
  }
  openedName = file.name;
  document.body.dataset.opened = file.name;
}

async function takeOutEverything(): Promise<void> {
  const options: ConvertOptions = {
    outputMode: Number(formatChoice.value) as ConvertOptions["outputMode"],
    animation: Number(animationChoice.value) as ConvertOptions["animation"],
    aniRaw: aniRawChoice.checked,
    frameMs: 100,
    sheetColumns: 0,
  };
  const settingsFile = settingsInput.files?.[0];
  const settings = settingsFile ? new Uint8Array(await settingsFile.arrayBuffer()) : new Uint8Array();
  takeOutButton.disabled = true;
  try {
    const { zip } = await takeOut(engine, options, settings, (done, total) =>
      showStatus(`Taking out ${openedName}: ${done} of ${total} entries`),
    );
    const link = document.createElement("a");
    link.href = URL.createObjectURL(zip);
    link.download = `${openedName.replace(/\.[^.]*$/, "")}.zip`;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 60_000);
    showStatus(`${openedName}: taken out`);
  } catch (error) {
    showStatus(`${openedName}: ${(error as Error).message}`);
  } finally {
    takeOutButton.disabled = false;
  }
}

async function preview(row: HTMLTableRowElement): Promise<void> {
  rows.querySelector(".selected")?.classList.remove("selected");
  row.classList.add("selected");
  const index = Number(row.dataset.index);
  canvas.dataset.shown = "";
  if (row.dataset.kind !== "picture") {
    showPicture({ action: "skipped" });
    return;
  }
  try {
    showPicture(await engine.request<Picture>({ type: "picture", index }));
  } catch (error) {
    showPicture({ action: "skipped" });
    showStatus((error as Error).message);
  }
  canvas.dataset.shown = String(index);
}

fileInput.addEventListener("change", () => {
  if (fileInput.files?.[0]) void openFile(fileInput.files[0]);
});
dropZone.addEventListener("dragover", (event) => event.preventDefault());
dropZone.addEventListener("drop", (event) => {
  event.preventDefault();
  const file = event.dataTransfer?.files[0];
  if (file) void openFile(file);
});
takeOutForm.addEventListener("submit", (event) => {
  event.preventDefault();
  void takeOutEverything();
});
rows.addEventListener("click", (event) => {
  const row = (event.target as HTMLElement).closest("tr");
  if (row) void preview(row);
});
