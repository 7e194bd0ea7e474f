# Thin wrapper over CMake. `make test` and `make run` install what is missing
# first (Debian packages), so both work on a fresh machine.
BUILD    ?= build
ASAN     ?= build-asan
JOBS     ?= $(shell nproc)
FILE     ?=
FUZZ_SECONDS ?= 60
CMAKE_FLAGS ?=

.PHONY: all deps build test test-core test-asan run cli bench fuzz clean

all: build

deps:
	@scripts/install-deps.sh build

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) $(ASAN) build-fuzz
