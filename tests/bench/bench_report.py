#!/usr/bin/env python3
"""Turns the measuring driver's lines and the shipped program's linker map into the bench table.

  bench_report.py --run NAME=FILE [--run NAME=FILE ...] --exe EXE --map MAP --markdown OUT

Each --run file holds what tests/bench/measure.cpp printed for one adapter layout (NAME, e.g.
"3 adapters"). Prints the table of figures against their targets, then where the shipped
program's bytes come from, and writes the table again as markdown to OUT.
"""
import argparse
import os
import re
import statistics
import sys

STARTUP_TARGET = 1.10
MEMORY_TARGET = 1.10
SIZE_TARGET = 256 * 1024


def read_run(path):
    """The per-run figures of one layout: start-up times, memory, apply times, notes."""
    run = {"startup": {}, "final": {}, "peak": {}, "private": {}, "apply": [], "apply_na": None, "notes": []}
    with open(path, encoding="utf-8", errors="replace") as lines:
        for line in lines:
            words = line.rstrip("\r\n").split()
            if not words:
                continue
            kind = words[0]
            if kind == "startup":
                run["startup"].setdefault(words[1], {})[int(words[2])] = float(words[3])
                run["final"].setdefault(words[1], []).append(words[4] == "final=1")
            elif kind == "memory":
                run["peak"].setdefault(words[1], []).append(int(words[3]))
                run["private"].setdefault(words[1], []).append(int(words[4]))
            elif kind == "apply":
                run["apply"].append((float(words[2]), float(words[3])))
            elif kind == "apply-na":
                run["apply_na"] = " ".join(words[1:])
            elif kind in ("note", "adapters"):
                run["notes"].append(" ".join(words))
    return run


def spread(values):
    """Median and the range around it, as one cell."""
    if not values:
        return "n/a", None
    median = statistics.median(values)
    return median, (min(values), max(values))


def cell(values, unit_scale=1.0, digits=1):
    median, extent = spread([v / unit_scale for v in values])
    if extent is None:
        return "n/a"
    return f"{median:.{digits}f} [{extent[0]:.{digits}f}–{extent[1]:.{digits}f}]"


def paired_ratios(netset, baseline):
    """netset over baseline within each round, where both were measured."""
    return [netset[r] / baseline[r] for r in sorted(netset) if r in baseline and baseline[r] > 0]


def verdict(by_median, by_fastest, target):
    """Judged on the medians; where the fastest runs say otherwise the machine was too noisy to
    tell, and the verdict says so."""
    if by_median is None:
        return "n/a"
    word = "OK" if by_median <= target else "over"
    if by_fastest is not None and (by_fastest <= target) != (by_median <= target):
        word += " (noisy)"
    return word


def ratios(net, base):
    """Ratio of the medians and ratio of the fastest (smallest) figures."""
    if not net or not base:
        return None, None
    return statistics.median(net) / statistics.median(base), min(net) / min(base)


