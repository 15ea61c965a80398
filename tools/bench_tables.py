#!/usr/bin/env python3
"""Prints the tables of bench/RESULTS.md from one `make bench` run.

Reads the Google Benchmark JSON files (bench_<name>.json, written with --benchmark_out) and
gstreamer.json (bench/gstreamer.py) from one directory. Every ratio compares two cases of the
same run of the same binary, on the same clock: real time for cases registered with
UseRealTime (helper threads, other processes, files), else the calling thread's CPU time.
With repetitions the medians are used.

Usage: tools/bench_tables.py DIR
"""
import json
import os
import sys

UNIT_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


class Run:
    """The figures of one benchmark case: time per iteration (ns) on its own clock, rates."""

    def __init__(self, entry, program):
        self.program = program
        self.real = entry["run_name"].split("/").count("real_time") > 0
        scale = UNIT_NS[entry.get("time_unit", "ns")]
        self.cpu_ns = entry["cpu_time"] * scale
        self.ns = entry["real_time"] * scale if self.real else self.cpu_ns
        self.items = entry.get("items_per_second")
        self.bytes = entry.get("bytes_per_second")
        self.clock = "real" if self.real else "CPU"


def load(directory):
    """Benchmark name without its "/real_time" part -> Run (the median when repeated)."""
    runs, context = {}, None
    for file in sorted(os.listdir(directory)):
        if not (file.startswith("bench_") and file.endswith(".json")):
            continue
        with open(os.path.join(directory, file)) as f:
            data = json.load(f)
        context = context or data["context"]
        for entry in data["benchmarks"]:
            if entry.get("error_occurred"):
                continue
            repeated = entry.get("run_type") == "aggregate"
            if repeated and entry.get("aggregate_name") != "median":
                continue
            name = "/".join(p for p in entry["run_name"].split("/") if p != "real_time")
            if repeated or name not in runs:
                runs[name] = Run(entry, file[: -len(".json")])
    return runs, context


def fmt(ns):
    """A time in the unit that keeps three significant digits readable."""
    for unit, scale in (("s", 1e9), ("ms", 1e6), ("µs", 1e3)):
        if ns >= scale:
            return f"{ns / scale:.3g} {unit}"
    return f"{ns:.3g} ns"


def rate(per_second, unit=""):
    for suffix, scale in (("G", 1e9), ("M", 1e6), ("k", 1e3)):
        if per_second >= scale:
            return f"{per_second / scale:.3g} {suffix}{unit}/s"
    return f"{per_second:.3g} {unit}/s"


class Table:
    def __init__(self, title, columns):
        self.title, self.columns, self.rows, self.missing = title, columns, [], []

    def add(self, *cells):
        self.rows.append([str(c) for c in cells])

    def print(self):
        print(f"\n### {self.title}\n")
        print("| " + " | ".join(self.columns) + " |")
        print("|" + "|".join("---" if i == 0 else "---:" for i in range(len(self.columns))) + "|")
        for row in self.rows:
            print("| " + " | ".join(row) + " |")
        if self.missing:
            print("\nMissing from this run: " + ", ".join(dict.fromkeys(self.missing)))


def verdict(ok):
    return "yes" if ok else "**no**"


def pairs(runs, table, cases):
    """Rows of ours against a peer: (case, ours, peer, largest ratio allowed or None)."""
    for label, ours, peer, limit in cases:
        if ours not in runs or peer not in runs:
            table.missing.append(ours if ours not in runs else peer)
            continue
        a, b = runs[ours], runs[peer]
        ratio = a.ns / b.ns
        goal = f"<= {limit:.3g}" if limit else "—"
        met = verdict(ratio <= limit) if limit else "—"
        table.add(label, fmt(a.ns), fmt(b.ns), a.clock, f"{ratio:.2f}", goal, met)


PAIR_COLUMNS = ["Case", "ours", "peer", "clock", "ours / peer", "goal", "met?"]


def strings(runs):
    t = Table("TCString against std::string, snprintf and memmem (bench_string)", PAIR_COLUMNS)
    pairs(runs, t, [
        ("append 16-byte pieces to 1 MiB, no reserve (std::string)",
         "TCString_Append16/reserve:0", "StdString_Append16/reserve:0", 1.5),
        ("reserve 1 MiB, then append 16-byte pieces (`GetBuffer` / `reserve`)",
         "TCString_Append16/reserve:1", "StdString_Append16/reserve:1", 1.5),
        ("append 16-byte pieces into 1 MiB of room already there (std::string)",
         "TCString_AppendIntoRoom", "StdString_AppendIntoRoom", 1.5),
        ("`Format(\"%s=%d %g\")` (snprintf into a buffer)", "TCString_Format", "Snprintf_Format", 1.2),
        ("`Find` in 64 KiB of text (std::string::find)", "TCString_Find", "StdString_Find", 1.5),
        ("`Find` in 64 KiB of text (memmem)", "TCString_Find", "Memmem_Find", None),
        ("`Replace` of every match in 64 KiB (find loop into a new std::string)",
         "TCString_Replace", "StdString_Replace", 1.5),
        ("copy of a 4 KiB binary string (std::string)", "TCString_Copy4K", "StdString_Copy4K", 1.5),
    ])
    return t


