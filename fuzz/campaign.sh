#!/bin/sh
# Fuzzes targets one after another, each alone on one core at the lowest priority, and keeps
# what they find: afterwards a target's corpus is rebuilt from its named inputs (seeds and
# pinned findings, never dropped) plus those of the old corpus and of the run that add
# coverage to them; a corpus of more than 400 files is rebuilt once more counting edges
# only, not how often they ran. Crashing inputs land in LOG_DIR as <name>-crash-<sha1>; the
# per-target logs there hold the final statistics (executions, cov, ft); the summary there
# the wall and CPU seconds (user + system) of each run.
# SECONDS 0 only rebuilds the corpora.
# usage: fuzz/campaign.sh BUILD_DIR SECONDS LOG_DIR NAME...
set -u
build=$1 seconds=$2 logs=$3
shift 3
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$logs"

# merge NAME LOG COUNTERS [DIR...]: the corpus rebuilt from its named inputs and what its
# inputs and those of the folders add to them; COUNTERS 1 counts how often an edge ran.
merge()
{
    name=$1 log=$2 counters=$3
    shift 3
    fresh=$logs/$name.fresh
    rm -rf "$fresh"
    mkdir -p "$fresh"
    find "$here/corpus/$name" -regextype posix-extended -type f ! -regex '.*/[0-9a-f]{40}' -exec cp {} "$fresh" \;
    if nice -n 19 "$build/fuzz/fuzz_$name" -merge=1 -use_counters="$counters" "$fresh" "$here/corpus/$name" "$@" >"$log" 2>&1; then
        rm -rf "$here/corpus/$name" && mv "$fresh" "$here/corpus/$name"
    fi
}

for name in "$@"; do
    corpus=$here/corpus/$name new=$logs/$name.new
    rm -rf "$new"
    mkdir -p "$new" "$corpus"
    before=$(ls "$corpus" | wc -l)
    start=$(date +%s)
    rc=0
    if [ "$seconds" -gt 0 ]; then
        /usr/bin/time -f "%U %S" -o "$logs/$name.cpu" nice -n 19 "$build/fuzz/fuzz_$name" \
            -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
            -artifact_prefix="$logs/$name-" "$new" "$corpus" >"$logs/$name.log" 2>&1
        rc=$?
    fi
    end=$(date +%s)
    merge "$name" "$logs/$name.merge.log" 1 "$new"
    if [ "$(ls "$corpus" | wc -l)" -gt 400 ]; then
        merge "$name" "$logs/$name.shrink.log" 0
    fi
    cpu=$(tail -n 1 "$logs/$name.cpu" 2>/dev/null | awk '{ printf "%d", $1 + $2 }')
    echo "$name rc=$rc seconds=$((end - start)) cpu=${cpu:-0} files=$before->$(ls "$corpus" | wc -l)" >>"$logs/summary"
done
