#!/usr/bin/env bash
# The chain source -> gain -> sink run by flowdeck and by GStreamer on the same machine, with
# 1-value and 1024-value blocks: blocks per second of each and their ratio.
#
#   flowdeck:  Generator (sine; the sample modules) -> Gain 0.5 -> Discard (drops each block
#              unread; the host's test modules), `flowdeck run --quiet`
#   GStreamer: gst-launch-1.0 audiotestsrc num-buffers=N samplesperbuffer=K
#              ! audio/x-raw,format=F64LE ! volume volume=0.5 ! fakesink sync=false
#
# Both are timed on the wall clock as whole processes; the time of a one-block run (start-up,
# loading, shutdown) is taken off and the rest divided by the blocks. Medians of REPS runs.
#
# Usage: bench/gstreamer_chain.sh [BUILD_DIR] [REPS]   (a release build with flowdeck, the
#        sample modules and the tests; needs gstreamer1.0-tools and gstreamer1.0-plugins-base)
set -euo pipefail
build=${1:-build/release}
reps=${2:-5}
flowdeck=$build/host/flowdeck
paths=$build/examples/modules:$build/host/tests
command -v gst-launch-1.0 >/dev/null || { echo "gst-launch-1.0 not found (gstreamer1.0-tools)" >&2; exit 1; }
[ -x "$flowdeck" ] || { echo "$flowdeck not built" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# graph K N: the chain with blocks of K values, N of them.
graph() {
    cat > "$work/chain.xml" <<EOF
<subsection id="0" description="FLOWDECK Signal graph">
 <integer id="1">1</integer>
 <integer id="2">2</integer>
 <subsection id="3">
  <subsection id="0"><string id="1">libflowdeck_samples.so</string></subsection>
  <subsection id="1"><string id="1">libflowdeck_testmodules.so</string></subsection>
 </subsection>
 <integer id="4">3</integer>
 <subsection id="5">
  <subsection id="0"><integer id="1">0</integer><string id="2">Generator</string><integer id="3">0</integer>
   <string id="4">Source</string><subsection id="5"><double id="2">48000</double><double id="4">440</double>
   <integer id="5">$1</integer><integer id="6">$2</integer></subsection></subsection>
  <subsection id="1"><integer id="1">0</integer><string id="2">Gain</string><integer id="3">0</integer>
   <string id="4">Gain</string><subsection id="5"><double id="1">0.5</double></subsection></subsection>
  <subsection id="2"><integer id="1">1</integer><string id="2">Discard</string><integer id="3">0</integer>
   <string id="4">Sink</string><subsection id="5"/></subsection>
 </subsection>
 <integer id="6">2</integer>
 <subsection id="7">
  <subsection id="0"><string id="1">Source</string><string id="2">Out</string><string id="3">Gain</string><string id="4">In</string></subsection>
  <subsection id="1"><string id="1">Gain</string><string id="2">Out</string><string id="3">Sink</string><string id="4">In</string></subsection>
 </subsection>
</subsection>
EOF
}

# Wall nanoseconds of the command.
wall() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    echo $((end - start))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

flowdeck_run() { graph "$1" "$2"; "$flowdeck" run "$work/chain.xml" --quiet --module-path "$paths"; }
gst_run() {
    gst-launch-1.0 -q audiotestsrc num-buffers="$2" samplesperbuffer="$1" ! audio/x-raw,format=F64LE \
        ! volume volume=0.5 ! fakesink sync=false
}

# ns_per_block SIDE K N
ns_per_block() {
    local i
    for ((i = 0; i < reps; i++)); do
        local one many
        one=$(wall "$1" "$2" 1)
        many=$(wall "$1" "$2" "$3")
        echo $(((many - one) / ($3 - 1)))
    done | median
}

# Both sides must work before they are timed.
flowdeck_run 4 2 >/dev/null
gst_run 4 2

uptime
printf '%6s %10s %12s %14s %12s %14s %8s\n' values blocks "flowdeck ns" "flowdeck b/s" "GStreamer ns" "GStreamer b/s" ratio
for shape in "1 2000000 200000" "1024 100000 20000"; do
    read -r k nf ng <<<"$shape"
    ours=$(ns_per_block flowdeck_run "$k" "$nf")
    theirs=$(ns_per_block gst_run "$k" "$ng")
    awk -v k="$k" -v n="$nf" -v a="$ours" -v b="$theirs" 'BEGIN {
        printf "%6d %10d %12d %14.0f %12d %14.0f %8.1f\n", k, n, a, 1e9 / a, b, 1e9 / b, b / a }'
done
uptime
