#!/usr/bin/env bash
# Times GStreamer's fan-out of fixed-size buffers from one source through a tee to N sinks,
# the peer figures for bench_streams. Prints one line per case: buffer size, N, seconds
# and nanoseconds per buffer (start-up time, measured with one buffer, subtracted).
# Usage: bench/gstreamer.sh [buffers]   (default 1000000; needs gstreamer1.0-tools)
set -euo pipefail

buffers=${1:-1000000}
command -v gst-launch-1.0 >/dev/null || { echo "gst-launch-1.0 not found (gstreamer1.0-tools)" >&2; exit 1; }

run() { # size fans count -> seconds
    local size=$1 fans=$2 count=$3 branches="" start end
    for ((i = 0; i < fans; i++)); do
        branches+=" t. ! fakesink sync=false async=false"
    done
    start=$(date +%s.%N)
    # shellcheck disable=SC2086
    gst-launch-1.0 -q fakesrc num-buffers="$count" sizetype=fixed sizemax="$size" ! tee name=t $branches >/dev/null
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.6f", b - a }' 
}

printf "%-6s %-3s %-10s %s\n" bytes N seconds ns/buffer
for size in 8 4096; do
    for fans in 1 2 8 16; do
        startup=$(run "$size" "$fans" 1)
        total=$(run "$size" "$fans" "$buffers")
        awk -v s="$size" -v n="$fans" -v t="$total" -v u="$startup" -v b="$buffers" \
            'BEGIN { printf "%-6s %-3s %-10.3f %.1f\n", s, n, t, (t - u) * 1e9 / b }'
    done
done