def figure_rows(runs, exe_size):
    """(what, netset, baseline, ratio of medians, ratio of fastest, target, verdict) per figure."""
    rows = []
    for name, run in runs:
        net, base = run["startup"].get("netset", {}), run["startup"].get("baseline", {})
        by_median, by_fastest = ratios(list(net.values()), list(base.values()))
        ratio_cell = "n/a"
        if by_median is not None:
            pairs = paired_ratios(net, base)
            ratio_cell = f"{by_median:.3f}" + (f" (rounds {min(pairs):.2f}–{max(pairs):.2f})" if pairs else "")
        rows.append((f"start-up to full report, {name} (ms)", cell(list(net.values())),
                     cell(list(base.values())), ratio_cell,
                     f"{by_fastest:.3f}" if by_fastest is not None else "n/a",
                     f"≤ {STARTUP_TARGET:.2f}×", verdict(by_median, by_fastest, STARTUP_TARGET)))
    for name, run in runs:
        for key, label, target in (("peak", "peak working set", MEMORY_TARGET), ("private", "private bytes", None)):
            net, base = run[key].get("netset", []), run[key].get("baseline", [])
            by_median, by_fastest = ratios(net, base)
            rows.append((f"{label}, {name} (KiB)", cell(net, 1024, 0), cell(base, 1024, 0),
                         f"{by_median:.3f}" if by_median is not None else "n/a",
                         f"{by_fastest:.3f}" if by_fastest is not None else "n/a",
                         f"≤ {target:.2f}×" if target else "—",
                         verdict(by_median, by_fastest, target) if target else "info"))
    for name, run in runs:
        if not run["apply"] and not run["apply_na"]:
            continue
        if run["apply"]:
            script = [a for a, _ in run["apply"]]
            box = [b for _, b in run["apply"]]
            rows.append((f"apply: click of 设置 → script host started, {name} (ms)", cell(script),
                         "—", "—", "—", "—", "info"))
            rows.append((f"apply: click of 设置 → success message, {name} (ms)", cell(box),
                         "—", "—", "—", "—", "info"))
        else:
            rows.append((f"apply, {name}", f"n/a: {run['apply_na']}", "—", "—", "—", "—", "n/a"))
    rows.append(("shipped build/x86/netset.exe (KiB)", f"{exe_size / 1024:.1f}", "—", "—", "—",
                 f"< {SIZE_TARGET // 1024} KiB", "OK" if exe_size < SIZE_TARGET else "over"))
    return rows


SECTION_HEADER = re.compile(r"^(\S+)(?:\s+0x([0-9a-fA-F]+)\s+0x([0-9a-fA-F]+))?\s*$")
INPUT_SECTION = re.compile(r"^ (\S+)(?:\s+0x([0-9a-fA-F]+)\s+0x([0-9a-fA-F]+)\s+(.+))?$")
CONTINUATION = re.compile(r"^\s+0x([0-9a-fA-F]+)\s+0x([0-9a-fA-F]+)(?:\s+(.+))?$")


def parse_map(path):
    """Output sections with their sizes, and the input sections as (output, input, size, file).

    GNU ld writes a section name that does not fit its column on a line of its own, with the
    address, size and file on the next line."""
    outputs, inputs = [], []
    with open(path, encoding="utf-8", errors="replace") as text:
        lines = text.read().splitlines()
    try:
        start = lines.index("Linker script and memory map") + 1
    except ValueError:
        sys.exit(f"{path}: not a GNU ld map")
    current = None
    pending = None  # (kind, name) whose figures come on the next line
    for line in lines[start:]:
        if pending:
            kind, name = pending
            pending = None
            more = CONTINUATION.match(line)
            if more:
                size = int(more.group(2), 16)
                if kind == "output":
                    current = name
                    outputs.append([name, size])
                elif current and more.group(3):
                    inputs.append((current, name, size, more.group(3).strip()))
                continue
        if not line or line.startswith(("LOAD ", "OUTPUT(", "START GROUP", "END GROUP")):
            continue
        if not line[0].isspace():
            header = SECTION_HEADER.match(line)
            if not header:
                continue
            name = header.group(1)
            if header.group(3):
                current = name
                outputs.append([name, int(header.group(3), 16)])
            else:
                current = None
                pending = ("output", name)
            continue
        entry = INPUT_SECTION.match(line)
        if not entry or entry.group(1).startswith("*(") or current is None:
            continue
        name = entry.group(1)
        if name in ("*fill*",):
            if entry.group(3):
                inputs.append((current, name, int(entry.group(3), 16), "(alignment padding)"))
            continue
        if entry.group(3) and entry.group(4):
            inputs.append((current, name, int(entry.group(3), 16), entry.group(4).strip()))
        elif not entry.group(2) and not name.startswith("*"):
            pending = ("input", name)
    return outputs, inputs


def owner(file_name):
    """The archive an input section came from, or the object file itself."""
    member = re.match(r"^(.*\.a)\((.*)\)$", file_name)
    return os.path.basename(member.group(1) if member else file_name)


