#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Vornel need.
# Quiet and quick when everything is already there.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    libfluidsynth-dev librtmidi-dev timgm6mb-soundfont musescore-general-soundfont-small
    qt6-base-dev qt6-translations-l10n
    libgtest-dev libgmock-dev python3-mido
    libebur128-dev
)
if [[ "${VORNEL_SETUP_FUZZ:-0}" == 1 ]]; then
    packages+=(clang libclang-rt-dev)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "Please install as root: ${missing[*]}" >&2; exit 1; }
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