def containers(runs):
    t = Table("TCArray<int>::Add against std::vector<int>::push_back (bench_containers), per element",
              PAIR_COLUMNS)
    cases = []
    for n in (1000, 1 << 20):
        cases.append((f"grow from empty, {n:,} ints", f"TCArrayAdd/{n}", f"VectorPushBack/{n}", None))
    for n in (1000, 1 << 20):
        cases.append((f"room reserved, {n:,} ints", f"TCArrayAddReserved/{n}",
                      f"VectorPushBackReserved/{n}", 1.5))
    per_element = {}
    for label, ours, peer, limit in cases:
        n = int(ours.split("/")[1])
        for name in (ours, peer):
            if name in runs and name not in per_element:
                run = runs[name]
                run.ns /= n
                per_element[name] = run
    pairs(per_element, t, cases)
    return t


def numbers(runs):
    t = Table("Number formatting (bench_numbers)", PAIR_COLUMNS)
    pairs(runs, t, [
        ("ftoa 6 decimals (snprintf \"%.6f\"; goal 3x faster)", "FtoaFixed6", "SnprintfFixed6", 1 / 3),
        ("ftoa 6 decimals (std::to_chars fixed 6)", "FtoaFixed6", "ToCharsFixed6", 2.0),
        ("ftoa 15 significant digits (snprintf \"%.15g\"; goal 3x faster)",
         "FtoaSignificant15", "SnprintfSignificant15", 1 / 3),
        ("ftoa 15 significant digits (std::to_chars general 15)",
         "FtoaSignificant15", "ToCharsSignificant15", 2.0),
        ("DoubleToHexString (snprintf \"%a\")", "DoubleToHex", "SnprintfHex", None),
    ])
    return t


def times(runs):
    t = Table("TCFormatTime against localtime_r + strftime, TCLogFile against spdlog (bench_time, "
              "bench_logfile)", PAIR_COLUMNS)
    pairs(runs, t, [
        ("\"%yyyy-%MM-%dd %hh:%mm:%ss\" (\"%Y-%m-%d %H:%M:%S\")", "BM_TCFormatTime/0", "BM_Strftime/0", 1.5),
        ("\"%dayEn, %d %MonEn %yyyy, %HH:%mm %PP\" (\"%A, %-d %B %Y, %I:%M %p\")",
         "BM_TCFormatTime/1", "BM_Strftime/1", 1.5),
    ])
    for threads in (1, 2):
        ours = runs.get(f"BM_TCLogFile/threads:{threads}")
        peer = runs.get(f"BM_SpdlogBasicFileSinkMt/threads:{threads}")
        if ours and peer and ours.items and peer.items:
            ratio = peer.items / ours.items
            t.add(f"log lines, {threads} thread(s) (spdlog basic_file_sink_mt; goal 0.8x its lines/s)",
                  rate(ours.items, " lines"), rate(peer.items, " lines"), "real", f"{ratio:.2f}",
                  "<= 1.25", verdict(ratio <= 1.25))
    return t


def regexps(runs):
    t = Table("TCRegExp against PCRE2 (interpreter) (bench_regexp)", PAIR_COLUMNS)
    cases = []
    for p, pattern in enumerate(["[0-9]+", "\\w+@\\w+\\.com", "(?:ab|cd)+e"]):
        for size in (1024, 16384):
            cases.append((f"every match of `{pattern}` in {size // 1024} KiB",
                          f"TCRegExpFindAll/{p}/{size}", f"Pcre2FindAll/{p}/{size}", None))
    for size in (1024, 16384):
        cases.append((f"no match of `[0-9]+zz` in {size // 1024} KiB",
                      f"TCRegExpFindNone/{size}", f"Pcre2FindNone/{size}", None))
    for p, pattern in enumerate(["[0-9]+", "\\w+@\\w+\\.com", "(?:ab|cd)+e"]):
        cases.append((f"static Find of `{pattern}` (compile + match + free)",
                      f"TCRegExpStaticFind/{p}", f"Pcre2CompileAndFind/{p}", None))
    pairs(runs, t, cases)
    for row in t.rows:
        row[0] = row[0].replace("|", "\\|")
    return t


