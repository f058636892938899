#!/bin/sh
# The desktop's choice for archives and animation files on a system where no one has chosen:
# the package's desktop entries and file types in a private XDG tree, asked as scripts ask
# (xdg-mime), as GTK file managers open (gio open) and as the generic opener does (xdg-open).
# The programs on the PATH are stand-ins that note how they were started.
# usage: check_default_handler.sh PACKAGING_DIR
set -eu
packaging=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/orvconv-default-XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "check_default_handler: $*" >&2; exit 1; }

mkdir -p "$work/data/applications" "$work/data/mime/packages" "$work/bin" "$work/files"
cp "$packaging/orvview.desktop" "$packaging/orvconv.desktop" "$work/data/applications/"
cp /usr/share/mime/packages/*.xml "$packaging/orvconv-mime.xml" "$work/data/mime/packages/"
update-mime-database "$work/data/mime" >/dev/null 2>&1 || fail "update-mime-database"
update-desktop-database "$work/data/applications" || fail "update-desktop-database"
for program in orvview orvconv; do
  printf '#!/bin/sh\necho %s "$@" >>"%s/started"\n' "$program" "$work" >"$work/bin/$program"
  chmod +x "$work/bin/$program"
done
desktop() {
  env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION XDG_DATA_DIRS="$work/data" XDG_DATA_HOME="$work/home" \
    XDG_CONFIG_HOME="$work/config" XDG_CONFIG_DIRS="$work/etc" PATH="$work/bin:$PATH" DISPLAY=:0 "$@"
}
# The opener returns before the program it starts has run.
started() {
  for _ in $(seq 50); do [ -s "$work/started" ] && break; sleep 0.1; done
  cat "$work/started" 2>/dev/null
  rm -f "$work/started"
}

printf 'pack\0\0' >"$work/files/scenes.dat"
printf '\4\0\0\0\14\0\0\0' >"$work/files/walk.ani"
for type in application/x-orvenda-pack application/x-orvenda-animation; do
  got=$(desktop xdg-mime query default "$type")
  [ "$got" = orvview.desktop ] || fail "xdg-mime's default for $type is '$got'"
done
for file in scenes.dat walk.ani; do
  desktop gio open "$work/files/$file" || fail "gio open $file"
  got=$(started)
  [ "$got" = "orvview $work/files/$file" ] || fail "gio open $file started '$got'"
  (cd "$work/files" && desktop xdg-open "$file" >/dev/null 2>&1) || fail "xdg-open $file"
  got=$(started)
  [ "$got" = "orvview $file" ] || fail "xdg-open $file started '$got'"
done
# The converter stays in the application menu, for files chosen in its own window.
desktop-file-validate "$work/data/applications/orvconv.desktop" || fail "orvconv.desktop"
! grep -q '^NoDisplay=true' "$work/data/applications/orvconv.desktop" || fail "orvconv.desktop is hidden"
echo "check_default_handler: a double-click opens orvview"
