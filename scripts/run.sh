#!/usr/bin/env bash
# Starts the test build of netset under wine64 with code page 936 on this machine's own adapters.
# With a display it opens there; without one it runs on Xvfb, prints the report box's text and
# saves a screenshot (build/run-screenshot.png), then closes the program.
set -euo pipefail
cd "$(dirname "$0")/.."
exe=$PWD/build/x64/netset.exe
peek=$PWD/build/x64/tests/wine/peek.exe
export NETSET_BED_CACHE=$PWD/build/run-bed NETSET_BED_LAYOUT=host
[ -d "$NETSET_BED_CACHE/prefix" ] || tests/bed/bed.sh --make-prefix

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec env WINEPREFIX="$NETSET_BED_CACHE/prefix" LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 WINEDEBUG=-all \
    WINEDLLOVERRIDES="mscoree,mshtml=" /usr/lib/wine/wine64 "$exe"
fi

shot=$PWD/build/run-screenshot.png
tests/bed/bed.sh bash -c '
  "$WINE" "$1" & program=$!
  "$WINE" "$2" report > "$NETSET_BED_WORK/report.txt"
  sleep 1
  import -window root "$3"
  "$WINE" "$2" close
  wait $program
  iconv -f CP936 -t UTF-8 "$NETSET_BED_WORK/report.txt" | tr -d "\r"
' run "$exe" "$peek" "$shot"
echo "screenshot: $shot"
