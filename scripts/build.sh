#!/usr/bin/env bash
# Configures (once) and builds one build folder.
# Usage: scripts/build.sh <folder> [extra cmake -D options...]
set -euo pipefail
dir=$1; shift
if [[ ! -f "$dir/build.ninja" ]]; then
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
fi
cmake --build "$dir"
