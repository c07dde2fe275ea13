#!/usr/bin/env bash
# Runs every test of every build tree and ends with one summary line.
set -uo pipefail
cd "$(dirname "$0")/.."
passed=0 failed=0 failing=()
for tree in build/host build/host-sanitize build/fuzz build/x64; do
  [ -d "$tree" ] || continue
  echo "== $tree"
  log=$(mktemp)
  (cd "$tree" && ctest --output-on-failure -j2 2>&1) | tee "$log"
  summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n1)
  if [ -z "$summary" ]; then
    failed=$((failed + 1)); failing+=("$tree: ctest ran nothing")
  else
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
    bad=$(sed -E 's/.*, ([0-9]+) tests? failed.*/\1/' <<<"$summary")
    passed=$((passed + total - bad)); failed=$((failed + bad))
    [ "$bad" = 0 ] || failing+=("$tree: $bad failed")
  fi
  rm -f "$log"
done
echo
echo "== summary"
for line in "${failing[@]}"; do echo "FAILED $line"; done
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
