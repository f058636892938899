#!/bin/sh
# scripts/check-layers passes the real tree, and fails a copy of it with each fault
# planted, naming the file at fault.
# usage: tests/layers/check_layers_test.sh SOURCE_DIR
set -eu
source_dir=$1
check="$source_dir/scripts/check-layers"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

sh "$check" "$source_dir" >"$work/out" || { echo "the real tree fails:"; cat "$work/out"; failures=1; }

# A fresh copy of src/, fuzz/ and tools/ for each fault: $1 names the fault, $2 the file the message must
# name, and the rest is a command run inside the copy to plant it.
planted() {
    what=$1
    named=$2
    shift 2
    rm -rf "$work/tree"
    mkdir "$work/tree"
    cp -R "$source_dir/src" "$source_dir/fuzz" "$source_dir/tools" "$work/tree/"
    (cd "$work/tree" && "$@")
    if sh "$check" "$work/tree" >"$work/out"; then
        echo "not found: $what"
        failures=1
    elif ! grep -q "/$named:" "$work/out"; then
        echo "found, but the message names another file: $what"
        cat "$work/out"
        failures=1
    fi
}

add_line() {  # FILE LINE: LINE on top of FILE
    { echo "$2"; cat "$1"; } >"$1.new" && mv "$1.new" "$1"
}

planted "an engine layer includes a later one" src/engine/read/archive.h \
    add_line src/engine/read/archive.h '#include "engine/convert/converter.h"'
planted "an orvpack layer includes a later one" src/pack/encode/cg_tokens.h \
    add_line src/pack/encode/cg_tokens.h '#include "pack/job/pack_folder.h"'
planted "a library includes a later library" src/engine/base/text.h \
    add_line src/engine/base/text.h '#include "pack/encode/cg_tokens.h"'
planted "a library includes a front end" src/thumbnail/first_picture.h \
    add_line src/thumbnail/first_picture.h '#include "thumbnailer/main.h"'
planted "a front end includes another" src/view/main.cpp \
    add_line src/view/main.cpp '#include "app/tform1.h"'
planted "a relative include climbs" src/cli/main.cpp \
    add_line src/cli/main.cpp '#include "../engine/base/text.h"'
planted "a relative include climbs inside its library" src/engine/read/archive.h \
    add_line src/engine/read/archive.h '#include "../base/text.h"'
planted "a nested engine folder" src/engine/read/more/extra.h \
    sh -c 'mkdir src/engine/read/more && echo "#pragma once" >src/engine/read/more/extra.h'
planted "a nested orvpack folder" src/pack/plan/more/extra.cpp \
    sh -c 'mkdir src/pack/plan/more && echo "int x;" >src/pack/plan/more/extra.cpp'
planted "a file outside the engine's layers" src/engine/extra.h \
    sh -c 'echo "#pragma once" >src/engine/extra.h'
planted "an engine folder that is no layer" src/engine/extra/extra.h \
    sh -c 'mkdir src/engine/extra && echo "#pragma once" >src/engine/extra/extra.h'
planted "a folder of src in no place of the order" src/extra/extra.h \
    sh -c 'mkdir src/extra && echo "#pragma once" >src/extra/extra.h'
planted "Qt in the engine" src/engine/base/text.h \
    add_line src/engine/base/text.h '#include <QString>'
planted "Qt in a library without it" src/thumbnail/scale_to_fit.h \
    add_line src/thumbnail/scale_to_fit.h '#include <QImage>'
planted "a fuzz target includes a front end" fuzz/convert_input_file_fuzzer.cpp \
    add_line fuzz/convert_input_file_fuzzer.cpp '#include "cli/listing.h"'
exit $failures
