// The entries of the open input as a virtual list: only the rows in view (and a few
// around them) exist in the page, so that an archive of 65,535 entries opens, scrolls,
// sorts and filters at once. One or many rows are selected with the mouse (Ctrl or Shift
// held for more) and the arrow keys; the row with the focus is the one previewed.
import { ordered, type SortColumn } from "./entry_order";
import type { Entry } from "./protocol";

const rowHeight = 22; // the .row height of style.css, in CSS pixels
const overscan = 8;

export interface EntryListHooks {
  kindText(entry: Entry): string;
  // Rows came into view whose details are not known: listOf.setDetails for each.
  wantDetails(indices: number[]): void;
  // Every entry's details key (detailsKeyLength numbers an entry, by index): the list
  // sorted by them.
  detailsKeys(): Promise<Float64Array>;
  // The focused entry changed (null: none).
  onFocus(entry: Entry | null): void;
  // The entries shown, or their order, changed.
  onReorder(shown: readonly Entry[]): void;
}

export class EntryList {
  private entries: Entry[] = [];
  private shown: Entry[] = [];
  private column: SortColumn = "index";
  private descending = false;
  private filter = "";
  private readonly selection = new Set<number>();
  private readonly details = new Map<number, string>();
  private readonly asked = new Set<number>();
  private keysAsked = false; // once the list is sorted by details
  private keys: Float64Array | null = null;
  private focus = -1; // position in shown
  private anchor = -1; // where a Shift range starts
  private painting = 0;
  private readonly body: HTMLElement;

  constructor(
    private readonly box: HTMLElement,
    private readonly hooks: EntryListHooks,
  ) {
    this.body = box.querySelector<HTMLElement>(".rows")!;
    box.addEventListener("scroll", () => this.schedulePaint());
    new ResizeObserver(() => this.schedulePaint()).observe(box);
    this.body.addEventListener("click", (event) => this.click(event));
    box.addEventListener("keydown", (event) => this.key(event));
    for (const button of box.querySelectorAll<HTMLButtonElement>("[data-sort]"))
      button.addEventListener("click", () => this.sortBy(button.dataset.sort as SortColumn));
  }

  show(entries: Entry[]): void {
    this.entries = entries;
    this.selection.clear();
    this.details.clear();
    this.asked.clear();
    this.keysAsked = false;
    this.keys = null;
    this.focus = -1;
    this.anchor = -1;
    this.box.scrollTop = 0;
    this.reorder();
  }

  setFilter(text: string): void {
    this.filter = text;
    this.reorder();
  }

  // A column sorts ascending, again descending, a third time back to table order.
  sortBy(column: SortColumn): void {
    if (column !== this.column) {
      this.column = column;
      this.descending = false;
    } else if (!this.descending) {
      this.descending = true;
    } else {
      this.column = "index";
      this.descending = false;
    }
    this.reorder();
  }

  setDetails(index: number, text: string): void {
    this.details.set(index, text);
    this.schedulePaint();
  }

  // Focus and select the entry of index, as a click on its row does.
  focusEntry(index: number): void {
    this.moveTo(this.shown.findIndex((entry) => entry.index === index), false, false);
  }

  // The selected entries in the list's order (the filter hides none of them).
  selected(): Entry[] {
    return this.shown.filter((entry) => this.selection.has(entry.index));
  }

  // Sorting by details needs every entry's key: they are asked for at once, and the list
  // is sorted again when they come (they are not, when the engine fails).
  private async sortKeys(): Promise<void> {
    const entries = this.entries;
    delete this.box.dataset.details;
    const keys = await this.hooks.detailsKeys().catch(() => null);
    if (keys === null || entries !== this.entries) return;
    this.keys = keys;
    this.box.dataset.details = "complete";
    this.reorder();
  }

  private reorder(): void {
    if (this.column === "details" && !this.keysAsked) {
      this.keysAsked = true;
      void this.sortKeys();
    }
    const focused = this.shown[this.focus];
    this.shown = ordered(this.entries, this.column, this.descending, this.filter, this.hooks.kindText, this.keys);
    const kept = new Set(this.shown.map((entry) => entry.index));
    for (const index of this.selection) if (!kept.has(index)) this.selection.delete(index);
    this.focus = focused === undefined ? -1 : this.shown.indexOf(focused);
    this.anchor = this.focus;
    this.body.style.height = `${this.shown.length * rowHeight}px`;
    for (const button of this.box.querySelectorAll<HTMLElement>("[data-sort]")) {
      const sorted = button.dataset.sort === this.column;
      button.setAttribute("aria-sort", sorted ? (this.descending ? "descending" : "ascending") : "none");
    }
    this.box.dataset.count = String(this.shown.length);
    this.paint();
    this.hooks.onReorder(this.shown);
  }

