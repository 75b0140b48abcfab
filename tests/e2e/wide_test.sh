#!/usr/bin/env bash
# On a screen wider than 4:3 the aquarium fills it: no black bars, and the sides beside the
# middle 4:3 area show water, wall and floor, with creatures passing. "Fill wide screens" off
# brings the bars back; a 4:3 screen is composed as before; a second monitor of another shape
# shows the same frame fitted to it.
SCREEN_SIZE=3200x1080
source "$(dirname "$0")/lib.sh"
start_screen
factory_settings

# Xvfb changes size only to modes it knows of.
use_size() {
    local mode=$1 width=${1%x*} height=${1#*x}
    if ! xrandr | grep -q "^ *$mode "; then
        xrandr --newmode "$mode" 100 "$width" $((width + 8)) $((width + 16)) $((width + 24)) \
            "$height" $((height + 1)) $((height + 2)) $((height + 3)) >/dev/null 2>&1
        xrandr --addmode screen "$mode" >/dev/null 2>&1
    fi
    xrandr -s "$mode" >/dev/null 2>&1 || fail "the screen cannot be made $mode"
}
grab() { screenshot "$TEST_HOME/$1.png" ${2:+"$2"}; }
value() { sed -n "s/^$1: //p"; }
start_saver() {
    start_program /s
    pid=$!
    wait_for_window Brinewave3 20 >/dev/null || fail "no saver window ($1)"
    sleep 3
}
stop_saver() {
    xdotool key space
    wait_for_exit "$pid" 10 || fail "a key did not end the saver ($1)"
    # The art the saver asked for is painted aside; it is not what is tested here.
    pkill -f -- "--cache-fill [0-9x]+ $TEST_HOME/" 2>/dev/null || true
}
# Fails unless the screen has no bars and both sides show a picture that changes as creatures
# swim by.
expect_filled() {
    local what=$1 report sides first
    report=$(grab "$what")
    [[ $(value black_columns <<<"$report") == 0 ]] ||
        fail "$what: $(value black_columns <<<"$report") black columns"
    read -r left right first <<<"$(value sides <<<"$report")"
    (( left > 50 && right > 50 )) || fail "$what: the sides show $left and $right colours"
    for _ in $(seq 40); do
        sides=$(grab "$what-later" | value sides)
        [[ ${sides##* } != "$first" ]] && return 0
        sleep 1
    done
    fail "$what: nothing moved beside the middle in 40 s"
}

use_size 1920x1080
start_saver 1920x1080
expect_filled 1920x1080
pgrep -f -- "--cache-fill 1920x1080 $TEST_HOME/" >/dev/null ||
    fail "no art was asked for the 1920 x 1080 frame"
stop_saver 1920x1080

set_setting FillWide 0
start_saver "not filled"
bars=$(grab not-filled | value black_columns)
(( bars == 480 )) || fail "with the setting off, $bars black columns instead of two bars of 240"
stop_saver "not filled"
set_setting FillWide 1

use_size 2560x1080
start_saver 2560x1080
expect_filled 2560x1080
stop_saver 2560x1080

# A 4:3 screen: its frame and its art are those of the 4:3 scene.
use_size 1024x768
start_saver 1024x768
[[ $(grab 1024x768 | value black_columns) == 0 ]] || fail "bars on a 4:3 screen"
pgrep -f -- "--cache-fill 768 $TEST_HOME/" >/dev/null || fail "no 4:3 art asked for 768 lines"
stop_saver 1024x768

# Two monitors: the wide primary decides the frame; the narrower one shows it letterboxed.
use_size 3200x1080
xrandr --setmonitor wide 1920/508x1080/286+0+0 screen >/dev/null
xrandr --setmonitor narrow 1280/339x1080/286+1920+0 none >/dev/null
xrandr --listmonitors | grep -qx 'Monitors: 2' || fail "no two monitors: $(xrandr --listmonitors)"
start_saver "two monitors"
windows=$(xdotool search --onlyvisible --name '^Brinewave3$')
[[ $(wc -w <<<"$windows") -eq 2 ]] || fail "$(wc -w <<<"$windows") saver windows for two monitors"
for window in $windows; do
    report=$(grab "monitor-$window" "$window")
    colours=$(value colours <<<"$report")
    (( colours > 50 )) || fail "a monitor shows $colours colours, not the aquarium"
    width=$(xwininfo -id "$window" | awk '/Width:/ {print $2}')
    if (( width == 1920 )); then
        [[ $(value black_columns <<<"$report") == 0 ]] || fail "bars on the wide monitor"
    fi
done
stop_saver "two monitors"
echo "wide: ok"
