# The two commands of the README:
#   make play   installs what is missing, builds the game and starts it
#   make test   installs what is missing, builds and runs every test
# Also: make package (a .deb), make install (PREFIX, DESTDIR), make build, make bench,
# make fuzz, make soak, make clean.

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja

PREFIX     ?= /usr/local

.PHONY: play game package install test deps deps-play deps-fuzz build build-asan test-release test-asan \
        bench soak fuzz clean

deps:
	@scripts/install-deps.sh test

deps-play:
	@scripts/install-deps.sh play

deps-fuzz:
	@scripts/install-deps.sh fuzz

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release

# Everything, tests and benchmarks included, whatever configured the folder first.
build: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DKELVANE_TESTS=ON -DKELVANE_BENCH=ON
	cmake --build $(BUILD) -j $(JOBS)

# Playing needs neither GoogleTest nor Google Benchmark: a new build folder is configured
# without tests and benchmarks, and only the programs and their data are built (never a
# test program, even in a folder that make test configured).
define configure-game
	@[ -f $(BUILD)/build.ninja ] || \
	  cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DKELVANE_TESTS=OFF -DKELVANE_BENCH=OFF
endef

play: deps-play
	$(configure-game)
	cmake --build $(BUILD) -j $(JOBS) --target kelvane kelvane_assets_data
	cd $(BUILD) && ./kelvane

# The game, the runner and the data: what install and package take.
game: deps-play
	$(configure-game)
	cmake --build $(BUILD) -j $(JOBS) --target kelvane kelvane-sim kelvane_assets_data

# cmake --install honours DESTDIR.
install: game
	umask 022 && cmake --install $(BUILD) --prefix $(PREFIX)

# $(BUILD)/kelvane_<version>_<arch>.deb, from the same install rules; the folders the
# install creates take the umask, so it is the usual one whatever the caller's.
package: game
	@scripts/install-deps.sh package
	cd $(BUILD) && umask 022 && cpack -G DEB

test-release: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

$(ASAN_BUILD)/build.ninja:
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVANE_SANITIZE=ON -DKELVANE_BENCH=OFF

build-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# The sanitizer pass runs the same tests once more under ASan and UBSan.
# Tests labelled "once" (the package, the install and the other processor) check what the
# build produces, not how the code behaves: the plain pass runs them, the sanitizer pass not.
test-asan: build-asan
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS) -LE once

test: test-release test-asan

# Every benchmark BENCH_REPS times; the report prints each goal as a ratio of medians
# measured in this one run and fails when one is missed.
BENCH_REPS ?= 10

bench: build
	$(BUILD)/kelvane-bench --benchmark_repetitions=$(BENCH_REPS) --benchmark_report_aggregates_only=true \
	  --benchmark_out=$(BUILD)/bench.json --benchmark_out_format=json
	python3 scripts/bench-report.py $(BUILD)/bench.json

# The shipped battle for 100,000 ticks: under ASan + UBSan without a report or a swallowed
# error, and in the Release build without resident memory growing. Not part of make test.
soak: deps $(BUILD)/build.ninja $(ASAN_BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target kelvane-sim kelvane_assets_data
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target kelvane-sim
	scripts/soak.sh $(ASAN_BUILD) $(BUILD)

# The fuzz targets (clang, libFuzzer, ASan + UBSan), each run FUZZ_SECONDS seconds on a
# scratch copy of its committed seeds in $(FUZZ_OUT)/<target>: the committed corpus never
# grows by itself. Crash inputs land in $(FUZZ_OUT)/<target>/artifacts; any one fails the run.
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_OUT     ?= fuzz-out
FUZZ_TARGETS := picture_archive wave_archive dib bmp wave definition console replay recording check

$(FUZZ_BUILD)/build.ninja:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DKELVANE_FUZZ=ON -DKELVANE_TESTS=OFF -DKELVANE_BENCH=OFF

fuzz: deps-fuzz $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target kelvane_fuzz_targets
	@failed=""; \
	for t in $(FUZZ_TARGETS); do \
	  out=$(FUZZ_OUT)/$$t; rm -rf $$out; mkdir -p $$out/corpus $$out/artifacts; \
	  cp fuzz/corpus/$$t/* $$out/corpus/; \
	  dict=""; if [ -f fuzz/$$t.dict ]; then dict=-dict=fuzz/$$t.dict; fi; \
	  echo "fuzz_$$t: $(FUZZ_SECONDS) s"; \
	  if ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	     $(FUZZ_BUILD)/fuzz_$$t $$out/corpus $$dict -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 \
	     -timeout=10 -print_final_stats=1 -artifact_prefix=$$out/artifacts/ >$$out/log.txt 2>&1; then \
	    grep -E '^stat::(number_of_executed_units|average_exec_per_sec)' $$out/log.txt | sed 's/^/  /'; \
	  else \
	    echo "  CRASH: see $$out/log.txt"; ls $$out/artifacts | sed 's/^/  /'; failed="$$failed $$t"; \
	  fi; \
	done; \
	if [ -n "$$failed" ]; then echo "fuzz: crashes in:$$failed"; exit 1; fi; echo "fuzz: no crashes"

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
