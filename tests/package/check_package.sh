#!/bin/sh
# Builds the Debian package of a built tree, checks it with lintian, unpacks it into a
# temporary root and uses it there as the desktop would: the executables, the desktop
# entry, the icon, the file types, the metadata and the manual pages. Nothing outside the
# temporary folder is changed.
# usage: check_package.sh BUILD_DIR VERSION SAMPLE_DAT
set -eu
build=$1 version=$2 sample=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/orvconv-package-XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "check_package: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack failed"; }
deb="$work/out/orvconv_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $deb"

lintian --fail-on error --suppress-tags-from-file /dev/null "$deb" >"$work/lintian.log" 2>&1 || { cat "$work/lintian.log"; fail "lintian reports errors"; }

root="$work/root"
dpkg-deb -x "$deb" "$root"
usr="$root/usr"

# As a Debian packager asks: hardened programs (stack protector and fortified calls,
# RELRO with immediate binding) without compiler notes; the window's font and sounds
# recommended, not required; one maintainer, the changelog's.
for program in orvconv orvconv-cli orvpack orvview orvconv-thumbnailer; do
  elf="$usr/bin/$program"
  readelf -d "$elf" | grep -q 'BIND_NOW\|Flags:.* NOW' || fail "$program: not bound at once (-z now)"
  readelf -l "$elf" | grep -q GNU_RELRO || fail "$program: no RELRO"
  readelf -W --dyn-syms "$elf" | grep -q '__stack_chk_fail' || fail "$program: no stack protector"
  readelf -W --dyn-syms "$elf" | grep -q '__[a-z]*_chk@' || fail "$program: no fortified calls"
  ! readelf -S "$elf" | grep -q '\.comment' || fail "$program: has a .comment section"
done
depends=$(dpkg-deb -f "$deb" Depends)
recommends=$(dpkg-deb -f "$deb" Recommends)
for package in fonts-ipafont-gothic sound-theme-freedesktop; do
  ! echo "$depends" | grep -q "$package" || fail "$package is a dependency, not a recommendation"
  echo "$recommends" | grep -q "$package" || fail "$package is not recommended"
done
maintainer=$(dpkg-deb -f "$deb" Maintainer)
zcat "$usr/share/doc/orvconv/changelog.gz" | grep -q -- "^ -- $maintainer  " || fail "the changelog's maintainer is not $maintainer"
for entry in orvconv orvview; do
  grep -q '^StartupNotify=true$' "$usr/share/applications/$entry.desktop" || fail "$entry: no StartupNotify=true"
done

# The command line tool, run from a folder of its own: its output goes there.
[ "$("$usr/bin/orvconv-cli" --version)" = "orvconv-cli $version" ] || fail "orvconv-cli --version"
mkdir "$work/here"
(cd "$work/here" && "$usr/bin/orvconv-cli" -q "$sample") || fail "orvconv-cli on the sample"
[ -s "$work/here/sample/readme.txt" ] || fail "no ./sample/readme.txt"
# ... and back: the folder packed again converts to the same files.
mkdir "$work/repacked" "$work/again"
"$usr/bin/orvpack" -q -o "$work/repacked/sample.dat" "$work/here/sample" || fail "orvpack on the converted sample"
"$usr/bin/orvconv-cli" -q -o "$work/again" "$work/repacked/sample.dat" || fail "orvconv-cli on the repacked sample"
diff -r "$work/here/sample" "$work/again/sample" >/dev/null || fail "the repacked sample converts differently"
# The Python module, imported from the package by Debian's interpreter, reads the sample.
dist="$usr/lib/python3/dist-packages"
[ -f "$dist/orv/__init__.py" ] && [ -f "$dist/orv/pillow.py" ] || fail "no orv package in dist-packages"
[ -f "$dist/orv/__init__.pyi" ] && [ -f "$dist/orv/py.typed" ] || fail "the orv package carries no types"
count=$(PYTHONPATH="$dist" /usr/bin/python3 -c 'import sys, orv; print(len(orv.open(sys.argv[1])))' "$sample") ||
  fail "import orv from the package"
[ "$count" = "$("$usr/bin/orvconv-cli" -l "$sample" | wc -l)" ] || fail "orv reads $count entries of the sample"
[ "$("$usr/bin/orvconv" --version)" = "orvconv $version" ] || fail "orvconv --version"
# An installed window is no portable setup: it never writes beside its executable.
[ ! -e "$usr/bin/orvconv.portable" ] || fail "the package holds orvconv.portable"
# --help wherever it stands, without a window; an unknown option is a usage error, not a file.
[ "$("$usr/bin/orvconv" --help extra | head -n 1)" = "Usage: orvconv [FILE...]" ] || fail "orvconv --help extra"
status=0
QT_QPA_PLATFORM=offscreen "$usr/bin/orvconv" -x 2>"$work/usage.txt" || status=$?
[ "$status" = 2 ] && grep -q 'unknown option -x' "$work/usage.txt" || fail "orvconv -x: status $status"

# The viewer answers without a display, and refuses what it does not know.
[ "$("$usr/bin/orvview" --version)" = "orvview $version" ] || fail "orvview --version"
status=0
QT_QPA_PLATFORM=offscreen "$usr/bin/orvview" --bogus 2>/dev/null || status=$?
[ "$status" = 2 ] || fail "orvview --bogus: status $status"

