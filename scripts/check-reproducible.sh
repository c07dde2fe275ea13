#!/usr/bin/env bash
# Builds the shipped exe of the current commit twice, from two clones at different paths, and
# compares the bytes: no time stamps and no build paths may reach the file.
set -euo pipefail
cd "$(dirname "$0")/.."
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for side in first second-at-a-longer-path; do
  git clone -q . "$scratch/$side"
  cmake -S "$scratch/$side" -B "$scratch/$side/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
  cmake --build "$scratch/$side/build" --target netset >/dev/null
done
a=$scratch/first/build/netset.exe b=$scratch/second-at-a-longer-path/build/netset.exe
if cmp -s "$a" "$b"; then
  echo "reproducible: $(sha256sum < "$a" | cut -c1-64) ($(stat -c %s "$a") bytes)"
else
  echo "NOT reproducible: the two builds differ" >&2
  cmp -l "$a" "$b" | head >&2
  exit 1
fi
