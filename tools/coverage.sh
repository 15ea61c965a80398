#!/bin/sh
# Line coverage of the library and the host by the whole test suite: a gcc --coverage build
# in its own directory, ctest there, and a gcovr report of every source file that is not a
# test: build/coverage/coverage.txt (a line per file with its uncovered lines) and
# build/coverage/html/index.html. Needs gcovr (Debian: apt-get install gcovr).
#   tools/coverage.sh [BUILD_DIR]       (default build/coverage)
# JOBS sets the parallel builds and tests (default: the number of CPUs).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "${1:-$root/build/coverage}" && cd "${1:-$root/build/coverage}" && pwd)
jobs=${JOBS:-$(nproc)}
command -v gcovr >/dev/null || { echo "coverage.sh: gcovr is missing" >&2; exit 2; }
launcher=$(command -v ccache || true)

# -O0 keeps every line its own; the fuzz replays are tests and count too.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="--coverage -O0" -DCMAKE_C_FLAGS="--coverage -O0" \
    -DCMAKE_EXE_LINKER_FLAGS=--coverage -DCMAKE_SHARED_LINKER_FLAGS=--coverage \
    ${launcher:+-DCMAKE_CXX_COMPILER_LAUNCHER=$launcher}
cmake --build "$build" -j "$jobs"

# Counts of an earlier run would add up with this one's.
find "$build" -name '*.gcda' -delete
# The install and standalone builds compile consumers, not the library: nothing to count.
(cd "$build" && ctest -j "$jobs" --output-on-failure -E '^(install\.consumer|samples\.standalone_build)$') ||
    echo "coverage.sh: some tests failed; the report counts what ran" >&2

mkdir -p "$build/html"
gcovr -r "$root" --object-directory "$build" -j "$jobs" \
    -f "$root/corekit80/" -f "$root/host/" -f "$root/examples/" \
    -e '.*_test\.(cpp|h)$' -e '.*/tests/.*' -e '.*/alloc/.*' --exclude-directories "$build/CMakeFiles" \
    --txt "$build/coverage.txt" --html-details "$build/html/index.html" --print-summary
echo "coverage.sh: $build/coverage.txt and $build/html/index.html"
