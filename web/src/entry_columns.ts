// The entry list as the worker sends it, a column a field, made into an object an entry
// on the page's side: a few arrays and one string cross between threads at once, where
// 65,535 objects would hold the page for a tenth of a second or more.
import type { Entry, EntryColumns } from "./protocol";

export function entriesOf(columns: EntryColumns): Entry[] {
  const count = columns.kinds.length;
  const names = count === 0 ? [] : columns.names.split("\n");
  const entries = new Array<Entry>(count);
  for (let index = 0; index < count; ++index) {
    entries[index] = {
      index,
      name: names[index],
      kind: columns.kindNames[columns.kinds[index]],
      offset: columns.offsets[index],
      size: columns.sizes[index],
      pastEnd: columns.pastEnd[index] === 1,
    };
  }
  return entries;
}
