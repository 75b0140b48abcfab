#!/usr/bin/env bash
# "/p ID": the preview picture inside another program's window, following it, and never in a
# saver's way.
source "$(dirname "$0")/lib.sh"
: "${BW_HOST:?BW_HOST must name the host window program}"
start_screen
factory_settings

# The first child window of a window, and a window's size as WxH.
first_child() { xwininfo -children -id "$1" | sed -n 's/^ *\(0x[0-9a-f]*\) .*/\1/p' | head -n 1; }
window_size() { xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }

# Waits up to $3 seconds until the preview child of host $1 has size $2; prints the child.
wait_for_child_size() {
    local host=$1 size=$2 child
    for _ in $(seq $(($3 * 10))); do
        child=$(first_child "$host")
        if [[ -n "$child" && $(window_size "$child") == "$size" ]]; then echo "$child"; return 0; fi
        sleep 0.1
    done
    return 1
}

# A host window of another program, as a screensaver settings panel would have.
"$BW_HOST" 320 240 >"$TEST_HOME/host" & host_pid=$!
PIDS+=("$host_pid")
for _ in $(seq 50); do [[ -s "$TEST_HOME/host" ]] && break; sleep 0.1; done
host=$(head -n 1 "$TEST_HOME/host")
[[ -n "$host" ]] || fail "no host window"

start_program /p "$host"
preview_pid=$!
child=$(wait_for_child_size "$host" 320x240 2) || fail "no 320x240 preview inside the host within 2 s"
sleep 0.5
colours=$(shot_colours "$TEST_HOME/preview.png" "$child")
(( colours > 50 )) || fail "the preview shows $colours colours, not the picture"

# The host grows: the preview follows.
xdotool windowsize "$host" 480 360
wait_for_child_size "$host" 480x360 2 >/dev/null || fail "the preview did not follow the host's size"

# A preview never keeps the saver from starting.
start_program /s
saver_pid=$!
wait_for_window Brinewave3 10 >/dev/null || fail "no saver started while a preview runs"
sleep 1
kill -0 "$saver_pid" 2>/dev/null || fail "the saver ended by itself beside a preview"
kill "$saver_pid"; wait "$saver_pid" 2>/dev/null || true
kill -0 "$preview_pid" 2>/dev/null || fail "the preview ended with the saver"

# The host's window goes: the preview ends.
kill "$host_pid"
wait_for_exit "$preview_pid" 2 || fail "the preview outlived its host by 2 s"

# No window, or none given: nothing to show, the program ends at once.
for argument in "/p 12345" "/p"; do
    start_program $argument
    wait_for_exit $! 2 || fail "'$argument' did not exit at once"
done
echo "preview: ok"
