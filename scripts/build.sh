#!/usr/bin/env bash
# Configures and builds one build folder. Configuring again is quick when
# nothing changed, and it makes sure the options given here are the ones used.
# Usage: scripts/build.sh <folder> [extra cmake -D options...]
set -euo pipefail
dir=$1; shift
cmake -S . -B "$dir" -G Ninja -DVORNEL_WERROR=ON "$@" >/dev/null
cmake --build "$dir"
