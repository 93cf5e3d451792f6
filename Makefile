# Thin wrapper around CMake / CTest.
BUILD_DIR ?= build
BUILD_TYPE ?= Release
JOBS ?= $(shell nproc)
CMAKE_ARGS ?=

.PHONY: run test bench deps configure build sanitize tsan fuzz clean format format-check

# The main job: the sample building's bill of quantities under the sample rule table.
run: build
	$(BUILD_DIR)/Tools/qtkcalc/qtkcalc check examples/building.json
	$(BUILD_DIR)/Tools/qtkcalc/qtkcalc takeoff examples/building.json --rules examples/rules/sample-rules.json

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

# ThreadSanitizer in build-tsan/ over what runs on several threads: the tests
# whose names say so and the sample building's take-off on TSAN_THREADS
# threads. .tsan-suppressions names third-party frames only.
TSAN_TESTS ?= Thread|Lock|Concurr|Parallel
TSAN_THREADS ?= 8
TSAN_ENV = TSAN_OPTIONS="suppressions=$(CURDIR)/.tsan-suppressions second_deadlock_stack=1"
tsan: deps
	cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS=-fsanitize=thread \
	  -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread -DCMAKE_SHARED_LINKER_FLAGS=-fsanitize=thread
	cmake --build build-tsan -j $(JOBS)
	$(TSAN_ENV) ctest --test-dir build-tsan --output-on-failure -j $(JOBS) -R '$(TSAN_TESTS)'
	$(TSAN_ENV) build-tsan/Tools/qtkcalc/qtkcalc takeoff examples/building.json \
	  --rules examples/rules/sample-rules.json -j $(TSAN_THREADS) >/dev/null

# clang-format over the tracked C++ files (.clang-format at the root).
CXX_SOURCES = git ls-files -z '*.h' '*.cpp'

format:
	$(CXX_SOURCES) | xargs -0 clang-format -i

format-check:
	$(CXX_SOURCES) | xargs -0 clang-format --dry-run -Werror

# Each fuzz target for FUZZ_SECONDS on its seed corpus in fuzz/corpus (new
# inputs libFuzzer finds go to build-fuzz/corpus, not into the repository).
FUZZ_SECONDS ?= 60
FUZZ_CXX := $(shell command -v clang++ >/dev/null 2>&1 && echo -DCMAKE_CXX_COMPILER=clang++)
fuzz: deps
	cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQTK_FUZZ=ON -DQTK_TESTS=OFF $(FUZZ_CXX)
	cmake --build build-fuzz -j $(JOBS) --target fuzz_model_reader fuzz_boolean3d
	@for t in model_reader boolean3d; do \
	  mkdir -p build-fuzz/corpus/$$t && cd build-fuzz && \
	  ./fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -timeout=20 -rss_limit_mb=4096 \
	    corpus/$$t ../fuzz/corpus/$$t || exit 1; cd ..; \
	done

clean:
	rm -rf $(BUILD_DIR) build-asan build-tsan build-fuzz
