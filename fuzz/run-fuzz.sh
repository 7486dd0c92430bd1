#!/usr/bin/env bash
# Fuzzes with libFuzzer: the MIDI file reader, loading and playing a style, or
# the help documents' rich-text reader.
#   fuzz/run-fuzz.sh [seconds] [midifile|load_style|rtf|engine_session]     default 600 midifile
# Builds in build-fuzz with clang (VORNEL_FUZZ_BUILD names another folder),
# writes the seed corpus into fuzz/corpus/ (kept between runs, not committed;
# the rich-text seeds are the help documents), and leaves any crashing input
# in fuzz/artifacts/. Exits non-zero when libFuzzer found a problem.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
target="${2:-midifile}"
case "$target" in
    midifile|load_style|rtf|engine_session) ;;
    *) echo "unknown target: $target (midifile, load_style, rtf or engine_session)" >&2; exit 2 ;;
esac
build="${VORNEL_FUZZ_BUILD:-build-fuzz}"

VORNEL_SETUP_FUZZ=1 scripts/setup.sh
CXX=clang++ cmake -S . -B "$build" -G Ninja -DVORNEL_FUZZ=ON >/dev/null

corpus="fuzz/corpus/${target}"
mkdir -p "$corpus" fuzz/artifacts
if [[ "$target" == rtf ]]; then
    cmake --build "$build" --target fuzz_rtf -j2
    cp help/*.rtf "$corpus"/
    dict=(-dict=fuzz/rtf.dict)
elif [[ "$target" == engine_session ]]; then
    # The bytes are choices, not a file: any bytes make a session.
    cmake --build "$build" --target fuzz_engine_session -j2
    head -c 64 /dev/urandom >"$corpus/seed"
    dict=()
else
    cmake --build "$build" --target "fuzz_${target}" fuzz_seed_writer -j2
    "$build/fuzz/fuzz_seed_writer" "$corpus"
    dict=(-dict=fuzz/midifile.dict)
fi

log="$build/fuzz-${target}.log"
set +e
"$build/fuzz/fuzz_${target}" "$corpus" \
    -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=262144 -timeout=10 \
    "${dict[@]}" -artifact_prefix=fuzz/artifacts/ -print_final_stats=1 \
    >"$log" 2>&1
status=$?
set -e
grep -E '^#[0-9]+' "$log" | tail -n 1 || true

grep -E '^(==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written)' "$log" || true
executions=$(grep -oE 'stat::number_of_executed_units: [0-9]+' "$log" | grep -oE '[0-9]+$' || echo 0)
echo "executions: ${executions}  seconds: ${seconds}  libFuzzer exit status: ${status}"
exit "$status"
