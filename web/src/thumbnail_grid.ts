// The entries of the open input as a grid of thumbnails, in the list's order and filter:
// pictures and animations' first frames, each pixel one of the picture's own. The grid is
// virtual as the list is: only the cells in view exist, and only their thumbnails are
// asked of the worker, one request at a time, so that a cell scrolled past before its
// turn costs nothing and the worker stays free for previews. Thumbnails made are kept
// (up to keptThumbnails, some 24 screens) for scrolling back.
import type { Entry, Thumbnail } from "./protocol";
import { thumbnailSide } from "./thumbnail_image";

const cellWidth = 112; // the .cell size of style.css, in CSS pixels
const cellHeight = 128;
const keptThumbnails = 600; // at most 96 x 96 x 4 bytes each: 22 MB

// The thumbnail on a canvas, zoomed by whole steps to fit thumbnailSide pixels.
function canvasOf(thumbnail: Thumbnail): HTMLCanvasElement {
  const { width, height, rgba } = thumbnail;
  const canvas = document.createElement("canvas");
  canvas.width = width;
  canvas.height = height;
  canvas.getContext("2d")!.putImageData(new ImageData(new Uint8ClampedArray(rgba.buffer as ArrayBuffer, rgba.byteOffset, rgba.length), width, height), 0, 0);
  const zoom = Math.max(1, Math.floor(thumbnailSide / Math.max(width, height)));
  canvas.style.width = `${width * zoom}px`;
  canvas.style.height = `${height * zoom}px`;
  return canvas;
}

export interface ThumbnailGridHooks {
  kindText(entry: Entry): string;
  // The thumbnail of a picture or animation entry (null: it draws nothing).
  thumbnail(entry: Entry): Promise<Thumbnail | null>;
  // The user picked an entry.
  onPick(entry: Entry): void;
}

export class ThumbnailGrid {
  private entries: readonly Entry[] = [];
  // Each thumbnail drawn once, on a canvas of its own that the cells of later paints take.
  private readonly made = new Map<number, HTMLCanvasElement | null>();
  private readonly cells = new Map<number, HTMLElement>(); // the cells in view, by entry index
  private queue: Entry[] = [];
  private asking: number | null = null; // the entry whose thumbnail is being made
  private generation = 0;
  private decoded = 0;
  private painting = 0;
  private focused = -1; // entry index
  private columns = 1;
  private readonly body: HTMLElement;

  constructor(
    private readonly box: HTMLElement,
    private readonly hooks: ThumbnailGridHooks,
  ) {
    this.body = box.querySelector<HTMLElement>(".cells")!;
    box.addEventListener("scroll", () => this.schedulePaint());
    new ResizeObserver(() => this.schedulePaint()).observe(box);
    this.body.addEventListener("click", (event) => {
      const cell = (event.target as HTMLElement).closest<HTMLElement>(".cell");
      const entry = cell && this.entries[Number(cell.dataset.at)];
      if (entry) this.hooks.onPick(entry);
    });
    box.addEventListener("keydown", (event) => this.key(event));
  }

  // Another input, or other settings: the thumbnails made so far are dropped.
  reset(): void {
    ++this.generation;
    this.made.clear();
    this.queue = [];
    this.decoded = 0;
    this.schedulePaint();
  }

  // The entries in the list's order.
  show(entries: readonly Entry[]): void {
    this.entries = entries;
    this.schedulePaint();
  }

  setFocus(index: number): void {
    this.focused = index;
    for (const [shown, cell] of this.cells) cell.classList.toggle("focused", shown === index);
  }

  private schedulePaint(): void {
    if (this.painting === 0) this.painting = requestAnimationFrame(() => this.paint());
  }

