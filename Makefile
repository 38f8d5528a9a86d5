# The README's commands. Each first installs what is missing, then builds in build/.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: all deps configure build test run bench fuzz sanitize clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

run: build
	@$(BUILD)/workbench/corvalith

bench: build
	@$(BUILD)/bench/corvalith_bench
	@$(BUILD)/bench/corvalith_gui_bench
	@$(BUILD)/bench/corvalith_editor_bench

# The core tests once more under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	@cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCORVALITH_GUI=OFF -DCORVALITH_BENCH=OFF \
		-DCORVALITH_SANITIZE=address,undefined > /dev/null
	@cmake --build build-asan -j $(JOBS)
	@cd build-asan && ctest --output-on-failure -j $(JOBS)

# libFuzzer targets for the two file readers and the file-level code; built
# with clang, and archived with the ar that g++ brings, whatever other
# toolchains the machine has.
fuzz: deps
	@cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
		-DCMAKE_AR=/usr/bin/ar -DCMAKE_RANLIB=/usr/bin/ranlib \
		-DCORVALITH_GUI=OFF -DCORVALITH_BENCH=OFF -DCORVALITH_FUZZ=ON > /dev/null
	@cmake --build build-fuzz -j $(JOBS) --target NetFileFuzz DatasetFileFuzz FileReadFuzz TextDatasetFuzz corvalith_fuzz_seeds

clean:
	@rm -rf $(BUILD) build-asan build-fuzz
