#!/bin/sh
# Fuzzes targets one after another, each alone on one core at the lowest priority, and keeps
# what they find: afterwards a target's corpus is rebuilt from its named inputs (seeds and
# pinned findings, never dropped) plus those of the old corpus and of the run that add
# coverage to them. Crashing inputs land in LOG_DIR as <name>-crash-<sha1>; the per-target
# logs there hold the final statistics (executions, cov, ft).
# usage: fuzz/campaign.sh BUILD_DIR SECONDS LOG_DIR NAME...
set -u
build=$1 seconds=$2 logs=$3
shift 3
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$logs"
for name in "$@"; do
    corpus=$here/corpus/$name new=$logs/$name.new fresh=$logs/$name.fresh
    rm -rf "$new" "$fresh"
    mkdir -p "$new" "$fresh" "$corpus"
    before=$(ls "$corpus" | wc -l)
    start=$(date +%s)
    nice -n 19 "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$logs/$name-" "$new" "$corpus" >"$logs/$name.log" 2>&1
    rc=$?
    end=$(date +%s)
    find "$corpus" -type f ! -regex '.*/[0-9a-f]\{40\}' -exec cp {} "$fresh" \;
    if nice -n 19 "$build/fuzz/fuzz_$name" -merge=1 "$fresh" "$corpus" "$new" >"$logs/$name.merge.log" 2>&1; then
        rm -rf "$corpus" && mv "$fresh" "$corpus"
    fi
    echo "$name rc=$rc seconds=$((end - start)) files=$before->$(ls "$corpus" | wc -l)" >>"$logs/summary"
done