# Where the desktop looks: how each window is started.
grep -q '^Exec=orvconv %F$' "$usr/share/applications/orvconv.desktop" || fail "orvconv's Exec line"
grep -q '^Exec=orvview %f$' "$usr/share/applications/orvview.desktop" || fail "orvview's Exec line"
# File managers find the thumbnailer by its .thumbnailer file; Nautilus runs it in a sandbox
# that only lets programs under /usr run.
thumbnailer="$usr/share/thumbnailers/orvconv.thumbnailer"
grep -q '^Exec=orvconv-thumbnailer -s %s %i %o$' "$thumbnailer" || fail "the thumbnailer's Exec line"
"$usr/bin/orvconv-thumbnailer" -s 128 "$sample" "$work/thumbnail.png" || fail "orvconv-thumbnailer on the sample"
file "$work/thumbnail.png" | grep -q 'PNG image data, 128 x' || fail "the sample's thumbnail is no PNG 128 wide"
# The viewer alone lists the file types, so that it is what a double-click opens; the
# package changes no one's choice and ships no list of defaults.
grep -q '^MimeType=application/x-orvenda-pack;application/x-orvenda-animation;$' \
  "$usr/share/applications/orvview.desktop" || fail "orvview.desktop: file types"
! grep -q '^MimeType=' "$usr/share/applications/orvconv.desktop" || fail "orvconv.desktop lists file types"
! find "$root" -name '*mimeapps.list' -o -name defaults.list | grep -q . || fail "the package ships a defaults list"
for entry in orvconv orvview; do
  desktop-file-validate "$usr/share/applications/$entry.desktop" || fail "$entry.desktop"
  [ -s "$usr/share/icons/hicolor/scalable/apps/$entry.svg" ] || fail "no icon $entry"
  appstreamcli validate --no-net "$usr/share/metainfo/org.orvconv.$entry.metainfo.xml" >/dev/null \
    || fail "metainfo of $entry"
done

# File types as an installed system has them: the package's types merged into one MIME
# database with the system's own; xdg-mime as scripts ask, gio as file managers do.
mkdir -p "$work/mime/mime/packages"
cp /usr/share/mime/packages/*.xml "$usr/share/mime/packages/"*.xml "$work/mime/mime/packages/"
update-mime-database "$work/mime/mime" >/dev/null 2>&1 || fail "update-mime-database"
in_desktop() { XDG_DATA_DIRS="$work/mime" XDG_DATA_HOME="$work/home" "$@"; }
type_of() { in_desktop xdg-mime query filetype "$1"; }
gio_type_of() { in_desktop gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'; }
mkdir "$work/types"
cp "$sample" "$work/types/sample.dat"
printf 'pack\0\0' >"$work/types/EMPTY.DAT"
printf 'not an archive\n' >"$work/types/notes.dat"
printf 'package main\n\nfunc main() {}\n' >"$work/types/main.go"
printf 'packing list: two boxes\n' >"$work/types/packing"
printf '\4\0\0\0\14\0\0\0' >"$work/types/walk.ani"
printf '\4\0\0\0\14\0\0\0' >"$work/types/WALK.ANI"
printf 'RIFF\4\0\0\0ACONanih' >"$work/types/cursor.ani"
# An archive or animation by its content or name as the programs open it; text that starts
# with "pack" stays text whatever its name, and cursors stay cursors.
while read -r name expected; do
  for query in type_of gio_type_of; do
    got=$($query "$work/types/$name")
    [ "$got" = "$expected" ] || fail "$name typed $got by $query, not $expected"
  done
done <<TYPES
sample.dat application/x-orvenda-pack
EMPTY.DAT application/x-orvenda-pack
notes.dat text/plain
main.go text/x-go
packing text/plain
walk.ani application/x-orvenda-animation
WALK.ANI application/x-orvenda-animation
cursor.ani application/x-navi-animation
TYPES

# Manual pages that man finds and that name the options.
for page in orvconv orvconv-cli orvpack orvview orvconv-thumbnailer; do
  MANPATH="$usr/share/man" man -w "$page" >/dev/null || fail "man $page not found"
done
MANPATH="$usr/share/man" man orvconv-cli 2>/dev/null | grep -q -- '--output-root' || fail "man orvconv-cli lacks --output-root"
MANPATH="$usr/share/man" man orvconv 2>/dev/null | grep -q -- '--version' || fail "man orvconv lacks --version"
MANPATH="$usr/share/man" man orvpack 2>/dev/null | grep -q -- '--base' || fail "man orvpack lacks --base"
for doc in README.md LICENSE copyright changelog.gz; do
  [ -s "$usr/share/doc/orvconv/$doc" ] || fail "no doc/$doc"
done
# The programs link GPL-3.0-or-later code: every licence statement the package makes says so.
grep -q '^License: GPL-3.0-or-later$' "$usr/share/doc/orvconv/copyright" || fail "copyright does not say GPL-3.0-or-later"
grep -q 'GNU GENERAL PUBLIC LICENSE' "$usr/share/doc/orvconv/LICENSE" || fail "LICENSE is not the GPL"
for metainfo in "$usr/share/metainfo"/*.xml; do
  grep -q '<project_license>GPL-3.0-or-later</project_license>' "$metainfo" || fail "$metainfo: project_license is not GPL-3.0-or-later"
done
if grep -rlq -e 'MIT License' -e 'License: Expat' -e '>MIT<' "$usr/share/doc/orvconv" "$usr/share/metainfo"; then
  fail "a file of the package names a licence other than the GPL"
fi
echo "check_package: $deb is sound"
