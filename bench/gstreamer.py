#!/usr/bin/env python3
"""GStreamer's fan-out against the stream's, both on the wall clock in one run.

For each buffer size (8 B, 4 KiB) and fan-out N (1, 2, 8, 16), first the stream side runs:
bench_streams' BM_GstPeer_Stream, a fixed count of blocks from one writer to N peeking readers.
Then GStreamer moves the same count of buffers of the same size:
`fakesrc filltype=zero ! tee` plus N x `t. ! fakesink`, as one gst-launch-1.0 process, whose
wall time less that of a one-buffer run (start-up and shutdown) is divided by the count.
The source fills every buffer (the stream's writer copies into every block) and the sinks do
not read (the stream's readers only peek). Each side runs `repetitions` times; medians.

Usage: bench/gstreamer.py BENCH_STREAMS OUT.json [repetitions]   (needs gstreamer1.0-tools)
"""
import json
import shutil
import statistics
import subprocess
import sys
import time


def stream_ns(binary, fans, size, repetitions):
    """Wall nanoseconds per block and the block count of one stream run."""
    out = subprocess.run(
        [binary, f"--benchmark_filter=^BM_GstPeer_Stream/{fans}/{size}/", "--benchmark_format=json",
         f"--benchmark_repetitions={repetitions}"],
        check=True, capture_output=True, text=True).stdout
    runs = [b for b in json.loads(out)["benchmarks"] if b.get("run_type") == "iteration"]
    if not runs:
        sys.exit(f"{binary}: no BM_GstPeer_Stream/{fans}/{size} case")
    return statistics.median(b["real_time"] for b in runs), runs[0]["iterations"]


def gst_seconds(fans, size, count):
    sinks = []
    for _ in range(fans):
        sinks += ["t.", "!", "fakesink", "sync=false", "async=false"]
    command = ["gst-launch-1.0", "-q", "fakesrc", f"num-buffers={count}", "sizetype=fixed",
               f"sizemax={size}", "filltype=zero", "!", "tee", "name=t"] + sinks
    start = time.perf_counter()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    return time.perf_counter() - start


def gst_ns(fans, size, count, repetitions):
    per_buffer = []
    for _ in range(repetitions):
        startup = gst_seconds(fans, size, 1)
        per_buffer.append((gst_seconds(fans, size, count) - startup) * 1e9 / count)
    return statistics.median(per_buffer)


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    binary, out = sys.argv[1], sys.argv[2]
    repetitions = int(sys.argv[3]) if len(sys.argv) == 4 else 3
    if not shutil.which("gst-launch-1.0"):
        sys.exit("gst-launch-1.0 not found (gstreamer1.0-tools)")
    rows = []
    print(f"{'bytes':>6} {'N':>3} {'stream ns':>10} {'GStreamer ns':>13} {'ratio':>6}")
    for size in (8, 4096):
        for fans in (1, 2, 8, 16):
            ours, count = stream_ns(binary, fans, size, repetitions)
            theirs = gst_ns(fans, size, count, repetitions)
            rows.append({"bytes": size, "fans": fans, "buffers": count, "stream_ns": ours,
                         "gstreamer_ns": theirs})
            print(f"{size:>6} {fans:>3} {ours:>10.1f} {theirs:>13.1f} {theirs / ours:>6.0f}", flush=True)
    with open(out, "w") as f:
        json.dump(rows, f, indent=1)


if __name__ == "__main__":
    main()
