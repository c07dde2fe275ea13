#!/usr/bin/env bash
# make bench: netset against the baseline program, side by side under wine64 in the test bed,
# with the bed's three adapters and with 64; then the apply path and the shipped program's size.
# Expects build/bench-x64 (with tests/bench) and build/bench-x86 built; the Makefile does that.
# Prints one table and writes it to build/bench-results.md.
#   NETSET_BENCH_ROUNDS  start-ups of each program per layout (default 25)
#   NETSET_BENCH_APPLY   clicks of 设置 timed (default 15; 0 leaves the apply path out)
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${NETSET_BENCH_ROUNDS:-25}
applies=${NETSET_BENCH_APPLY:-15}
x64=$PWD/build/bench-x64
x86=$PWD/build/bench-x86
results=$PWD/build/bench-results
for file in "$x64/netset.exe" "$x64/bench/bench_baseline.exe" "$x64/bench/bench_measure.exe" \
  "$x64/bench/bench_wscript.exe" "$x86/netset.exe" "$x86/netset.map"; do
  [ -f "$file" ] || { echo "bench: $file is missing; run make bench" >&2; exit 2; }
done
rm -rf "$results"
mkdir -p "$results"

# A prefix template of the bench's own: the Wine tests remake theirs while they run.
export NETSET_BED_CACHE=$PWD/build/bench-bed
[ -d "$NETSET_BED_CACHE/prefix" ] || tests/bed/bed.sh --make-prefix
# The stand-in replaces the system's script host; Wine runs it instead of its own when told to.
export NETSET_BED_OVERRIDES=wscript.exe=n

# Inside the bed: both programs from one folder of the run's own (where netset also writes its
# script), the stand-in in place of wscript.exe, then the driver.
inside='
set -e
folder=$NETSET_BED_WORK/bench
mkdir -p "$folder"
cp "$1/netset.exe" "$1/bench/bench_baseline.exe" "$folder/"
cp "$1/bench/bench_wscript.exe" "$WINEPREFIX/drive_c/windows/system32/wscript.exe"
windows="Z:${folder//\//\\}"
"$WINE" "$1/bench/bench_measure.exe" --netset "$windows\\netset.exe" --baseline "$windows\\bench_baseline.exe" \
  --runs "$2" --apply "$3"
'
run_layout() {  # LAYOUT OUTPUT APPLY_RUNS
  echo "bench: layout $1, $rounds rounds, $3 clicks of apply" >&2
  NETSET_BED_LAYOUT=$1 tests/bed/bed.sh bash -c "$inside" bench "$x64" "$rounds" "$3" >"$2" ||
    echo "bench: the $1 run did not finish cleanly (see $2)" >&2
}
run_layout three "$results/three.txt" "$applies"
run_layout many:64 "$results/many64.txt" 0

python3 tests/bench/bench_report.py \
  --run "3 adapters=$results/three.txt" --run "64 adapters=$results/many64.txt" \
  --exe "$x86/netset.exe" --map "$x86/netset.map" --markdown build/bench-results.md \
  --rounds " ($rounds alternating rounds per layout, $(nproc) cores, load $(cut -d' ' -f1 /proc/loadavg) at the end)" \
  --load "$(cut -d' ' -f1 /proc/loadavg)" --cores "$(nproc)"
echo "bench: table written to build/bench-results.md"
