#!/usr/bin/env bash
# Fuzzes with libFuzzer: the MIDI file reader, or loading and playing a style.
#   fuzz/run-fuzz.sh [seconds] [midifile|load_style]     default 600 midifile
# Builds in build-fuzz with clang, writes the seed corpus into fuzz/corpus/
# (kept between runs, not committed), and leaves any crashing input in
# fuzz/artifacts/. Exits non-zero when libFuzzer found a problem.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
target="${2:-midifile}"
case "$target" in
    midifile|load_style) ;;
    *) echo "unknown target: $target (midifile or load_style)" >&2; exit 2 ;;
esac

VORNEL_SETUP_FUZZ=1 scripts/setup.sh
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DVORNEL_FUZZ=ON >/dev/null
cmake --build build-fuzz --target "fuzz_${target}" fuzz_seed_writer -j2

corpus="fuzz/corpus/${target}"
mkdir -p "$corpus" fuzz/artifacts
build-fuzz/fuzz/fuzz_seed_writer "$corpus"

log="build-fuzz/fuzz-${target}.log"
set +e
"build-fuzz/fuzz/fuzz_${target}" "$corpus" \
    -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=262144 -timeout=10 \
    -dict=fuzz/midifile.dict -artifact_prefix=fuzz/artifacts/ -print_final_stats=1 \
    >"$log" 2>&1
status=$?
set -e
grep -E '^#[0-9]+' "$log" | tail -n 1 || true

grep -E '^(==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written)' "$log" || true
executions=$(grep -oE 'stat::number_of_executed_units: [0-9]+' "$log" | grep -oE '[0-9]+$' || echo 0)
echo "executions: ${executions}  seconds: ${seconds}  libFuzzer exit status: ${status}"
exit "$status"