def takes_file_space(section):
    return section not in (".bss", "/DISCARD/") and not section.startswith(".tbss")


def map_tables(map_path):
    outputs, inputs = parse_map(map_path)
    by_owner = {}
    for output, _, size, file_name in inputs:
        if not takes_file_space(output):
            continue
        entry = by_owner.setdefault(owner(file_name), [0, 0])
        entry[1 if output.startswith((".debug", ".zdebug")) else 0] += size
    owners = sorted(by_owner.items(), key=lambda item: -(item[1][0] + item[1][1]))
    sections = [(name, size) for name, size in outputs if size > 0]
    return owners, sections


def text_table(header, rows):
    widths = [max(len(str(r[i])) for r in [header] + rows) for i in range(len(header))]
    line = lambda r: "  ".join(str(v).ljust(widths[i]) for i, v in enumerate(r)).rstrip()
    return "\n".join([line(header), line(["-" * w for w in widths])] + [line(r) for r in rows])


def markdown_table(header, rows):
    out = ["| " + " | ".join(header) + " |", "|" + "|".join(" --- " for _ in header) + "|"]
    out += ["| " + " | ".join(str(v) for v in r) + " |" for r in rows]
    return "\n".join(out)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--run", action="append", default=[], help="NAME=FILE")
    parser.add_argument("--exe", required=True)
    parser.add_argument("--map", required=True)
    parser.add_argument("--markdown", required=True)
    parser.add_argument("--rounds", default="")
    parser.add_argument("--load", type=float, default=0.0, help="load average when the runs ended")
    parser.add_argument("--cores", type=int, default=0)
    args = parser.parse_args()

    runs = [(given.split("=", 1)[0], read_run(given.split("=", 1)[1])) for given in args.run]
    exe_size = os.path.getsize(args.exe)
    header = ["figure", "netset median [min–max]", "baseline median [min–max]", "ratio of medians",
              "ratio of fastest", "target", "verdict"]
    rows = figure_rows(runs, exe_size)
    owners, sections = map_tables(args.map)
    owner_header = ["library or object", "bytes loaded", "bytes of debug info", "total"]
    owner_rows = [(name, loaded, debug, loaded + debug) for name, (loaded, debug) in owners[:10]]
    section_header = ["output section", "bytes (file-aligned)"]
    section_rows = [(name, size) for name, size in sections]

    notes = []
    if args.cores and args.load >= args.cores:
        notes.append(f"the machine was busy (load {args.load:.2f} on {args.cores} cores): times on the clock are "
                     "stretched and medians with them; the ratio of the fastest runs is the steadier figure")
    for name, run in runs:
        for program, finals in run["final"].items():
            if not all(finals):
                notes.append(f"{name}: {program}'s report changed after its window showed in "
                             f"{finals.count(False)} of {len(finals)} runs")
        notes += [f"{name}: {n}" for n in run["notes"] if not n.startswith("adapters")]

    print()
    print(f"netset bench under wine64{args.rounds}")
    print(text_table(header, rows))
    print()
    print(f"where the {exe_size / 1024:.1f} KiB of {args.exe} come from (linker map, top 10 of {len(owners)}):")
    print(text_table(owner_header, owner_rows))
    print()
    print(text_table(section_header, section_rows))
    for note in notes:
        print("note:", note)

    with open(args.markdown, "w", encoding="utf-8") as out:
        out.write(f"Figures of `make bench` under wine64{args.rounds}.\n\n")
        out.write(markdown_table(header, rows) + "\n\n")
        out.write(f"Where the shipped program's bytes come from (linker map, top 10):\n\n")
        out.write(markdown_table(owner_header, owner_rows) + "\n\n")
        out.write(markdown_table(section_header, section_rows) + "\n")
        for note in notes:
            out.write(f"\nNote: {note}\n")


if __name__ == "__main__":
    main()
