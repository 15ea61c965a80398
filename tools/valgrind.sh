#!/bin/sh
# Runs every test program of a Debug build without sanitizers under valgrind's memcheck, one
# program per valgrind run (the corpora of the fuzz replays included), and the flowdeck
# programs the host tests start. Prints a line per program; a program's log is
# BUILD_DIR/valgrind/NAME.PID.log. Exits 1 when any program had an error or a leak.
#   cmake -S . -B build/valgrind -G Ninja -DCMAKE_BUILD_TYPE=Debug && cmake --build build/valgrind
#   tools/valgrind.sh [BUILD_DIR] [PROGRAM...]      (default build/valgrind, every program)
# The allocation test programs replace the allocator that memcheck replaces itself: left out.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/valgrind}" && pwd) || exit 2
[ $# -gt 0 ] && shift
logs=$build/valgrind
mkdir -p "$logs"
export CK80_TEST_DATA=$root/tests/data

programs() {
    find "$build/corekit80" "$build/host" "$build/examples" "$build/fuzz" -maxdepth 3 -type f -perm -u+x \
        \( -name '*_test' -o -name '*_replay' \) ! -name '*alloc_test' ! -name '*oom*' | sort
}

failed=0
for program in ${*:-$(programs)}; do
    program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")
    name=$(basename "$program")
    rm -f "$logs/$name".*.log
    args=
    trace=no
    case $name in
        fuzz_*_replay) args=$root/fuzz/corpus/$(echo "$name" | sed 's/^fuzz_//; s/_replay$//') ;;
        # Ten megabytes through the regular expression engine: hours under memcheck.
        ck80_foundation_test) args=--gtest_filter=-TCRegExp.HugeTexts ;;
        # Forked writers that leave by _exit with the store open: memcheck calls what they
        # hold lost and changes their exit status, which the test checks.
        ck80_platform_internal_test) args=--gtest_filter=-ProfileStoreProcesses.* ;;
        # The host tests run flowdeck through the shell: both are traced, the tests'
        # own death-test children are not.
        flowdeck_test) trace=yes ;;
    esac
    start=$(date +%s)
    (cd "$(dirname "$program")" &&
        valgrind --tool=memcheck --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite,possible \
            --track-origins=yes --suppressions="$root/tools/valgrind.supp" --gen-suppressions=all \
            --trace-children=$trace --trace-children-skip='*_test,/usr/bin/*' \
            --log-file="$logs/$name.%p.log" "$program" $args >"$logs/$name.out" 2>&1)
    status=$?
    errors=$(grep -h 'ERROR SUMMARY' "$logs/$name".*.log | awk '{ n += $4 } END { print n + 0 }')
    echo "$name: exit $status, $errors errors, $(($(date +%s) - start)) s"
    [ "$status" -ne 0 ] || [ "$errors" -ne 0 ] && failed=1
done
exit $failed
