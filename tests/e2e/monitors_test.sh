#!/usr/bin/env bash
# Every monitor shows the aquarium, each letterboxed to its own size; the primary one takes
# the input. Two RandR monitors on one wide Xvfb screen are two screens to Qt.
SCREEN_SIZE=1824x600
source "$(dirname "$0")/lib.sh"
start_screen
factory_settings
# The first takes the screen's one output (so it stands in for the whole-screen monitor).
xrandr --setmonitor left 800/211x600/158+0+0 screen >/dev/null
xrandr --setmonitor right 1024/271x600/158+800+0 none >/dev/null
xrandr --listmonitors | grep -qx 'Monitors: 2' || fail "no two monitors: $(xrandr --listmonitors)"

start_program /s
pid=$!
wait_for_window Brinewave3 10 >/dev/null || fail "no saver window"
sleep 3
windows=$(xdotool search --onlyvisible --name '^Brinewave3$')
[[ $(wc -w <<<"$windows") -eq 2 ]] || fail "$(wc -w <<<"$windows") saver windows for two monitors"
sizes=
for window in $windows; do
    sizes+="$(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}') "
    colours=$(shot_colours "$TEST_HOME/monitor-$window.png" "$window")
    (( colours > 50 )) || fail "a monitor shows $colours colours, not the aquarium"
done
[[ "$sizes" == *"800x600 "* && "$sizes" == *"1024x600 "* ]] || fail "windows of $sizes"
kill -0 "$pid" 2>/dev/null || fail "the saver ended by itself"
# The scene area is 600 lines high: the 800 x 600 pictures are the art, nothing is painted.
[[ ! -e $XDG_CACHE_HOME/Brinewave3 ]] || fail "a cache fill for a 600-line screen"
xdotool key space
wait_for_exit "$pid" 5 || fail "a key did not end the saver"
echo "monitors: ok"
