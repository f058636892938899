// The order and filter of the entry list: names and texts in natural order (frame2
// before frame10, letter case aside), sizes as numbers, equal keys in table order; a
// filter keeps the entries whose name holds its text, in any letter case.
import type { Entry } from "./protocol";

export type SortColumn = "index" | "name" | "kind" | "size";

const natural = new Intl.Collator(undefined, { numeric: true, sensitivity: "base" });

// The entries that pass filter, sorted by column (descending when asked).
export function ordered(
  entries: readonly Entry[],
  column: SortColumn,
  descending: boolean,
  filter: string,
  kindText: (entry: Entry) => string,
): Entry[] {
  const wanted = filter.toLowerCase();
  const kept = wanted === "" ? [...entries] : entries.filter((entry) => entry.name.toLowerCase().includes(wanted));
  const key: (a: Entry, b: Entry) => number =
    column === "name" ? (a, b) => natural.compare(a.name, b.name)
    : column === "kind" ? (a, b) => natural.compare(kindText(a), kindText(b))
    : column === "size" ? (a, b) => a.size - b.size
    : () => 0;
  const sign = descending ? -1 : 1;
  return kept.sort((a, b) => sign * key(a, b) || a.index - b.index);
}
