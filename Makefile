# The two set-up commands of the README:
#   make run   installs what is missing, builds the optimised viewer, and
#              opens it on a generated demo eMule profile
#   make test  installs what is missing, builds, and runs every test, then
#              compiles the optimised build (benchmarks and tests too), then
#              runs each fuzz target for a few seconds, then the core suites
#              built for Windows under Wine, then every test again under the
#              address and undefined-behaviour sanitizers
#   make fuzz  runs each fuzz target for FUZZ_SECONDS
#   make bench runs every benchmark on the optimised build
#   make coverage builds everything instrumented for gcov in its own folder,
#              runs the unit, UI and integration suites, and prints line and
#              branch coverage of src/ and tools/ per folder (HTML beside it)
#   make package  builds the programs for release and makes
#              build/package/pln_<version>_<arch>.deb
#   make format   formats the sources; make test first checks they are
#   make tidy  runs clang-tidy (.clang-tidy) over the program's sources
BUILD_DIR ?= build/dev
BUILD_TYPE ?= Debug
JOBS ?= $(shell nproc)
# One optimised build serves make run, make bench and the check in make test
# that no warning shows only when the optimiser runs.
RELEASE_DIR := build/release
DEMO_DIR := $(RELEASE_DIR)/demo
ASAN_DIR := build/asan
FUZZ_DIR := build/fuzz
WIN32_DIR := build/win32
PACKAGE_DIR := build/package
COVERAGE_DIR := build/coverage
FUZZ_SECONDS ?= 60
FUZZ_SMOKE_SECONDS ?= 3
# Any sanitizer report ends the program with a failure.
SANITIZER_ENV := ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

.PHONY: all deps configure build release-build test wine-test sanitize-test fuzz-build fuzz \
	run-build run demo bench coverage package format format-check tidy clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DPLN_WERROR=ON

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

$(RELEASE_DIR)/build.ninja:
	cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DPLN_WERROR=ON

release-build: deps $(RELEASE_DIR)/build.ninja
	cmake --build $(RELEASE_DIR) -j $(JOBS)

# The sanitizer suite runs last, so the run ends with ctest's summary.
test: format-check build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS) --timeout 600
	$(MAKE) release-build
	$(MAKE) fuzz-build
	bash scripts/run-fuzz.sh $(FUZZ_DIR) $(FUZZ_SMOKE_SECONDS)
	$(MAKE) wine-test
	$(MAKE) sanitize-test

# The core, the platform layer, the recorder and the tools cross-built for
# Windows with MinGW-w64, their GoogleTest suites run under Wine.
$(WIN32_DIR)/build.ninja:
	cmake -S . -B $(WIN32_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPLN_WERROR=ON \
		--toolchain cmake/mingw-w64-x86_64.cmake

wine-test: deps $(WIN32_DIR)/build.ninja
	cmake --build $(WIN32_DIR) -j $(JOBS)
	xvfb-run -a ctest --test-dir $(WIN32_DIR) --output-on-failure -j $(JOBS) --timeout 600

$(ASAN_DIR)/build.ninja:
	cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPLN_WERROR=ON \
		-DPLN_SANITIZE=ON -DPLN_BUILD_BENCH=OFF

sanitize-test: deps $(ASAN_DIR)/build.ninja
	cmake --build $(ASAN_DIR) -j $(JOBS)
	$(SANITIZER_ENV) ctest --test-dir $(ASAN_DIR) --output-on-failure -j $(JOBS) --timeout 900

# libFuzzer needs Clang; the fuzz targets are built at -O1 so that a run
# gets through many inputs.
$(FUZZ_DIR)/build.ninja:
	cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
		-DCMAKE_CXX_FLAGS=-O1 -DPLN_WERROR=ON -DPLN_SANITIZE=ON -DPLN_FUZZ=ON -DPLN_BUILD_BENCH=OFF

fuzz-build: deps $(FUZZ_DIR)/build.ninja
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target pln_fuzz

fuzz: fuzz-build
	bash scripts/run-fuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# make run builds only the programs it starts: the viewer, the recorder the
# viewer starts beside it, and the demo generator.
run-build: deps $(RELEASE_DIR)/build.ninja
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target PLNViewer PLN pln-demo

# The demo profile is generated once; delete $(DEMO_DIR) to make a new one.
$(DEMO_DIR)/eMule/config/known.met:
	$(RELEASE_DIR)/bin/pln-demo $(DEMO_DIR)

demo: run-build $(DEMO_DIR)/eMule/config/known.met

run: demo
	XDG_DATA_HOME=$(abspath $(DEMO_DIR)) $(RELEASE_DIR)/bin/PLNViewer

bench: release-build
	bash scripts/run-benchmarks.sh $(RELEASE_DIR)

$(COVERAGE_DIR)/build.ninja:
	cmake -S . -B $(COVERAGE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPLN_WERROR=ON \
		-DPLN_COVERAGE=ON -DPLN_BUILD_BENCH=OFF

# Counters of an earlier run are cleared first, so the figures are this run's.
coverage: deps $(COVERAGE_DIR)/build.ninja
	cmake --build $(COVERAGE_DIR) -j $(JOBS)
	find $(COVERAGE_DIR) -name '*.gcda' -delete
	ctest --test-dir $(COVERAGE_DIR) -L 'unit|ui|integration' --output-on-failure -j $(JOBS) \
		--timeout 900
	bash scripts/coverage-report.sh $(COVERAGE_DIR)

# Only what the package holds is built: no tests, no benchmarks.
package: deps
	cmake -S . -B $(PACKAGE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DPLN_WERROR=ON \
		-DPLN_BUILD_TESTS=OFF -DPLN_BUILD_BENCH=OFF
	cmake --build $(PACKAGE_DIR) -j $(JOBS)
	cd $(PACKAGE_DIR) && cpack

# The C++ files clang-format keeps in shape.
FORMAT_FILES = git ls-files -- src tools tests bench fuzz | grep -E '\.(cpp|h)$$'

format:
	$(FORMAT_FILES) | xargs clang-format -i

format-check:
	$(FORMAT_FILES) | xargs clang-format --dry-run --Werror

# The compile commands of the development build, with its generated headers;
# GCC's warning options that Clang does not know are not errors here.
tidy: build
	run-clang-tidy-14 -quiet -j $(JOBS) -p $(BUILD_DIR) \
		-extra-arg=-Wno-unknown-warning-option '$(CURDIR)/(src|tools)/.*\.cpp$$'

clean:
	rm -rf build
