#!/usr/bin/env bash
# brinewave3 --add-to-xscreensaver with the real XScreenSaver: its list shows "Brinewave3"
# afterwards, a running daemon picks the change up, and a second run changes nothing.
source "$(dirname "$0")/lib.sh"
command -v xscreensaver >/dev/null && command -v xscreensaver-command >/dev/null ||
    { echo "SKIP: XScreenSaver is not installed"; exit 77; }
system_defaults=/etc/X11/app-defaults/XScreenSaver

# The display modes a ~/.xscreensaver lists, one a line.
modes() {
    sed -n '/^programs:/,/[^\\]$/p' "$1" | sed 's/\\n\\\?$//; s/^programs:.*//' |
        sed 's/^[[:space:]]*//; s/[[:space:]]*$//' | grep -v '^$'
}

start_screen
xscreensaver --no-splash >"$TEST_HOME/xscreensaver.log" 2>&1 &
PIDS+=($!)
for _ in $(seq 50); do xscreensaver-command -version >/dev/null 2>&1 && break; sleep 0.2; done
xscreensaver-command -version >/dev/null 2>&1 || fail "XScreenSaver did not start"

# No file of the user's own yet: it starts from the system's list.
out=$("$PROGRAM" --add-to-xscreensaver) || fail "the first run failed: $out"
[[ "$out" == *"$HOME/.xscreensaver"* ]] || fail "it does not say which file it made: $out"
first=$(modes "$HOME/.xscreensaver" | head -n 1)
[[ "$first" == '"Brinewave3"  brinewave3 -root' ]] || fail "the first display mode is '$first'"
system_count=$(sed -n '/^\*programs:/,/[^\\]$/p' "$system_defaults" | grep -c '\\n')
(( $(modes "$HOME/.xscreensaver" | wc -l) == system_count + 1 )) ||
    fail "the system's display modes are not all listed"

# The running daemon reads the changed file by itself: it can be told to run the new mode.
xscreensaver-command -select 1 >/dev/null 2>&1 || fail "XScreenSaver refused to select mode 1"
for _ in $(seq 50); do
    pgrep -f "Brinewave3 -root" >/dev/null 2>&1 && break
    sleep 0.2
done
pgrep -f "Brinewave3 -root" >/dev/null 2>&1 ||
    fail "XScreenSaver did not start the display mode: $(tail -n 5 "$TEST_HOME/xscreensaver.log")"
xscreensaver-command -deactivate >/dev/null 2>&1 || true

# A second run changes nothing.
cp "$HOME/.xscreensaver" "$TEST_HOME/after-first"
out=$("$PROGRAM" --add-to-xscreensaver) || fail "the second run failed: $out"
[[ "$out" == *already* ]] || fail "the second run says: $out"
cmp -s "$HOME/.xscreensaver" "$TEST_HOME/after-first" || fail "the second run changed the file"
[[ ! -e "$HOME/.xscreensaver.bak" ]] || fail "a backup was made of a file that was not there"
echo "xscreensaver list: ok"
