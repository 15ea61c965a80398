#!/usr/bin/env bash
# Soak of the flowdeck host on a Release build, printing its figures:
#
#   1. host/tests/chain.xml: Generator (sine, blocks of one value, endless) -> Gain 0.5 ->
#      Statistics -> Discard (the test modules' sink, which drops each block) run by `flowdeck
#      run --blocks BLOCKS` from the source folder, with
#      its resident memory read from /proc every second: the first reading, the highest and
#      the last, and one line every tenth of the run's readings.
#   2. The host test that loads, wires, runs and tears down a graph RELOADS times in one
#      process: open files and loaded libraries before and after, resident memory after the
#      first tenth and at the end.
#
# Usage: tools/soak_host.sh [BUILD_DIR] [BLOCKS] [RELOADS]
#        (defaults build/release, 100000000, 10000; BUILD_DIR a Release build with the tests,
#        whose flowdeck, sample modules, test modules and host test are built first)
set -euo pipefail
build=${1:-build/release}
blocks=${2:-100000000}
reloads=${3:-10000}
cmake --build "$build" --target flowdeck flowdeck_samples flowdeck_testmodules flowdeck_test >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== $blocks blocks: Generator -> Gain -> Statistics -> Discard ($(git rev-parse --short HEAD 2>/dev/null), $(date -u '+%F %T UTC'))"
"$build/host/flowdeck" run host/tests/chain.xml --quiet --blocks "$blocks" \
    --module-path "$build/examples/modules:$build/host/tests" >"$work/run.out" &
pid=$!
: >"$work/rss"
while kill -0 "$pid" 2>/dev/null; do
    sleep 1
    awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null >>"$work/rss" || true
done
wait "$pid"
cat "$work/run.out"
awk '{ v[NR] = $1; if ($1 > max) max = $1 }
     END { step = int(NR / 10); if (step < 1) step = 1
           for (i = 1; i <= NR; i += step) printf "  %5d s: %d KiB\n", i, v[i]
           printf "resident: %d KiB at 1 s, %d KiB at %d s (the last reading), highest %d KiB\n", v[1], v[NR], NR, max }' \
    "$work/rss"

echo "== $reloads reloads of a graph in one process"
FLOWDECK_RELOADS=$reloads "$build/host/tests/flowdeck_test" \
    --gtest_filter='GraphHost.ReloadedManyTimesLeavesNoHandleOrLibraryBehind' | grep -E 'reloads:|OK|FAILED'
