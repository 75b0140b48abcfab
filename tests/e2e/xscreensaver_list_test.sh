#!/usr/bin/env bash
# brinewave3 --add-to-xscreensaver with the real XScreenSaver: its list shows "Brinewave3"
# afterwards, a running daemon picks the change up, and a second run changes nothing.
source "$(dirname "$0")/lib.sh"
command -v xscreensaver >/dev/null && command -v xscreensaver-command >/dev/null ||
    { echo "SKIP: XScreenSaver is not installed"; exit 77; }
system_defaults=/etc/X11/app-defaults/XScreenSaver

# XScreenSaver launches no display mode for root: as root, everything runs as nobody.
as_user() { "$@"; }
if (( $(id -u) == 0 )); then
    chown -R nobody: "$TEST_HOME"
    chmod 755 "$TEST_HOME"
    as_user() { setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$@"; }
fi

# The display modes a ~/.xscreensaver lists, one a line.
modes() {
    sed -n '/^programs:/,/[^\\]$/p' "$1" | sed 's/\\n\\\?$//; s/^programs:.*//' |
        sed 's/^[[:space:]]*//; s/[[:space:]]*$//' | grep -v '^$'
}

# The entry names brinewave3 as the package installs it: on the PATH.
mkdir -p "$TEST_HOME/bin"
printf '#!/bin/sh\necho "$*" >>"%s"\nexec "%s" "$@"\n' "$TEST_HOME/started" "$PROGRAM" \
    >"$TEST_HOME/bin/brinewave3"
chmod 755 "$TEST_HOME/bin/brinewave3"
export PATH=$TEST_HOME/bin:$PATH

start_screen
as_user xscreensaver --no-splash >"$TEST_HOME/xscreensaver.log" 2>&1 &
PIDS+=($!)
for _ in $(seq 50); do as_user xscreensaver-command -version >/dev/null 2>&1 && break; sleep 0.2; done
as_user xscreensaver-command -version >/dev/null 2>&1 || fail "XScreenSaver did not start"

# No file of the user's own yet: it starts from the system's list.
out=$(as_user "$PROGRAM" --add-to-xscreensaver) || fail "the first run failed: $out"
[[ "$out" == *"$HOME/.xscreensaver"* ]] || fail "it does not say which file it made: $out"
first=$(modes "$HOME/.xscreensaver" | sed -n 1p)
[[ "$first" == '"Brinewave3"  brinewave3 -root' ]] || fail "the first display mode is '$first'"
system_count=$(sed -n '/^\*programs:/,/[^\\]$/p' "$system_defaults" | grep -c '\\n')
(( $(modes "$HOME/.xscreensaver" | wc -l) == system_count + 1 )) ||
    fail "the system's display modes are not all listed"

# The running daemon reads the changed file by itself: it can be told to run the new mode
# (XScreenSaver 6 hands it "--root" for "-root").
as_user xscreensaver-command -select 1 >/dev/null 2>&1 || fail "XScreenSaver refused to select mode 1"
for _ in $(seq 50); do
    grep -qxE -- "--?root" "$TEST_HOME/started" 2>/dev/null && break
    sleep 0.2
done
grep -qxE -- "--?root" "$TEST_HOME/started" 2>/dev/null ||
    fail "XScreenSaver did not start the display mode ($(cat "$TEST_HOME/started" 2>/dev/null)): $(grep -v -e auth -e systemd "$TEST_HOME/xscreensaver.log" | tail -n 5)"
as_user xscreensaver-command -deactivate >/dev/null 2>&1 || true

# A second run changes nothing.
cp "$HOME/.xscreensaver" "$TEST_HOME/after-first"
out=$(as_user "$PROGRAM" --add-to-xscreensaver) || fail "the second run failed: $out"
[[ "$out" == *already* ]] || fail "the second run says: $out"
cmp -s "$HOME/.xscreensaver" "$TEST_HOME/after-first" || fail "the second run changed the file"
[[ ! -e "$HOME/.xscreensaver.bak" ]] || fail "a backup was made of a file that was not there"
echo "xscreensaver list: ok"
