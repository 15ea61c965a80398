# Entry points: `make run` builds and runs the demo signal graph, `make test` builds and
# runs every test under AddressSanitizer and UndefinedBehaviorSanitizer, and every test
# that starts threads under ThreadSanitizer.
JOBS ?= $(shell nproc)
CMAKE_GEN := -G Ninja

.PHONY: all deps test run bench fuzz install clean

all: run

deps:
	@scripts/install-deps

build/asan/build.ninja: deps
	cmake -S . -B build/asan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DCK80_SANITIZE=ON

test: deps build/asan/build.ninja
	cmake --build build/asan -j $(JOBS)
	cd build/asan && ctest --output-on-failure -j $(JOBS)
	cmake -S . -B build/tsan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DCK80_TSAN=ON -DCK80_BUILD_EXAMPLES=OFF
	cmake --build build/tsan -j $(JOBS) --target $(foreach t,$(TSAN_TESTS),$(firstword $(subst :, ,$(t))))
	@set -f; for t in $(TSAN_TESTS); do echo "== $$t"; \
		TSAN_OPTIONS=suppressions=$(CURDIR)/tools/tsan.supp build/tsan/corekit80/$${t%%:*} \
			--gtest_filter="$${t#*:}" --gtest_brief=1 || exit 1; done

# Every test that starts threads, as program:gtest filter. The tests that fork run one
# thread per process: nothing for ThreadSanitizer to compare.
TSAN_TESTS := \
	ck80_types_internal_test:TCCodePage.ThreadsConvertIndependently \
	ck80_platform_internal_test:TCBigStackThread.* \
	ck80_foundation_test:TCLogFileLoad.*:Translation.*:TranslationFresh.*:ToString.StaticTextIsPerThread:TCRegExp.LongRandomTextsReassemble \
	ck80_foundation_internal_test:TCWaitTimeout.*:TCSystemTime.FollowsWallClockMonotonically \
	ck80_archive_internal_test:ArchiveParser.TreesOnSeveralThreads

build/release/build.ninja: deps
	cmake -S . -B build/release $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DCK80_BUILD_BENCH=ON

# `make run` runs the demo graph in build/run/, where its CSV file and SVG picture land.
run: deps build/release/build.ninja
	cmake --build build/release -j $(JOBS) --target flowdeck flowdeck_samples
	@mkdir -p build/run
	@echo "flowdeck run examples/graphs/demo.xml (in build/run/)"
	@cd build/run && $(CURDIR)/build/release/host/flowdeck run $(CURDIR)/examples/graphs/demo.xml \
		--module-path $(CURDIR)/build/release/examples/modules

# `make bench` runs every benchmark program, pinned to the last CPU, with repetitions, into
# JSON files under build/release/bench-results, measures GStreamer against the stream and the
# flowdeck host against a GStreamer pipeline, and
# prints the tables of bench/RESULTS.md from those files.
BENCHES := $(basename $(notdir $(wildcard bench/bench_*.cpp)))
BENCH_OUT := build/release/bench-results
BENCH_ARGS ?= --benchmark_min_time=0.2 --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
BENCH_PIN ?= $(shell command -v taskset >/dev/null && echo taskset -c $$(($$(nproc) - 1)))

bench: deps build/release/build.ninja
	cmake --build build/release -j $(JOBS) --target $(BENCHES) flowdeck flowdeck_samples flowdeck_testmodules
	@mkdir -p $(BENCH_OUT)
	@uptime
	@for b in $(BENCHES); do echo "== $$b"; \
		$(BENCH_PIN) build/release/bench/$$b $(BENCH_ARGS) --benchmark_out=$(BENCH_OUT)/$$b.json \
			--benchmark_out_format=json || exit 1; done
	$(BENCH_PIN) bench/gstreamer.py build/release/bench/bench_streams $(BENCH_OUT)/gstreamer.json
	$(BENCH_PIN) bench/gstreamer_chain.sh build/release 5 | tee $(BENCH_OUT)/gstreamer_chain.txt
	@uptime
	@tools/bench_tables.py $(BENCH_OUT) | tee $(BENCH_OUT)/tables.md

# Fuzz targets need clang: make fuzz, then run build/fuzz/fuzz/fuzz_<name> fuzz/corpus/<name>
fuzz:
	@scripts/install-deps --fuzz
	CC=clang CXX=clang++ cmake -S . -B build/fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCK80_BUILD_FUZZ=ON -DCK80_BUILD_TESTS=OFF
	cmake --build build/fuzz -j $(JOBS)

# Installing builds only what is installed, in a build directory of its own: no tests,
# benchmarks or samples.
install: deps
	cmake -S . -B build/install $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DCK80_BUILD_TESTS=OFF \
		-DCK80_BUILD_BENCH=OFF -DCK80_BUILD_EXAMPLES=OFF $(if $(PREFIX),-DCMAKE_INSTALL_PREFIX=$(PREFIX))
	cmake --build build/install -j $(JOBS)
	cmake --install build/install $(if $(PREFIX),--prefix $(PREFIX))

clean:
	rm -rf build
