# Thin wrapper over CMake. `make test` and `make run` install what is missing
# first (Debian packages), so both work on a fresh machine.
BUILD    ?= build
ASAN     ?= build-asan
RELEASE  ?= build-release
PACKAGE  ?= build-package
JOBS     ?= $(shell nproc)
FILE     ?=
FUZZ     ?= build-fuzz
FUZZ_SECONDS ?= 60
CMAKE_FLAGS ?=

.PHONY: all deps build test test-asan run bench fuzz fuzz-deps package package-deps clean

all: build

deps:
	@scripts/install-deps.sh build

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

test: build test-asan
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
$(ASAN)/CMakeCache.txt:
	cmake -S . -B $(ASAN) -DTONVIKA_SANITIZE=ON -DTONVIKA_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug $(CMAKE_FLAGS)

test-asan: deps $(ASAN)/CMakeCache.txt
	cmake --build $(ASAN) -j $(JOBS)
	cd $(ASAN) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) $(ASAN) $(RELEASE) $(FUZZ) $(PACKAGE)

# A Debian package from a Release build: $(PACKAGE)/tonvika_<version>_<arch>.deb,
# installed with `sudo apt install ./$(PACKAGE)/tonvika_*.deb`.
$(PACKAGE)/CMakeCache.txt:
	cmake -S . -B $(PACKAGE) -DCMAKE_BUILD_TYPE=Release -DTONVIKA_BUILD_TESTS=OFF -DTONVIKA_BUILD_BENCH=OFF $(CMAKE_FLAGS)

package-deps:
	@scripts/install-deps.sh package

package: package-deps $(PACKAGE)/CMakeCache.txt
	cmake --build $(PACKAGE) -j $(JOBS)
	cd $(PACKAGE) && cpack -G DEB
	@ls $(PACKAGE)/tonvika_*.deb

# libFuzzer: every fuzz/*_fuzz.cpp target runs FUZZ_SECONDS seconds on a
# working corpus grown from the committed seeds (fuzz/corpus/<target>/ is
# copied to $(FUZZ)/corpus/<target>/, so the seeds stay small); disc_fuzz is
# seeded from the fixture images themselves (whole: up to 2 MiB), and has 60 s
# an input, as libdvdread can take seconds over a damaged image; it runs in a
# child process (-fork=1) that counts such a timeout and goes on, where a
# crash still stops it (docs/fuzzing.md).
# A crash stops make; the input is kept in $(FUZZ)/artifacts/<target>/.
# `make fuzz FUZZ_TARGETS=disc_fuzz` runs one target. libdvdread is built
# instrumented into $(FUZZ)/dvdread where its Debian source can be fetched,
# and put first in the targets' library path; its one known leak is
# suppressed (fuzz/lsan.supp).
FUZZ_TARGETS := $(patsubst fuzz/%.cpp,%,$(wildcard fuzz/*_fuzz.cpp))
DISC_SEEDS := $(wildcard tests/fixtures/disc/*.iso)
FUZZ_DVDREAD := $(FUZZ)/dvdread

$(FUZZ)/CMakeCache.txt:
	CXX=clang++ cmake -S . -B $(FUZZ) -DTONVIKA_BUILD_FUZZ=ON -DTONVIKA_BUILD_APP=OFF \
	  -DTONVIKA_BUILD_TESTS=OFF -DTONVIKA_BUILD_BENCH=OFF $(CMAKE_FLAGS)

fuzz-deps:
	@scripts/install-deps.sh fuzz

fuzz: fuzz-deps $(FUZZ)/CMakeCache.txt
	cmake --build $(FUZZ) --target fuzz_targets -j $(JOBS)
	@scripts/fuzz_dvdread.sh $(FUZZ_DVDREAD) || \
	  echo "libdvdread could not be built instrumented: disc_fuzz loads the system's (no coverage inside it)"
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ)/corpus/$$t $(FUZZ)/artifacts/$$t; \
	  if [ -d fuzz/corpus/$$t ]; then cp fuzz/corpus/$$t/* $(FUZZ)/corpus/$$t/; fi; \
	  limits="-timeout=10"; \
	  if [ $$t = disc_fuzz ]; then cp $(DISC_SEEDS) $(FUZZ)/corpus/$$t/; limits="-timeout=60 -max_len=2097152 -rss_limit_mb=4096 -fork=1 -ignore_timeouts=1"; fi; \
	  echo "== $$t: $(FUZZ_SECONDS) s, log in $(FUZZ)/$$t.log"; \
	  if ! LD_LIBRARY_PATH=$(abspath $(FUZZ_DVDREAD))/lib LSAN_OPTIONS=suppressions=$(CURDIR)/fuzz/lsan.supp \
	      $(FUZZ)/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) \
	      $$limits -print_final_stats=1 -artifact_prefix=$(FUZZ)/artifacts/$$t/ $(FUZZ)/corpus/$$t \
	      >$(FUZZ)/$$t.log 2>&1; then \
	    tail -n 60 $(FUZZ)/$$t.log; echo "$$t found a crash: see $(FUZZ)/artifacts/$$t/"; exit 1; \
	  fi; \
	  grep -E "^#[0-9]+[[:space:]]+DONE|^stat::number_of_executed_units|^stat::average_exec_per_sec" $(FUZZ)/$$t.log || \
	    grep -E "^#[0-9]+:.*oom/timeout/crash" $(FUZZ)/$$t.log | tail -n 1; \
	done

# Benchmarks on a Release build: the scan micro-benchmark, then tonvika-cli
# against ffprobe, mediainfo and head -c, and on a whole disc against lsdvd
# (docs/performance.md).
$(RELEASE)/CMakeCache.txt:
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release -DTONVIKA_BUILD_APP=OFF $(CMAKE_FLAGS)

bench: $(RELEASE)/CMakeCache.txt
	@scripts/install-deps.sh media
	cmake --build $(RELEASE) -j $(JOBS) --target scan_bench tonvika-cli
	$(RELEASE)/bench/scan_bench --benchmark_repetitions=3
	bench/compare.sh $(RELEASE)
	bench/disc.sh $(RELEASE)

# The bundled sample title set, shown when no FILE is given.
SAMPLE := samples/VIDEO_TS/VTS_01_1.VOB

run: build
	@if [ -x $(BUILD)/src/app/tonvika ] && [ -n "$${DISPLAY}$${WAYLAND_DISPLAY}" ]; then \
	  $(BUILD)/src/app/tonvika "$(or $(FILE),$(SAMPLE))"; \
	else \
	  [ -x $(BUILD)/src/app/tonvika ] && echo "No display found: showing the analysis on the terminal instead."; \
	  $(BUILD)/src/cli/tonvika-cli --details "$(or $(FILE),$(SAMPLE))"; \
	fi
