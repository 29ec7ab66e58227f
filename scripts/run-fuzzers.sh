#!/usr/bin/env bash
# Runs every libFuzzer harness of build/fuzz for FUZZ_SECONDS (default 60) each,
# on a copy of its seed corpus (fuzz/corpus/<target> is never written), and
# prints executions and coverage per target. Fails when a harness exits
# non-zero or leaves a crash-, leak-, timeout- or oom- file.
#
#   scripts/run-fuzzers.sh [build directory]       (default build/fuzz)
#   FUZZ_TARGETS="gxt dir"   only these harnesses
#   FUZZ_RUNS=N              stop each after N executions as well (libFuzzer -runs)
set -uo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/fuzz}"
seconds="${FUZZ_SECONDS:-60}"
targets="${FUZZ_TARGETS:-gxt gxt_main_table dir archive_layout archive_placement car vehicles_ide text_lines keyed_merge manifest saved_bytes restored_archive renderware_root texture_dictionary model_summary model_render vehicle_check game_dat carmods}"
work="$build/fuzz-runs"

# The longest input worth trying per harness: a little above its largest seed.
max_len() {
    case "$1" in
    car) echo 16384 ;;
    dir | archive_layout | archive_placement) echo 8192 ;;
    texture_dictionary | model_summary | vehicle_check) echo 16384 ;;
    renderware_root) echo 64 ;;
    saved_bytes | manifest) echo 2048 ;;
    *) echo 4096 ;;
    esac
}

failed=()
summary=()
for target in $targets; do
    binary="$build/fuzz/fuzz_$target"
    if [ ! -x "$binary" ]; then
        echo "run-fuzzers: $binary is missing (cmake --build --preset fuzz)" >&2
        failed+=("$target")
        continue
    fi
    run="$work/$target"
    rm -rf "$run"
    mkdir -p "$run/corpus" "$run/artifacts"
    cp -R "$root/fuzz/corpus/$target/." "$run/corpus/" 2>/dev/null || true
    options=(-max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 -malloc_limit_mb=2048
             -max_len="$(max_len "$target")" -print_final_stats=1 -artifact_prefix="$run/artifacts/")
    [ -f "$root/fuzz/dict/$target.dict" ] && options+=(-dict="$root/fuzz/dict/$target.dict")
    [ -n "${FUZZ_RUNS:-}" ] && options+=(-runs="$FUZZ_RUNS")

    echo "== fuzz_$target: ${seconds}s"
    "$binary" "${options[@]}" "$run/corpus" >"$run/log.txt" 2>&1
    status=$?
    findings=$(find "$run/artifacts" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
        -o -name 'oom-*' \) | wc -l)
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$run/log.txt" | tail -n 1)
    coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$run/log.txt" | tail -n 1)
    line="$(printf '%-16s exit %-3s executions %-10s %-22s findings %s' "$target" "$status" "${executions:-?}" \
        "${coverage:-cov: ? ft: ?}" "$findings")"
    echo "$line"
    summary+=("$line")
    if [ "$status" -ne 0 ] || [ "$findings" -ne 0 ]; then
        failed+=("$target")
        echo "-- fuzz_$target failed; its log: $run/log.txt" >&2
        grep -E 'ERROR|Broken invariant|SUMMARY|Test unit written' "$run/log.txt" | head -n 20 >&2
    fi
done

echo
echo "== fuzzing summary (${seconds}s per target)"
printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -ne 0 ]; then
    echo "run-fuzzers: findings or failures in: ${failed[*]}" >&2
    exit 1
fi