  private paint(): void {
    this.painting = 0;
    this.cells.clear();
    this.queue = [];
    // Hidden, it keeps no cells, so that it never shows those of entries gone since.
    if (this.box.hidden) {
      this.body.replaceChildren();
      return;
    }
    const columns = (this.columns = Math.max(1, Math.floor(this.box.clientWidth / cellWidth)));
    this.body.style.height = `${Math.ceil(this.entries.length / columns) * cellHeight}px`;
    const firstRow = Math.floor(this.box.scrollTop / cellHeight);
    const lastRow = Math.ceil((this.box.scrollTop + this.box.clientHeight) / cellHeight);
    const first = firstRow * columns;
    const last = Math.min(this.entries.length, lastRow * columns);
    const cells: HTMLElement[] = [];
    for (let at = first; at < last; ++at) {
      const entry = this.entries[at];
      const cell = this.cell(entry, at, columns);
      this.cells.set(entry.index, cell);
      cells.push(cell);
      const wanted = entry.kind === "picture" || entry.kind === "animation";
      if (wanted && !this.made.has(entry.index) && entry.index !== this.asking)
        this.queue.push(entry);
    }
    this.body.replaceChildren(...cells);
    this.box.dataset.decoded = String(this.decoded);
    void this.askNext();
  }

  // The arrow keys, Page Up and Down, Home and End pick the cell they lead to, as in the
  // list, and bring it into view.
  private key(event: KeyboardEvent): void {
    const page = Math.max(1, Math.floor(this.box.clientHeight / cellHeight)) * this.columns;
    const steps: Record<string, number> = {
      ArrowRight: 1,
      ArrowLeft: -1,
      ArrowDown: this.columns,
      ArrowUp: -this.columns,
      PageDown: page,
      PageUp: -page,
      Home: -this.entries.length,
      End: this.entries.length,
    };
    if (!(event.key in steps) || this.entries.length === 0) return;
    event.preventDefault();
    const at = this.entries.findIndex((entry) => entry.index === this.focused);
    const to = at < 0 ? 0 : Math.min(this.entries.length - 1, Math.max(0, at + steps[event.key]));
    const top = Math.floor(to / this.columns) * cellHeight;
    if (top < this.box.scrollTop) this.box.scrollTop = top;
    else if (top + cellHeight > this.box.scrollTop + this.box.clientHeight)
      this.box.scrollTop = top + cellHeight - this.box.clientHeight;
    this.hooks.onPick(this.entries[to]);
  }

  private cell(entry: Entry, at: number, columns: number): HTMLElement {
    const cell = document.createElement("div");
    cell.className = "cell";
    cell.dataset.index = String(entry.index);
    cell.dataset.kind = entry.kind;
    cell.dataset.at = String(at);
    cell.style.left = `${(at % columns) * cellWidth}px`;
    cell.style.top = `${Math.floor(at / columns) * cellHeight}px`;
    if (entry.index === this.focused) cell.classList.add("focused");
    const picture = document.createElement("div");
    picture.className = "thumbnail";
    const name = document.createElement("span");
    name.textContent = entry.name;
    name.title = entry.name;
    cell.append(picture, name);
    this.fill(cell, entry);
    return cell;
  }

  // The thumbnail in its cell, or the entry's kind where there is none (yet).
  private fill(cell: HTMLElement, entry: Entry): void {
    const picture = cell.firstElementChild as HTMLElement;
    const made = this.made.get(entry.index);
    if (made) {
      picture.replaceChildren(made);
      cell.dataset.thumbnail = "drawn";
    } else {
      picture.textContent = this.hooks.kindText(entry);
      if (made === null) cell.dataset.thumbnail = "none";
    }
  }

  // The next thumbnail of a cell still in view, one at a time.
  private async askNext(): Promise<void> {
    if (this.asking !== null) return;
    const entry = this.queue.shift();
    if (entry === undefined) return;
    this.asking = entry.index;
    const generation = this.generation;
    ++this.decoded;
    let made: Thumbnail | null = null;
    try {
      made = await this.hooks.thumbnail(entry);
    } catch {
      made = null;
    }
    this.asking = null;
    if (generation === this.generation) {
      if (this.made.size >= keptThumbnails) this.made.delete(this.made.keys().next().value!);
      this.made.set(entry.index, made && canvasOf(made));
      const cell = this.cells.get(entry.index);
      if (cell) this.fill(cell, entry);
      this.box.dataset.decoded = String(this.decoded);
    } else {
      // Made for the input before: the new input's cells, this one's too, are asked anew.
      this.schedulePaint();
    }
    void this.askNext();
  }
}
