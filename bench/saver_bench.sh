#!/usr/bin/env bash
# The running saver's costs on virtual screens of 1920 x 1080, 3840 x 2160 and 5120 x 1440,
# printed as "name: value" lines (SIZE is 1080p, 2160p or 5120x1440); the aquarium fills the
# screens (BENCH_FILL=0: the 4:3 scene with bars, as "Fill wide screens" off shows it), and
# BENCH_SIZES names other screens:
#   first_frame_ms[_SIZE]            start of "Brinewave3 /s" to the first frame shown, best of
#                                    three; without crisp art in the cache (the art generator
#                                    is then started), and _cached with the set for the screen
#   cpu_core_fraction_SIZE           the saver's CPU time per second of wall time over a
#                                    20-second run with crisp art, the scene drawn anew every
#                                    frame (TunePC 1), first-run notices seen
#   xserver_core_fraction_SIZE       the X server's CPU over the same run
#   cpu_core_fraction_SIZE_first_run, xserver_core_fraction_SIZE_first_run
#                                    the same with the factory settings and the first-run
#                                    notices on screen (the scene drawn anew every sixth frame)
#   peak_rss_mb_SIZE                 the saver's peak resident memory over those runs (MiB)
#   cache_fill_s_SIZE, cache_mb_SIZE the art generator's time (wall, on an idle machine) and
#                                    the size of the set it leaves (the screen's frame's set)
#   sharpness_2160p                  sharpness (bench/Sharpness.h) of the screen with crisp
#                                    art over that with the enlarged 800 x 600 frame
# The X server enlarges or copies the frame (BRINEWAVE3_SCALING=client: we do it).
# Usage: bench/saver_bench.sh [build folder]   (default: build)
set -euo pipefail
build=${1:-build}
program=$build/Brinewave3/Brinewave3
generator=$build/Brinewave3/brinewave3-artgen
sharpness=$build/bench/brinewave3-screen-sharpness
for tool in "$program" "$generator" "$sharpness"; do
    [[ -x $tool ]] || { echo "no $tool: build first" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb=
stop_fills() { pkill -f -- "--cache-fill [0-9x]* $work/" 2>/dev/null || true; }
trap '[[ -n $xvfb ]] && kill $xvfb 2>/dev/null; stop_fills; rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run
export XDG_CACHE_HOME=$work/cache
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
export SDL_AUDIODRIVER=dummy
ini=$XDG_CONFIG_HOME/Brinewave3/Brinewave3.ini
ticks=$(getconf CLK_TCK)

start_screen() {
    [[ -n $xvfb ]] && { kill $xvfb; wait $xvfb 2>/dev/null || true; }
    # Xvfb picks a free display number itself and writes it once it accepts clients.
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do grep -qx '[0-9]\+' "$work/display" 2>/dev/null && break; sleep 0.1; done
    export DISPLAY=":$(head -n 1 "$work/display")"
}

# Best of three fresh starts (fresh settings each time).
first_frame() {
    local best="" run ms pid
    for run in 1 2 3; do
        factory_settings
        : >"$work/err"
        BRINEWAVE3_BENCH=$(date +%s%3N) "$program" /s 2>"$work/err" &
        pid=$!
        for _ in $(seq 100); do grep -q first_frame_ms "$work/err" && break; sleep 0.05; done
        kill "$pid"; wait "$pid" 2>/dev/null || true
        ms=$(sed -n 's/^first_frame_ms: //p' "$work/err" || true)
        [[ -n $ms ]] && { [[ -z $best || $ms -lt $best ]] && best=$ms; }
    done
    echo "${best:-none}"
}

# Prints the saver's share of a core, the X server's over the same time, and the saver's peak
# resident memory in MB.
cpu_fraction() {
    "$program" /s 2>/dev/null &
    local pid=$!
    sleep 5  # started, and the crisp art swapped in
    local before after start end server_before server_after peak
    before=$(awk '{print $14 + $15}' "/proc/$pid/stat"); start=$(date +%s%N)
    server_before=$(awk '{print $14 + $15}' "/proc/$xvfb/stat")
    sleep 20
    after=$(awk '{print $14 + $15}' "/proc/$pid/stat"); end=$(date +%s%N)
    server_after=$(awk '{print $14 + $15}' "/proc/$xvfb/stat")
    peak=$(awk '/^VmHWM:/ {print int($2 / 1024)}' "/proc/$pid/status")
    kill "$pid"; wait "$pid" 2>/dev/null || true
    awk -v c=$((after - before)) -v x=$((server_after - server_before)) -v t="$ticks" \
        -v ns=$((end - start)) -v peak="$peak" \
        'BEGIN { printf "%.3f %.3f %d\n", (c / t) / (ns / 1e9), (x / t) / (ns / 1e9), peak }'
}

fill=${BENCH_FILL:-1}
# Settings as a first start writes them (with wide screens filled or not).
factory_settings() {
    rm -rf "$XDG_CONFIG_HOME"
    "$program" /a & local pid=$!
    for _ in $(seq 100); do [[ -s $ini ]] && break; sleep 0.1; done
    kill "$pid"; wait "$pid" 2>/dev/null || true
    sed -i -e "s/^FillWide=.*/FillWide=$fill/" "$ini"
}
# The same with the first-run notices seen and TunePC 1.
steady_settings() {
    factory_settings
    sed -i -e 's/^TunePC=.*/TunePC=1/' -e 's/^\(TuneScrSvr\|RunMonitor\|PwrMsg\)=.*/\1=True/' "$ini"
}

screen_sharpness() { "$sharpness" "$@" | sed -n 's/^sharpness: //p'; }

for size in ${BENCH_SIZES:-1920x1080 3840x2160 5120x1440}; do
    lines=${size#*x}
    width=${size%x*}
    case $size in 1920x1080 | 3840x2160) name=${lines}p ;; *) name=$size ;; esac
    # The frame's set: a 4:3 frame's is named by its height, a wide one's by its size.
    frame=$lines
    (( fill == 1 && width * 3 > lines * 4 )) && frame=$size
    start_screen "$size"
    rm -rf "$XDG_CACHE_HOME"
    factory_settings
    echo "first_frame_ms_$name: $(first_frame)"
    stop_fills
    rm -rf "$XDG_CACHE_HOME"
    if [[ $lines == 2160 ]]; then
        # The enlarged 800 x 600 frame, as it shows before the crisp set exists.
        steady_settings
        "$program" /s 2>/dev/null & pid=$!
        sleep 4
        enlarged=$(screen_sharpness "$work/enlarged.png")
        kill "$pid"; wait "$pid" 2>/dev/null || true
        stop_fills
        rm -rf "$XDG_CACHE_HOME"
    fi
    start=$(date +%s%N)
    "$generator" --cache-fill "$frame" "$XDG_CACHE_HOME/Brinewave3"
    echo "cache_fill_s_$name: $(awk -v ns=$(($(date +%s%N) - start)) 'BEGIN { printf "%.1f", ns / 1e9 }')"
    echo "cache_mb_$name: $(du -sm "$XDG_CACHE_HOME/Brinewave3/$frame" | cut -f1)"
    echo "first_frame_ms_${name}_cached: $(first_frame)"
    # Factory settings: the first-run notices, the scene drawn anew every sixth frame.
    factory_settings
    read -r cpu server first_run_peak <<<"$(cpu_fraction)"
    echo "cpu_core_fraction_${name}_first_run: $cpu"
    echo "xserver_core_fraction_${name}_first_run: $server"
    steady_settings
    read -r cpu server peak <<<"$(cpu_fraction)"
    echo "cpu_core_fraction_$name: $cpu"
    echo "xserver_core_fraction_$name: $server"
    echo "peak_rss_mb_$name: $((peak > first_run_peak ? peak : first_run_peak))"
    if [[ $lines == 2160 ]]; then
        "$program" /s 2>/dev/null & pid=$!
        sleep 5
        crisp=$(screen_sharpness "$work/crisp.png")
        kill "$pid"; wait "$pid" 2>/dev/null || true
        echo "sharpness_2160p: $(awk -v c="$crisp" -v e="$enlarged" 'BEGIN { printf "%.2f", c / e }')"
        echo "sharpness_2160p_crisp: $crisp"
        echo "sharpness_2160p_enlarged: $enlarged"
    fi
done
