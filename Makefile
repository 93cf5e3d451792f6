# Thin wrapper around CMake / CTest.
BUILD_DIR ?= build
BUILD_TYPE ?= Release
JOBS ?= $(shell nproc)
CMAKE_ARGS ?=

.PHONY: run test bench deps configure build sanitize clean format format-check

run: build
	$(BUILD_DIR)/Tools/qtkcalc/qtkcalc rules
	$(BUILD_DIR)/Tools/qtkcalc/qtkcalc check examples/building.json

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure --timeout 120 -j $(JOBS)

bench: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DQTK_BENCH=ON $(CMAKE_ARGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)
	@for b in $(BUILD_DIR)/bench/*_bench; do [ -x "$$b" ] || continue; echo "== $$b"; $$b; done

deps:
	@scripts/install-deps

configure: deps
	@if [ ! -f $(BUILD_DIR)/build.ninja ]; then \
	  cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_ARGS); fi

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

sanitize:
	$(MAKE) test BUILD_DIR=build-asan BUILD_TYPE=Debug CMAKE_ARGS=-DQTK_SANITIZE=ON

# clang-format over the tracked C++ files (.clang-format at the root).
CXX_SOURCES = git ls-files -z '*.h' '*.cpp'

format:
	$(CXX_SOURCES) | xargs -0 clang-format -i

format-check:
	$(CXX_SOURCES) | xargs -0 clang-format --dry-run -Werror

clean:
	rm -rf $(BUILD_DIR) build-asan
