# The two commands of the README: `make run` and `make test`.
# The default preset's folder.
BUILD      := build
JOBS       := $(shell nproc)
MAKEFLAGS  += --no-print-directory

.PHONY: run test build deps package screenshots lint fuzz-build fuzz-replay fuzz web web-deps test-web serve-web

deps:
	@scripts/install-deps

# Configurations are the presets of CMakePresets.json: default, asan, fuzz.
build: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default -j $(JOBS)

SAMPLE := $(BUILD)/sample

OUT := $(BUILD)/out

run: build
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

# libFuzzer targets (clang, with ASan and UBSan) in a build of their own.
FUZZ_BUILD   := build-fuzz
FUZZ_TARGETS := decode_image_fuzzer convert_image_entry_fuzzer convert_animation_fuzzer \
                convert_input_file_fuzzer settings_file_fuzzer integer_text_fuzzer encode_picture_fuzzer \
                read_entries_fuzzer
FUZZ_SECONDS := 600

fuzz-build: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)
	@mkdir -p $(FUZZ_BUILD)/tmp

# Every seed and regression input, run once through its target; the log is shown on failure.
fuzz-replay: fuzz-build
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
