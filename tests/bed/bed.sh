#!/usr/bin/env bash
# The test bed: runs a Windows program (or any command) under wine64 with code page 936, on a
# 1024x768 Xvfb display, in a network namespace of its own whose adapters the caller chooses, with
# a private copy of a fresh Wine prefix. Everything it starts is gone when it returns.
#
#   bed.sh --make-prefix           make the template prefix for this test run (once)
#   bed.sh PROGRAM.exe [ARGS...]   run a Windows program; exits with its exit code
#   bed.sh COMMAND [ARGS...]       run a command inside the bed ($WINE names wine64)
#
# NETSET_BED_LAYOUT     adapters: "three" (default), "none", "many:N", or "host" (no namespace:
#                       the machine's own adapters, for looking at the program, never for tests)
# NETSET_BED_OVERRIDES  more WINEDLLOVERRIDES entries, e.g. "iphlpapi=d"
# NETSET_BED_CACHE      where the template prefix lives (default /tmp/netset-bed-$UID)
# The program sees NETSET_BED_<NAME>_INDEX/_MAC/_IP for each adapter NAME (LAN0, LAN1, ...).
set -euo pipefail

WINE=${WINE:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}
cache=${NETSET_BED_CACHE:-/tmp/netset-bed-$(id -u)}
template=$cache/prefix
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 WINEDEBUG=${WINEDEBUG:--all} WINEARCH=win64

make_prefix() {
  mkdir -p "$cache"
  exec 9>"$cache/lock"
  flock 9
  rm -rf "$template" "$template.new"
  # No Mono or Gecko: nothing here is fetched.
  WINEPREFIX=$template.new WINEDLLOVERRIDES="mscoree,mshtml=" "$WINE" wineboot -i >/dev/null 2>&1
  local reg=(env WINEPREFIX="$template.new" "$WINE" reg add)
  # The form asks for 微软雅黑; Wine has no such font, so name the CJK font that is installed.
  "${reg[@]}" 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v 微软雅黑 /d 'WenQuanYi Micro Hei' /f >/dev/null
  # One virtual desktop of the screen's size: Wine draws the frames and title bars itself, as
  # Windows would, with no window manager.
  "${reg[@]}" 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
  "${reg[@]}" 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null
  # A crashing test program ends; it does not wait at Wine's crash dialog.
  "${reg[@]}" 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null
  WINEPREFIX=$template.new "$WINESERVER" -w
  mv "$template.new" "$template"
}

if [ "${1:-}" = --make-prefix ]; then
  make_prefix
  exit 0
fi
[ $# -gt 0 ] || { echo "usage: bed.sh --make-prefix | PROGRAM [ARGS...]" >&2; exit 2; }
[ -d "$template" ] || make_prefix

id=netset-$$-$RANDOM
work=$(mktemp -d "/tmp/$id.XXXX")
ns=$id peer=$id-peer xvfb_pid=
layout=${NETSET_BED_LAYOUT:-three}
inside=(ip netns exec "$ns")
[ "$layout" = host ] && inside=()
cleanup() {
  if [ -d "$work/prefix" ]; then
    "${inside[@]}" env WINEPREFIX="$work/prefix" "$WINESERVER" -k >/dev/null 2>&1 || true
  fi
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  ip netns del "$ns" 2>/dev/null || true
  ip netns del "$peer" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

cp -a "$template" "$work/prefix"

# Adapters: veth pairs whose other ends live in a second namespace, so the program sees exactly
# these. Documentation addresses only; nothing leaves the namespace.
if [ "$layout" != host ]; then
  ip netns add "$ns"
  ip netns add "$peer"
  ip -n "$ns" link set lo up
fi
add_adapter() {  # NAME MAC [ADDRESS/PREFIX...]
  local name=$1 mac=$2
  shift 2
  ip -n "$ns" link add "$name" type veth peer name "p$name"
  ip -n "$ns" link set "p$name" netns "$peer"
  ip -n "$ns" link set "$name" address "$mac"
  for address in "$@"; do ip -n "$ns" addr add "$address" dev "$name"; done
  ip -n "$ns" link set "$name" up
  ip -n "$peer" link set "p$name" up
  local upper=${name^^}
  export "NETSET_BED_${upper}_INDEX=$(ip -n "$ns" -o link show "$name" | cut -d: -f1)"
  export "NETSET_BED_${upper}_MAC=$mac"
  export "NETSET_BED_${upper}_IP=${1:-}"
}
case $layout in
  none | host) ;;
  three)
    add_adapter lan0 02:00:5e:10:00:01 192.0.2.10/24 192.0.2.11/24
    ip -n "$ns" route add default via 192.0.2.1 dev lan0
    add_adapter lan1 02:00:5e:10:00:02 198.51.100.20/24
    add_adapter lan2 02:00:5e:10:00:03
    ;;
  many:*)
    for ((i = 0; i < ${layout#many:}; i++)); do
      add_adapter "lan$i" "$(printf '02:00:5e:20:%02x:%02x' $((i / 256)) $((i % 256)))" "203.0.113.$((i % 250 + 1))/24"
    done
    ;;
  *) echo "bed.sh: unknown layout $layout" >&2; exit 2 ;;
esac

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=:$(head -n1 "$work/display")
export WINEPREFIX=$work/prefix WINE WINESERVER NETSET_BED_WORK=$work
export WINEDLLOVERRIDES="mscoree,mshtml=${NETSET_BED_OVERRIDES:+;$NETSET_BED_OVERRIDES}"

status=0
case $1 in
  *.exe | *.EXE) "${inside[@]}" "$WINE" "$@" || status=$? ;;
  *) "${inside[@]}" "$@" || status=$? ;;
esac
exit $status
