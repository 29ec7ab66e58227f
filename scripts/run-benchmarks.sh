#!/usr/bin/env bash
# Runs every benchmark program of a build directory, one after the other.
set -euo pipefail
build=${1:-build/bench}
status=0
for program in "$build"/bench/*Bench; do
  [ -x "$program" ] || continue
  echo "== $(basename "$program")"
  "$program" || status=1
done
exit $status
