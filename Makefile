# Two commands for a newcomer:
#   make run   install what is missing, build, solve a bundled example
#   make test  install what is missing, build, run every test (also under sanitizers)
# and one for a system administrator:
#   make package  build the Debian package kolt_<version>_<arch>.deb in $(BUILD)/

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
EXAMPLE    ?= examples/terminale.klt

.PHONY: run test setup build build-asan package fuzz format tidy clean

setup:
	@scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-example.sh $(BUILD)/bin/kolt-32 $(EXAMPLE)

package: build
	cmake --build $(BUILD) --target package

build-asan: setup
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKOLT_SANITIZE=ON -DKOLT_WORKBENCH=OFF -DKOLT_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)

test: build build-asan
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# Not part of `make test`: a libFuzzer run over the file-to-model path.
FUZZ_SECONDS ?= 300
fuzz: setup
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOLT_FUZZ=ON -DKOLT_SANITIZE=ON -DKOLT_WORKBENCH=OFF -DKOLT_BENCH=OFF
	cmake --build build-fuzz -j $(JOBS) --target kolt_fuzz
	mkdir -p build-fuzz/corpus && cp tests/fuzz/corpus/* examples/*.klt build-fuzz/corpus/
	build-fuzz/bin/kolt_fuzz build-fuzz/corpus -dict=tests/fuzz/network.dict -max_len=16384 -timeout=10 -max_total_time=$(FUZZ_SECONDS)

# Not part of `make test`: the one formatting of the tree (.clang-format) and
# the checks of .clang-tidy over the project's own sources.
SOURCES = $(shell git ls-files '*.cpp' '*.h')
format:
	@command -v clang-format >/dev/null || { echo "Brak programu clang-format: apt-get install clang-format"; exit 1; }
	clang-format -i $(SOURCES)

# -w: compiler warnings are the build's business (-Werror there); this reports
# only the checks.
tidy: setup
	@command -v run-clang-tidy >/dev/null || { echo "Brak programu run-clang-tidy: apt-get install clang-tidy"; exit 1; }
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
	cmake --build $(BUILD) -j $(JOBS)
	run-clang-tidy -p $(BUILD) -j $(JOBS) -quiet -extra-arg=-w '^$(CURDIR)/(common|solver|workbench|tests|bench)/'

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-fuzz
