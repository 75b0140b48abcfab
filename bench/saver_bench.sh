#!/usr/bin/env bash
# The running saver's costs on a 1920 x 1080 virtual screen, printed as "name: value" lines:
#   first_frame_ms           start of "Brinewave3 /s" (fresh settings) to the first frame shown
#   cpu_core_fraction_1080p  the saver's CPU time per second of wall time over a 20-second run,
#                            the scene drawn anew every frame (TunePC 1), first-run notices seen
#   cpu_core_fraction_1080p_first_run  the same with the factory settings and the first-run
#                            notices on screen (the scene drawn anew every sixth frame)
#   xserver_core_fraction_1080p[_first_run]  the X server's CPU over the same runs: on X11 it
#                            enlarges the scene to the screen (BRINEWAVE3_SCALING=client: we do)
# Usage: bench/saver_bench.sh [build folder]   (default: build)
set -euo pipefail
build=${1:-build}
program=$build/Brinewave3/Brinewave3
[[ -x $program ]] || { echo "no $program: build first" >&2; exit 1; }

work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work
export SDL_AUDIODRIVER=dummy
# Xvfb picks a free display number itself and writes it once it accepts clients.
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do grep -qx '[0-9]\+' "$work/display" 2>/dev/null && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")"

# Start-up: best of three fresh starts.
best=""
for run in 1 2 3; do
    rm -rf "$work/config"
    : >"$work/err"
    BRINEWAVE3_BENCH=$(date +%s%3N) "$program" /s 2>"$work/err" &
    pid=$!
    for _ in $(seq 100); do grep -q first_frame_ms "$work/err" && break; sleep 0.05; done
    kill "$pid"; wait "$pid" 2>/dev/null || true
    ms=$(sed -n 's/^first_frame_ms: //p' "$work/err" || true)
    [[ -n $ms ]] && { [[ -z $best || $ms -lt $best ]] && best=$ms; }
done
echo "first_frame_ms: ${best:-none}"

# CPU time of the saver process over 20 seconds at 60 frames a second.
ticks=$(getconf CLK_TCK)
# Prints the saver's share of a core, then the X server's over the same time.
cpu_fraction() {
    "$program" /s 2>/dev/null &
    local pid=$!
    sleep 3
    local before after start end server_before server_after
    before=$(awk '{print $14 + $15}' "/proc/$pid/stat"); start=$(date +%s%N)
    server_before=$(awk '{print $14 + $15}' "/proc/$xvfb/stat")
    sleep 20
    after=$(awk '{print $14 + $15}' "/proc/$pid/stat"); end=$(date +%s%N)
    server_after=$(awk '{print $14 + $15}' "/proc/$xvfb/stat")
    kill "$pid"; wait "$pid" 2>/dev/null || true
    awk -v c=$((after - before)) -v x=$((server_after - server_before)) -v t="$ticks" \
        -v ns=$((end - start)) \
        'BEGIN { printf "%.3f %.3f\n", (c / t) / (ns / 1e9), (x / t) / (ns / 1e9) }'
}
ini=$XDG_CONFIG_HOME/Brinewave3/Brinewave3.ini
read -r first_run first_run_server <<<"$(cpu_fraction)"
sed -i -e 's/^TunePC=.*/TunePC=1/' -e 's/^\(TuneScrSvr\|RunMonitor\|PwrMsg\)=.*/\1=True/' "$ini"
read -r steady steady_server <<<"$(cpu_fraction)"
echo "cpu_core_fraction_1080p: $steady"
echo "cpu_core_fraction_1080p_first_run: $first_run"
echo "xserver_core_fraction_1080p: $steady_server"
echo "xserver_core_fraction_1080p_first_run: $first_run_server"
