# The two commands of the README: `make run` and `make test`.
# The default preset's folder.
BUILD      := build
JOBS       := $(shell nproc)
MAKEFLAGS  += --no-print-directory
# ccache (in every configuration) shares its cache between checkouts of the project: paths
# below the checkout are hashed as relative ones, and the folder a compile runs in is not.
export CCACHE_BASEDIR   := $(CURDIR)
export CCACHE_NOHASHDIR := 1

.PHONY: run test build deps deps-run package screenshots lint fuzz-build fuzz-replay fuzz-replay-all fuzz \
        web web-deps test-web serve-web

deps:
	@scripts/install-deps

# What the converter and the sample need, no more.
deps-run:
	@scripts/install-deps run

# Configurations are the presets of CMakePresets.json: default, asan, fuzz.
build: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default -j $(JOBS)

SAMPLE := $(BUILD)/sample

OUT := $(BUILD)/out

# The converter and the sample alone: the build's folder without the window, the tests,
# the benchmarks and the Python module (make build and make test add them).
run: deps-run
	@cmake --preset run >/dev/null
	@cmake --build --preset run -j $(JOBS)
	$(BUILD)/bin/orvconv-cli -o $(OUT) -s $(SAMPLE)/sample.ini $(SAMPLE)/sample.dat $(SAMPLE)/walk.ani
	@echo
	@echo "Sample inputs: $(SAMPLE)/sample.dat, $(SAMPLE)/walk.ani (settings: $(SAMPLE)/sample.ini)"
	@echo "Converted into: $(OUT)/sample/ and $(OUT)/walk/"
	@ls -l $(OUT)/sample/ $(OUT)/walk/

# The Debian package of the build: $(BUILD)/orvconv_<version>_amd64.deb
package: build
	@cd $(BUILD) && cpack >/dev/null
	@ls $(BUILD)/orvconv_*.deb

# PNGs of the window (idle, the file dialog, converting, the final message) in
# $(BUILD)/screenshots/, on a virtual display in Japanese with fixed fonts.
screenshots: build
	@scripts/screenshots $(BUILD)

# Every C++ file in the project's format (.clang-format), and zero clang-tidy findings
# (.clang-tidy) over src/, tools/ and fuzz/, read through the build's compile commands.
lint: build
	@scripts/lint $(BUILD) $(JOBS)

test: build
	ctest --preset default -j $(JOBS)
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)
	@$(MAKE) test-web

# libFuzzer targets (clang, with ASan and UBSan) in a build of their own: the targets alone,
# not the programs beside them.
FUZZ_BUILD   := build-fuzz
FUZZ_TARGETS := decode_image_fuzzer convert_image_entry_fuzzer convert_animation_fuzzer \
                convert_input_file_fuzzer settings_file_fuzzer integer_text_fuzzer encode_picture_fuzzer \
                read_entries_fuzzer
FUZZ_SECONDS := 600

fuzz-build: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS) --target $(FUZZ_TARGETS)
	@mkdir -p $(FUZZ_BUILD)/tmp

# Every seed and regression input, run once through its target, when what the targets are
# built from changed since they last passed here (ctest replays every input on every run
# through the test build); fuzz-replay-all runs them whatever changed.
FUZZ_PASSED := $(or $(XDG_CACHE_HOME),$(HOME)/.cache)/orvconv/fuzz-replays-passed
FUZZ_INPUTS := git ls-files -z fuzz src tools CMakeLists.txt CMakePresets.json Makefile \
                 ':!src/app' ':!src/view' ':!src/python'

fuzz-replay:
	@digest=$$( { $(FUZZ_INPUTS) | xargs -0 sha256sum; clang++ --version; } | sha256sum | cut -c1-32); \
	if [ -e "$(FUZZ_PASSED)/$$digest" ]; then \
	  echo "fuzz-replay: the fuzz targets' sources are as when their replays last passed here ($$digest)"; \
	else \
	  $(MAKE) fuzz-replay-all && mkdir -p "$(FUZZ_PASSED)" && touch "$(FUZZ_PASSED)/$$digest"; \
	fi

# The log of a target is shown on failure.
fuzz-replay-all: fuzz-build
	@for t in $(FUZZ_TARGETS); do \
	  log=$(FUZZ_BUILD)/replay-$$t.log; \
	  inputs=$$(find fuzz/corpus/$$t fuzz/regressions/$$t -type f 2>/dev/null | sort); \
	  if TMPDIR=$(FUZZ_BUILD)/tmp $(FUZZ_BUILD)/fuzz/$$t -timeout=60 $$inputs >$$log 2>&1; then \
	    echo "fuzz-replay: $$t: $$(echo $$inputs | wc -w) inputs"; \
	  else \
	    cat $$log; echo "fuzz-replay: $$t FAILED"; exit 1; \
	  fi; \
	done

# Fuzzes each target for FUZZ_SECONDS from its seeds, growing a working corpus in the
# build; what breaks a target lands in $(FUZZ_BUILD)/artifacts/<target>/.
fuzz: fuzz-build
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t $(FUZZ_BUILD)/artifacts/$$t; \
	  cp -n fuzz/corpus/$$t/* $(FUZZ_BUILD)/corpus/$$t/; \
	  TMPDIR=$(FUZZ_BUILD)/tmp $(FUZZ_BUILD)/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
	    -print_final_stats=1 -artifact_prefix=$(FUZZ_BUILD)/artifacts/$$t/ $(FUZZ_BUILD)/corpus/$$t || exit 1; \
	done

# The page: the engine built for WebAssembly in $(WEB_BUILD)/ with the libraries of
# scripts/build-web-deps (cached in ~/.cache/orvconv/web-deps/), the TypeScript bundled
# with esbuild, all of it as static files in $(BUILD)/web/.
WEB_BUILD := build-web
WEB_OUT   := $(BUILD)/web

web-deps:
	@scripts/install-deps web

# Debian's emscripten runs its JavaScript tools with node and finds their modules in
# Debian's node folder, which a node of another origin does not search.
web: export NODE_PATH := /usr/share/nodejs
web: web-deps
	@deps=$$(scripts/build-web-deps) && \
	  emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release -DORVCONV_WERROR=ON \
	    -DORVCONV_WEB_DEPS=$$deps >/dev/null
	@cmake --build $(WEB_BUILD) -j $(JOBS)
	@[ web/node_modules/.package-lock.json -nt web/package-lock.json ] || \
	  (cd web && npm ci --no-audit --no-fund --loglevel=error)
	@cd web && npx tsc -p .
	@node web/build.mjs $(WEB_BUILD)/web $(WEB_OUT)
	@echo "The page: $(WEB_OUT)/ (serve it, e.g. make serve-web)"

serve-web: web
	node web/tests/serve.mjs $(WEB_OUT) 8080

# The page in Debian's Chromium (headless, through playwright-core) against what
# orvconv-cli writes for the same inputs.
test-web: web deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default -j $(JOBS) --target orvconv-cli orvpack sample
	node web/tests/run.mjs $(BUILD) $(WEB_OUT)
