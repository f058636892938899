// The order and filter of the entry list: names and texts in natural order (frame2
// before frame10, letter case aside), sizes as numbers, equal keys in table order; a
// filter keeps the entries whose name holds its text, in any letter case. Details sort
// kind by kind (pictures, animations, sounds, others), each by the numbers of its
// details key (detailsKeyLength numbers an entry, by index).
import { detailsKeyLength } from "./details_key";
import type { Entry } from "./protocol";

export type SortColumn = "index" | "name" | "kind" | "size" | "details";

const kindRank: Record<Entry["kind"], number> = { picture: 0, animation: 1, sound: 2, other: 3 };

const natural = new Intl.Collator(undefined, { numeric: true, sensitivity: "base" });

// The details keys of entries a and b number by number; all equal while not known.
function compareKeys(keys: Float64Array | null, a: Entry, b: Entry): number {
  if (keys === null) return 0;
  for (let k = 0; k < detailsKeyLength; ++k) {
    const [x, y] = [keys[a.index * detailsKeyLength + k], keys[b.index * detailsKeyLength + k]];
    if (x !== y) return x - y;
  }
  return 0;
}

// The entries that pass filter, sorted by column (descending when asked).
export function ordered(
  entries: readonly Entry[],
  column: SortColumn,
  descending: boolean,
  filter: string,
  kindText: (entry: Entry) => string,
  detailsKeys: Float64Array | null,
): Entry[] {
  const wanted = filter.toLowerCase();
  const kept = wanted === "" ? [...entries] : entries.filter((entry) => entry.name.toLowerCase().includes(wanted));
  const key: (a: Entry, b: Entry) => number =
    column === "name" ? (a, b) => natural.compare(a.name, b.name)
    : column === "kind" ? (a, b) => natural.compare(kindText(a), kindText(b))
    : column === "size" ? (a, b) => a.size - b.size
    : column === "details" ?
      (a, b) => kindRank[a.kind] - kindRank[b.kind] || compareKeys(detailsKeys, a, b)
    : () => 0;
  const sign = descending ? -1 : 1;
  return kept.sort((a, b) => sign * key(a, b) || a.index - b.index);
}
