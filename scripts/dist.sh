#!/usr/bin/env bash
# Packs the shipped 32-bit program for download: dist/netset-<version>-x86.zip with the exe, the
# README and a SHA256SUMS. The version is the project's one (CMakeLists.txt), the same the exe's
# version resource carries. Fixed timestamps and order: the same commit gives the same zip.
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(sed -nE 's/^project\(netset VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "dist: no version in CMakeLists.txt" >&2; exit 1; }
test -f build/x86/build.ninja || cmake -S . -B build/x86 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build build/x86 --target netset >/dev/null

name=netset-$version-x86
stage=build/dist/$name
rm -rf "$stage" && mkdir -p "$stage" dist
cp build/x86/netset.exe README.md "$stage/"
(cd "$stage" && sha256sum netset.exe README.md > SHA256SUMS)
find "$stage" -exec touch -h -d '2000-01-01 00:00:00 UTC' {} +
rm -f "dist/$name.zip"
(cd build/dist && TZ=UTC zip -q -X -D "../../dist/$name.zip" "$name/netset.exe" "$name/README.md" "$name/SHA256SUMS")
sha256sum "dist/$name.zip"