  private schedulePaint(): void {
    if (this.painting === 0) this.painting = requestAnimationFrame(() => this.paint());
  }

  // The rows in view, each placed at its position in the list.
  private paint(): void {
    cancelAnimationFrame(this.painting);
    this.painting = 0;
    // The sticky header covers the top of the box.
    const top = this.box.scrollTop;
    const bottom = top + this.box.clientHeight - this.body.offsetTop;
    const first = Math.max(0, Math.floor(top / rowHeight) - overscan);
    const last = Math.min(this.shown.length, Math.ceil(bottom / rowHeight) + overscan);
    const rows: HTMLElement[] = [];
    const missing: number[] = [];
    for (let at = first; at < last; ++at) {
      const entry = this.shown[at];
      const details = this.details.get(entry.index);
      if (details === undefined && !this.asked.has(entry.index)) {
        this.asked.add(entry.index);
        missing.push(entry.index);
      }
      rows.push(this.row(entry, at, details ?? ""));
    }
    this.body.replaceChildren(...rows);
    if (missing.length > 0) this.hooks.wantDetails(missing);
  }

  private row(entry: Entry, at: number, details: string): HTMLElement {
    const row = document.createElement("div");
    row.className = "row";
    row.setAttribute("role", "row");
    row.style.top = `${at * rowHeight}px`;
    row.dataset.index = String(entry.index);
    row.dataset.kind = entry.kind;
    row.dataset.at = String(at);
    if (this.selection.has(entry.index)) row.classList.add("selected");
    if (at === this.focus) row.classList.add("focused");
    if (entry.pastEnd) row.classList.add("past-end");
    for (const text of [entry.name, this.hooks.kindText(entry), entry.size.toLocaleString("en"), details]) {
      const cell = document.createElement("span");
      cell.setAttribute("role", "gridcell");
      cell.textContent = text;
      row.append(cell);
    }
    return row;
  }

  private click(event: MouseEvent): void {
    const row = (event.target as HTMLElement).closest<HTMLElement>(".row");
    if (row) this.moveTo(Number(row.dataset.at), event.shiftKey, event.ctrlKey || event.metaKey);
  }

  private key(event: KeyboardEvent): void {
    const page = Math.max(1, Math.floor(this.box.clientHeight / rowHeight) - 1);
    const steps: Record<string, number> = {
      ArrowDown: 1,
      ArrowUp: -1,
      PageDown: page,
      PageUp: -page,
      Home: -this.shown.length,
      End: this.shown.length,
    };
    if ((event.ctrlKey || event.metaKey) && event.key === "a") {
      for (const entry of this.shown) this.selection.add(entry.index);
    } else if (event.key in steps) {
      const to = Math.min(this.shown.length - 1, Math.max(0, this.focus + steps[event.key]));
      this.moveTo(to, event.shiftKey, false);
    } else {
      return;
    }
    event.preventDefault();
    this.paint();
  }

  // Focus on position at: the selection becomes that row, the range from the anchor
  // (extend), or gains or loses that row (toggle).
  private moveTo(at: number, extend: boolean, toggle: boolean): void {
    const entry = this.shown[at];
    if (entry === undefined) return;
    if (extend && this.anchor >= 0) {
      this.selection.clear();
      for (let k = Math.min(this.anchor, at); k <= Math.max(this.anchor, at); ++k)
        this.selection.add(this.shown[k].index);
    } else if (toggle) {
      if (!this.selection.delete(entry.index)) this.selection.add(entry.index);
      this.anchor = at;
    } else {
      this.selection.clear();
      this.selection.add(entry.index);
      this.anchor = at;
    }
    this.focus = at;
    const rowBottom = (at + 1) * rowHeight + this.body.offsetTop;
    if (at * rowHeight < this.box.scrollTop) this.box.scrollTop = at * rowHeight;
    else if (rowBottom > this.box.scrollTop + this.box.clientHeight)
      this.box.scrollTop = rowBottom - this.box.clientHeight;
    this.paint();
    this.hooks.onFocus(entry);
  }
}
