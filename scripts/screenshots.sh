#!/usr/bin/env bash
# Renews the README's screenshots (docs/images/*.png) after a change to a
# window: starts the real program under a virtual display with a fresh home
# folder, works it as a user would (keys and clicks through xdotool) and
# photographs it with ImageMagick's import. A developer's tool, never part of
# ./test.
#
#   scripts/screenshots.sh [OUT_FOLDER]     # default: docs/images
#
# Installs xvfb, xdotool and imagemagick if they are missing (Debian,
# apt-get), and PulseAudio when it can: with a silent PulseAudio sink the
# built-in synthesizer opens as on a desktop; without one the pictures show
# the no-sound status line instead.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/images}")
mkdir -p "$out"

packages=(xvfb xauth xdotool imagemagick pulseaudio)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [[ ${#missing[@]} -gt 0 ]]; then
    sudo=()
    [[ $(id -u) -ne 0 ]] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
fi

"$root/scripts/setup.sh"
[[ -f "$root/build/build.ninja" ]] || cmake -S "$root" -B "$root/build" -G Ninja >/dev/null
cmake --build "$root/build" --target vornel >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
home="$work/home"
mkdir -p "$home/Styles" "$home/.config/Halvex"
/usr/bin/python3 "$root/scripts/make-style.py" "$home/Styles/Demo.sty" --dense --seed 6
# English, and the file chooser already in the folder of the demo style
# (drive list position 1 is the home folder).
cat >"$home/.config/Halvex/Halvex.conf" <<EOF
[Setup]
Lang=1

[Dirs]
Drive=1
Dir=$home/Styles
EOF

cat >"$work/session.sh" <<'EOF'
# Runs inside the virtual display. Positions are those of the player
# window's fixed layout at the display's origin (there is no window manager).
set -euo pipefail
root=$1 out=$2 home=$3
export HOME=$home XDG_RUNTIME_DIR=$home/run
mkdir -p "$XDG_RUNTIME_DIR"
if command -v pulseaudio >/dev/null; then
    pulseaudio --daemonize=yes --exit-idle-time=-1 --disallow-exit \
        --load="module-null-sink sink_name=silent" --load=module-native-protocol-unix 2>/dev/null || true
fi
"$root/build/bin/vornel" >/dev/null 2>&1 &
vornel=$!
trap 'kill $vornel 2>/dev/null || true; pulseaudio --kill 2>/dev/null || true' EXIT
shot() { sleep "${2:-0.5}"; import -window "$1" "$out/$3"; }

setup=$(xdotool search --sync --onlyvisible --name "Device and Language Selection" | head -1)
shot "$setup" 1 setup.png
xdotool key Return                              # Ok
sleep 1.5
if xdotool search --name "Open MIDI Output port" >/dev/null; then
    xdotool key Return                          # no audio output: the message's Ok
    sleep 0.5
fi
player=$(xdotool search --sync --onlyvisible --name "^Vornel$" | head -1)
xdotool mousemove 20 8 click 1                  # Open ..
xdotool search --sync --name "^Open - MIDI" >/dev/null
sleep 0.5
xdotool mousemove 360 29 click --repeat 2 --delay 80 1   # double-click Demo.sty
sleep 2
xdotool mousemove 412 8 click 1                 # Play
sleep 1
xdotool key h                                   # A major
xdotool mousemove 440 183 click 1 click 1 click 1        # tempo +3
sleep 3.5                                       # past the bar line that takes the chord
shot "$player" 0.1 player.png
EOF
xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/session.sh" "$root" "$out" "$home"
echo "Screenshots in $out:"
ls "$out"
