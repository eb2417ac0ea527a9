# The two set-up commands of the README:
#   make run   installs what is missing, builds, and opens the viewer on a
#              generated demo eMule profile
#   make test  installs what is missing, builds, and runs every test
BUILD_DIR ?= build/dev
BUILD_TYPE ?= Debug
JOBS ?= $(shell nproc)
DEMO_DIR := $(BUILD_DIR)/demo

.PHONY: all deps configure build test run demo bench format clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DPLN_WERROR=ON

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS) --timeout 600

# The demo profile is generated once; delete $(DEMO_DIR) to make a new one.
$(DEMO_DIR)/eMule/config/known.met:
	$(BUILD_DIR)/bin/pln-demo $(DEMO_DIR)

demo: build $(DEMO_DIR)/eMule/config/known.met

run: demo
	XDG_DATA_HOME=$(abspath $(DEMO_DIR)) $(BUILD_DIR)/bin/PLNViewer

bench: deps
	cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DPLN_WERROR=ON
	cmake --build build/release -j $(JOBS)
	bash scripts/run-benchmarks.sh build/release

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
