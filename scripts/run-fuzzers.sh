#!/usr/bin/env bash
# Runs every fuzz target of a built fuzz tree for FUZZ_SECONDS seconds (default 5) on its seeds, at most
# FUZZ_JOBS targets at once (default 3). New inputs go to <tree>/corpus, crashes to <tree>/artifacts.
# Usage: scripts/run-fuzzers.sh [tree] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
tree=${1:-build/fuzz}
shift || true
seconds=${FUZZ_SECONDS:-5}
jobs=${FUZZ_JOBS:-3}
binary="$PWD/$tree/fuzz/orvel_fuzz"
[ -x "$binary" ] || { echo "No fuzz binary at $binary; run make fuzz." >&2; exit 1; }

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    mapfile -t targets < <(ORVEL_FUZZ_TARGET=--list "$binary")
fi
mkdir -p "$tree/targets" "$tree/corpus" "$tree/artifacts" "$tree/logs"
for name in "${targets[@]}"; do
    [ -d "fuzz/seeds/$name" ] || { echo "fuzz target $name has no seeds in fuzz/seeds/$name" >&2; exit 1; }
    ln -sf "$binary" "$tree/targets/fuzz_$name"
done

# Fixtures of the tests that a target reads as further seeds.
extra_seeds() {
    case "$1" in
    grd|xtb|xmltree) echo tests/fixtures/reference/chromium ;;
    normalizer|validation|masking|markers|specifiers) echo tests/fixtures/model/prompts ;;
    esac
}

run_one() {
    local name=$1
    local corpus="$tree/corpus/$name" log="$tree/logs/$name.log"
    mkdir -p "$corpus"
    # -timeout: one input taking longer is a hang; -rss_limit_mb: one run holding more is a memory bomb.
    if ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1 \
        "$tree/targets/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$tree/artifacts/$name-" -print_final_stats=1 \
        "$corpus" "fuzz/seeds/$name" $(extra_seeds "$name") >"$log" 2>&1; then
        echo "fuzz_$name: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$') runs, no finding"
    else
        echo "fuzz_$name FAILED; the end of $log:"
        tail -n 40 "$log"
        return 1
    fi
}
export -f run_one extra_seeds
export tree seconds

printf '%s\n' "${targets[@]}" | xargs -P "$jobs" -I{} bash -c 'run_one "$@"' _ {}
