#!/usr/bin/env bash
# The full saver as the lock of a Wayland session: headless sway 1.10 (Debian 13's, from the
# chroot the end-to-end tests build; needs root) with one 1920 x 1080 output, crisp art in the
# cache, printed as "name: value" lines:
#   session_locked_ms           start of "Brinewave3 /s" to the session locked, best of three
#   first_frame_ms              start to the first frame shown on the lock, best of three
#   cpu_core_fraction           the saver's CPU time per second of wall time over 20 seconds,
#                               the scene drawn anew every frame (TunePC 1)
#   compositor_core_fraction    sway's over the same time
#   outputs_off_cpu_core_fraction
#                               the saver's over 10 seconds with the outputs switched off
#   takeover_sigsegv_ms, takeover_sigkill_ms
#                               the drawing saver killed while locked, to the aquarium back on
#                               the lock (the first frame of the saver started in its place)
#   x11_cpu_core_fraction, x11_server_core_fraction
#                               the same build on X11 (bench/saver_bench.sh at 1920 x 1080)
# Usage: bench/wayland_bench.sh [build folder]   (default: build)
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
export BW_DATA=$build/Brinewave3
[[ -x $BW_DATA/Brinewave3 ]] || { echo "no $BW_DATA/Brinewave3: build first" >&2; exit 1; }
source "$here/../tests/e2e/lib.sh"
source "$here/../tests/e2e/wayland_lib.sh"
unset DISPLAY
export SDL_AUDIODRIVER=dummy
ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

wayland_prepare_trixie
wayland_start_sway_trixie 1920x1080
sway=${PIDS[-1]}
factory_settings
set_setting TunePC 1
"$BW_DATA/brinewave3-artgen" --cache-fill 1920x1080 "$XDG_CACHE_HOME/Brinewave3" >/dev/null 2>&1

# Starts the saver; its supervisor's pid is in $saver.
start_saver() {
    launched=$(date +%s%3N)
    BRINEWAVE3_BENCH=$launched "$PROGRAM" /s 2>"$TEST_HOME/err" &
    saver=$!
    PIDS+=("$saver")
}
# Unlocks with a key and waits for the saver to end.
end_saver() {
    for _ in $(seq 20); do
        wayland_key Escape
        wait_for_exit "$saver" 1 && return 0
    done
    fail "the saver did not end"
}

best_locked="" best_frame=""
for _ in 1 2 3; do
    start_saver
    for _ in $(seq 100); do grep -q first_frame_ms "$TEST_HOME/err" && break; sleep 0.05; done
    locked=$(sed -n 's/^session_locked_ms: //p' "$TEST_HOME/err")
    frame=$(sed -n 's/^first_frame_ms: //p' "$TEST_HOME/err")
    [[ -n $locked && -n $frame ]] || fail "no figures: $(cat "$TEST_HOME/err")"
    [[ -z $best_locked || $locked -lt $best_locked ]] && best_locked=$locked
    [[ -z $best_frame || $frame -lt $best_frame ]] && best_frame=$frame
    sleep 3  # past the moments in which input is ignored
    end_saver
done
echo "session_locked_ms: $best_locked"
echo "first_frame_ms: $best_frame"

start_saver
sleep 5  # locked, and the crisp art swapped in
drawing=$(pgrep -P "$saver" | head -n 1)
before=$(cpu_ticks "$drawing"); sway_before=$(cpu_ticks "$sway"); start=$(date +%s%N)
sleep 20
after=$(cpu_ticks "$drawing"); sway_after=$(cpu_ticks "$sway"); end=$(date +%s%N)
# The compositor switches the outputs off (DPMS): no frame callbacks come, so nothing is drawn.
wayland_run swaymsg 'output * power off' >/dev/null
sleep 2
off_before=$(cpu_ticks "$drawing"); off_start=$(date +%s%N)
sleep 10
off_after=$(cpu_ticks "$drawing"); off_end=$(date +%s%N)
wayland_run swaymsg 'output * power on' >/dev/null
awk -v c=$((off_after - off_before)) -v t="$ticks" -v ns=$((off_end - off_start)) \
    'BEGIN { printf "outputs_off_cpu_core_fraction: %.3f\n", (c / t) / (ns / 1e9) }'
# The saver started in place of a killed one inherits the launch time it reports against.
for signal in SEGV KILL; do
    frames=$(grep -c first_frame_ms "$TEST_HOME/err")
    drawing=$(pgrep -P "$saver" | head -n 1)
    killed=$(date +%s%3N)
    kill -"$signal" "$drawing"
    for _ in $(seq 200); do
        (( $(grep -c first_frame_ms "$TEST_HOME/err") > frames )) && break
        sleep 0.05
    done
    frame=$(sed -n 's/^first_frame_ms: //p' "$TEST_HOME/err" | tail -n 1)
    (( $(grep -c first_frame_ms "$TEST_HOME/err") > frames )) || fail "no saver after SIG$signal"
    echo "takeover_sig${signal,,}_ms: $((launched + frame - killed))"
done
end_saver
awk -v c=$((after - before)) -v s=$((sway_after - sway_before)) -v t="$ticks" \
    -v ns=$((end - start)) 'BEGIN {
        printf "cpu_core_fraction: %.3f\ncompositor_core_fraction: %.3f\n",
               (c / t) / (ns / 1e9), (s / t) / (ns / 1e9) }'

BENCH_SIZES=1920x1080 "$here/saver_bench.sh" "$build" 2>/dev/null |
    sed -n -e 's/^cpu_core_fraction_1080p: /x11_cpu_core_fraction: /p' \
        -e 's/^xserver_core_fraction_1080p: /x11_server_core_fraction: /p'