def streams(runs, gst):
    t = Table("Stream blocks, one writer and N readers (bench_streams), ns per block",
              ["Case", "N", "stream", "floor", "clock", "stream / floor", "goal", "met?"])
    for n in (1, 2, 8, 16):
        s, f = runs.get(f"BM_OneValue_Stream/{n}"), runs.get(f"BM_OneValue_Floor/{n}")
        if s and f:
            limit = 40 + 6 * (n - 1)
            ok = s.ns <= limit and s.ns / f.ns <= 3
            t.add("one value", n, fmt(s.ns), fmt(f.ns), s.clock, f"{s.ns / f.ns:.2f}",
                  f"<= {limit} ns and <= 3", verdict(ok))
    for n in (1, 2, 8, 16):
        s, f = runs.get(f"BM_4KiB_Copy_Stream/{n}"), runs.get(f"BM_4KiB_Copy_Floor/{n}")
        if s and f:
            t.add("4 KiB, copying readers", n, fmt(s.ns), fmt(f.ns), s.clock, f"{s.ns / f.ns:.2f}", "—", "—")

    b = Table("Stream bandwidth with peeking readers against one memcpy of the block (bench_streams)",
              ["Block", "N", "stream", "floor", "memcpy", "clock", "stream % of memcpy", "floor %",
               "goal", "met?"])
    for size, values in (("4 KiB", 4096), ("64 KiB", 65536)):
        m = runs.get(f"BM_Memcpy/{values}")
        for n in (1, 2, 8, 16):
            s = runs.get(f"BM_{size.replace(' ', '')}_Peek_Stream/{n}")
            f = runs.get(f"BM_{size.replace(' ', '')}_Peek_Floor/{n}")
            if m and s and f:
                share = 100 * m.ns / s.ns
                b.add(size, n, fmt(s.ns), fmt(f.ns), fmt(m.ns), s.clock, f"{share:.0f} %",
                      f"{100 * m.ns / f.ns:.0f} %", ">= 70 %", verdict(share >= 70))

    g = Table("GStreamer fan-out (fakesrc ! tee ! N x fakesink) against the stream (bench/gstreamer.py)",
              ["Buffer", "N", "stream", "GStreamer", "clock", "GStreamer / stream", "goal", "met?"])
    for row in gst:
        ratio = row["gstreamer_ns"] / row["stream_ns"]
        g.add(f"{row['bytes']} B", row["fans"], fmt(row["stream_ns"]), fmt(row["gstreamer_ns"]), "real",
              f"{ratio:.0f}", "> 1", verdict(ratio > 1))
    return [t, b, g]


def archives(runs):
    t = Table("Archives: 10,000 sections of 20 values (bench_archive); the last column gives the rate "
              "by the calling thread's CPU time, for reference",
              ["Case", "ours", "rate", "peer", "clock", "ours / peer", "goal", "met?", "rate by CPU time"])
    cases = [
        ("binary write (file written in place)", "BM_ArchiveWrite/0", "BM_Fwrite/0", 10e6, "items"),
        ("binary save (temporary, fsync, rename)", "BM_ArchiveWrite/2", None, None, "items"),
        ("binary read (every value fetched)", "BM_ArchiveRead/0", "BM_Fread/0", 3e6, "items"),
        ("XML write", "BM_ArchiveWrite/1", "BM_Fwrite/1", 0.5e6, "items"),
        ("XML read (every value fetched)", "BM_ArchiveRead/1", "BM_RawSax", 60e6, "bytes"),
    ]
    for label, ours, peer, goal, kind in cases:
        a = runs.get(ours)
        if not a:
            t.missing.append(ours)
            continue
        p = runs.get(peer) if peer else None
        value = a.items if kind == "items" else a.bytes
        unit = " values" if kind == "items" else "B"
        peer_cells = (fmt(p.ns), f"{a.ns / p.ns:.1f}") if p else ("—", "—")
        goal_cells = (f">= {rate(goal, unit)}", verdict(value >= goal)) if goal else ("—", "—")
        t.add(label, fmt(a.ns), rate(value, unit), peer_cells[0], a.clock, peer_cells[1], *goal_cells,
              rate(value * a.ns / a.cpu_ns, unit))
    t.columns[3] = "peer (fwrite / fread / libxml2 SAX)"
    return t


def serialization(runs):
    t = Table("Stream blocks as binary records and XML (bench_serialize)", PAIR_COLUMNS)
    cases = [(f"block -> binary record -> block, {n} doubles (memcpy out and back)",
              f"BM_BlockToBinaryAndBack/{n}", f"BM_MemcpyOutAndBack/{n}", None) for n in (16, 1024, 16384)]
    cases += [(f"block -> XML -> block, {n} doubles (raw libxml2 parse)",
               f"BM_BlockToXmlAndBack/{n}", f"BM_RawLibxml2Parse/{n}", None) for n in (16, 1024)]
    cases += [(f"XML text -> block, {n} doubles (raw libxml2 parse)",
               f"BM_XmlTextToBlock/{n}", f"BM_RawLibxml2Parse/{n}", None) for n in (16, 1024)]
    pairs(runs, t, cases)
    return t


