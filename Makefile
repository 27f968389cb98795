# Thin front door over CMake. Every target first makes sure the build
# dependencies are installed (see scripts/deps.sh).
JOBS      ?= 2
PREFIX    ?= /usr/local
RUN_DIR   ?= build/release
TEST_DIR  ?= build/asan
BENCH_DIR ?= build/bench

.PHONY: all deps run build test bench install clean

all: build

deps:
	@scripts/deps.sh

$(RUN_DIR)/build.ninja: | deps
	cmake -S . -B $(RUN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	      -DSORRELWICK_TESTS=OFF -DCMAKE_INSTALL_PREFIX=$(PREFIX)

build: deps $(RUN_DIR)/build.ninja
	cmake --build $(RUN_DIR) -j$(JOBS)

run: build
	$(RUN_DIR)/sorrelwick

$(TEST_DIR)/build.ninja: | deps
	cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	      -DSORRELWICK_SANITIZE=ON -DSORRELWICK_WERROR=ON

test: deps $(TEST_DIR)/build.ninja
	cmake --build $(TEST_DIR) -j$(JOBS)
	scripts/run-tests.sh $(TEST_DIR)

$(BENCH_DIR)/build.ninja: | deps
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	      -DSORRELWICK_TESTS=OFF -DSORRELWICK_BENCH=ON

bench: deps $(BENCH_DIR)/build.ninja
	cmake --build $(BENCH_DIR) -j$(JOBS)
	scripts/run-bench.sh $(BENCH_DIR)

install: build
	cmake --install $(RUN_DIR) --prefix $(PREFIX)

clean:
	rm -rf build
