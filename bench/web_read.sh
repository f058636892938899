#!/bin/sh
# Decoding every picture of the one-archive corpus (200 pictures of 640x480) into memory:
# in the page's engine worker in Chromium (web/bench/read_pictures.mjs, the engine built
# for WebAssembly, the archive read through File.slice) against the reading API alone in
# C++ (read_pictures). Each pass runs both in turn, each timing ROUNDS rounds inside its
# process after one not counted, so that starting the browser and compiling the engine
# are not counted; a pass gives each side's median round. Prints the median, minimum and
# maximum of those over the passes, and of the ratio pass by pass.
#   BUILD=DIR   a build tree (default: `make build`, then build/); its web/ is the page
#               (make web)
#   PASSES=N    passes (default 7)
#   ROUNDS=N    counted rounds a process (default 5)
#   WORK=DIR    scratch folder (default: a new folder under $TMPDIR or /tmp)
set -eu
. "$(dirname "$0")/common.sh"
bench_build
bench_require "$BUILD/bench/make_corpus" "$BUILD/bench/read_pictures"
[ -f "$BUILD/web/engine.wasm" ] || { echo "web_read.sh: $BUILD/web/ is missing: make web" >&2; exit 1; }
bench_work orvconv-web-read
bench_read_ratio "WebAssembly worker" worker node "$root/web/bench/read_pictures.mjs" "$BUILD/web"