def modules(runs):
    t = Table("Module Fetch against the stream's own block count (bench_modules)", PAIR_COLUMNS)
    pairs(runs, t, [
        ("`TCBaseModule::Fetch`, 1 input (`GetBlockCnt(nullptr) > 0`)", "BM_Fetch_Module/1",
         "BM_Fetch_DirectCount", 1.5),
        ("`TCBaseModule::Fetch`, 8 inputs, the block at the last (same)", "BM_Fetch_Module/8",
         "BM_Fetch_DirectCount", None),
        ("the fan queue read inline (same)", "BM_Fetch_DirectQueue", "BM_Fetch_DirectCount", None),
    ])
    return t


def typed_io(runs):
    t = Table("Typed port reads and writes against the raw stream calls (bench_typed, bench_baseex)", PAIR_COLUMNS)
    rows = []
    for values, fans in ((1, 1), (1, 2), (1024, 1), (1024, 2)):
        goal = 2.0 if values == 1 else 1.1
        shape = f"{values}/{fans}"
        rows.append((f"`WriteDblData`/`ReadDblData`, {values} double(s), {fans} fan(s) (raw `WriteDblVec`/`ReadDblVec`)",
                     f"BM_Typed_DblData/{shape}", f"BM_Raw_DblVec/{shape}", goal))
        rows.append((f"the same with type information (raw: `SetTI` before, a copy of `GetTI` after each block)",
                     f"BM_Typed_DblData_TypeInfo/{shape}", f"BM_Raw_DblVec_TypeInfo/{shape}", goal))
        rows.append((f"the same with type information against the raw calls without it",
                     f"BM_Typed_DblData_TypeInfo/{shape}", f"BM_Raw_DblVec/{shape}", None))
    for values in (1, 1024):
        rows.append((f"`TCBaseModuleEx` `Write(&x)`/`Read(&x)`, {values} double(s) (the port helper's typed calls)",
                     f"BM_BaseEx_WriteRead/{values}", f"BM_BaseEx_PortHelper/{values}", 1.3))
    rows.append(("MultiType, 8 named double segments written and read by name (one double, raw)",
                 "BM_MultiType_8Named", "BM_Raw_DblVec/1/1", None))
    for values in (1, 1024):
        rows.append((f"block buffer: a block read in and written out again, {values} double(s) (a raw stream copy)",
                     f"BM_BlockBuffer_WriteReadBack/{values}", f"BM_BlockBuffer_RawStreamCopy/{values}", None))
    rows.append(("`ParseParamString` of a 1 MiB parameter text (split into lines)", "BM_ParamsParse",
                 "BM_ParamsLineSplit", None))
    rows.append(("the same parameters inserted and set one by one (split into lines)", "BM_ParamsBuild",
                 "BM_ParamsLineSplit", None))
    pairs(runs, t, rows)
    return t


# Programs whose cases are set against a peer in the tables above.
COMPARED = {"bench_string", "bench_containers", "bench_numbers", "bench_time", "bench_logfile",
            "bench_regexp", "bench_streams", "bench_archive", "bench_serialize", "bench_modules",
            "bench_typed", "bench_baseex", "bench_blockbuffer", "bench_params"}


def listings(runs):
    """Every case of the other programs (no peer, or no table yet) with its time."""
    tables = []
    for program in sorted({run.program for run in runs.values()} - COMPARED):
        t = Table(f"{program}, every case (no peer table)", ["Case", "time", "clock", "per second"])
        for name, run in sorted(runs.items()):
            if run.program == program:
                t.add(name, fmt(run.ns), run.clock, rate(1e9 / run.ns))
        tables.append(t)
    return tables


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    directory = sys.argv[1]
    runs, context = load(directory)
    gst = []
    gst_file = os.path.join(directory, "gstreamer.json")
    if os.path.exists(gst_file):
        with open(gst_file) as f:
            gst = json.load(f)
    if context:
        print(f"Run: {context.get('date')} on {context.get('host_name')}, {context.get('num_cpus')} CPUs "
              f"at {context.get('mhz_per_cpu')} MHz, load average {context.get('load_avg')}")
    tables = [strings(runs), containers(runs), numbers(runs), times(runs), regexps(runs)]
    tables += streams(runs, gst)
    tables += [archives(runs), serialization(runs), modules(runs), typed_io(runs)] + listings(runs)
    for table in tables:
        if table.rows:
            table.print()


if __name__ == "__main__":
    main()
