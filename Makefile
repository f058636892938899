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

run: build
	$(BUILD)/bin/orvconv-cli $(BUILD)/sample/sample.dat
	@echo
	@echo "Sample archive: $(BUILD)/sample/sample.dat"
	@echo "Converted into: $(BUILD)/bin/sample/"
	@ls -l $(BUILD)/bin/sample/

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DORVCONV_SANITIZE=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)
