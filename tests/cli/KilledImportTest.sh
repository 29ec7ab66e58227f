#!/usr/bin/env bash
# Imports killed with SIGKILL at random moments: once the next command has
# run (and rolled back what it found unfinished), the game folder is exactly
# as before the import or exactly as the finished import leaves it.
# KilledImportTest.sh VEHMIRA WORK_DIR [RUNS]
set -euo pipefail
vehmira=$1 work=$2 runs=${3:-25}
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work"
"$vehmira" demo-game "$work/game" >/dev/null
# A model of a few megabytes (its root chunk is what the import checks), so
# that the import takes long enough to be caught at every stage.
model=$(mktemp "$work/model.XXXXXX")
"$vehmira" --game "$work/game" export 415 --pieces dff -o "$work/cheetah.car" >/dev/null
python3 - "$work/cheetah.car" "$model" <<'PY'
import struct, sys
car = open(sys.argv[1], 'rb').read()
# A chunk of type 0x10 (clump) with its stated size, padded to 6 MiB.
start = car.find(struct.pack('<I', 0x10))
size = struct.unpack_from('<I', car, start + 4)[0]
clump = car[start:start + 12 + size]
open(sys.argv[2], 'wb').write(clump + b'\x55' * (6 * 1024 * 1024 - len(clump)))
PY

# The game's files, journals left out: their ids change from run to run.
state() { (cd "$1" && find . -type f -not -path './vehmira-backups/*' -print0 | sort -z | xargs -0 sha256sum); }

before=$(state "$work/game")
cp -a "$work/game" "$work/done"
"$vehmira" --game "$work/done" import --over 411 --dff "$model" >/dev/null
"$vehmira" --game "$work/done" list >/dev/null
after=$(state "$work/done")
[ "$before" != "$after" ] || fail "the import changed nothing"

# How long one import takes on this machine (sanitizers make it slower).
start=$(date +%s%N)
cp -a "$work/game" "$work/timed"
"$vehmira" --game "$work/timed" import --over 411 --dff "$model" >/dev/null
span=$(awk -v ns="$(( $(date +%s%N) - start ))" 'BEGIN { printf "%.3f", ns / 1e9 * 1.2 }')

seen_before=0 seen_after=0
for run in $(seq 1 "$runs"); do
  rm -rf "$work/run"
  cp -a "$work/game" "$work/run"
  "$vehmira" --game "$work/run" import --over 411 --dff "$model" >/dev/null 2>&1 &
  pid=$!
  # Anywhere from the start to a little past the end of an import here.
  sleep "$(awk -v r="$RANDOM" -v span="$span" 'BEGIN { printf "%.3f", r / 32768 * span }')"
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  "$vehmira" --game "$work/run" list >/dev/null 2>&1 || fail "run $run: the next command failed"
  now=$(state "$work/run")
  if [ "$now" = "$before" ]; then
    seen_before=$((seen_before + 1))
  elif [ "$now" = "$after" ]; then
    seen_after=$((seen_after + 1))
  else
    diff <(echo "$before") <(echo "$now") >&2 || true
    fail "run $run: neither the game before the import nor after it"
  fi
done
echo "killed imports: $seen_before left the game as before, $seen_after as after"
rm -rf "$work"
