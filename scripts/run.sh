#!/usr/bin/env bash
# Sets up, builds and runs the aquarium. Without a display it runs on a virtual screen for a
# few seconds and saves a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh default

program=build/Brinewave3/Brinewave3
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
    exec "$program" /s
fi

shot=$PWD/build/screenshot.png
echo "No display: running the aquarium on a virtual 800x600 screen for 8 seconds."
export BW_PROGRAM=$PWD/$program BW_SHOT=$shot BW_GRAB=$PWD/build/bw-grab
export XDG_CONFIG_HOME=${XDG_CONFIG_HOME:-$HOME/.config}
xvfb-run -a -s "-screen 0 800x600x24" bash -c '
    "$BW_PROGRAM" /s & pid=$!
    sleep 8
    "$BW_GRAB" "$BW_SHOT"
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true'
echo "Screenshot: $shot"
