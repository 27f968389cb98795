#!/usr/bin/env bash
# Runs every benchmark of a Release build; each prints "bench: NAME value=X target=Y".
set -euo pipefail
build=${1:?build folder}
status=0
for b in "$build"/bench/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" || status=1
done
exit $status
