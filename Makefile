# The two commands of the README: `make run` and `make test`.
BUILD      := build
ASAN_BUILD := build-asan
JOBS       := $(shell nproc)
MAKEFLAGS  += --no-print-directory
CMAKE_FLAGS := -DORVCONV_WERROR=ON

.PHONY: run test build deps

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

SAMPLE := $(BUILD)/sample

run: build
	$(BUILD)/bin/orvconv-cli -s $(SAMPLE)/sample.ini $(SAMPLE)/sample.dat $(SAMPLE)/walk.ani
	@echo
	@echo "Sample inputs: $(SAMPLE)/sample.dat, $(SAMPLE)/walk.ani (settings: $(SAMPLE)/sample.ini)"
	@echo "Converted into: $(BUILD)/bin/sample/ and $(BUILD)/bin/walk/"
	@ls -l $(BUILD)/bin/sample/ $(BUILD)/bin/walk/

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DORVCONV_SANITIZE=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)
