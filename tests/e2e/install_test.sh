#!/usr/bin/env bash
# An installed copy: launchers, desktop entries, the XScreenSaver files; it runs from anywhere
# and writes only into the user's own folders.
source "$(dirname "$0")/lib.sh"
prefix=$TEST_HOME/prefix
cmake --install "$(dirname "$BW_DATA")" --prefix "$prefix" >/dev/null || fail "install failed"

for file in bin/brinewave3 bin/brinewave3-help lib/brinewave3/Brinewave3 \
            lib/brinewave3/Help/Help lib/brinewave3/Water/"cool waters.bmp" \
            lib/brinewave3/bubbles1.wav libexec/xscreensaver/brinewave3 \
            share/xscreensaver/config/brinewave3.xml \
            share/applications/brinewave3-settings.desktop \
            share/applications/brinewave3-help.desktop \
            share/applications/screensavers/brinewave3.desktop \
            share/icons/hicolor/256x256/apps/brinewave3.png; do
    [[ -e "$prefix/$file" ]] || fail "not installed: $file"
done
grep -q '<screensaver name="brinewave3"' "$prefix/share/xscreensaver/config/brinewave3.xml" ||
    fail "the option file does not name the display mode"
grep -q "^Exec=$prefix/bin/brinewave3 /c" "$prefix/share/applications/brinewave3-settings.desktop" ||
    fail "the settings entry does not start the installed program"
before=$(find "$prefix" -printf '%p %s\n' | sort)

start_screen
cd /
"$prefix/bin/brinewave3" /c &
pid=$!
PIDS+=($pid)
wait_for_window "Brinewave Control Box.*" >/dev/null || fail "the installed /c showed no dialog"
kill "$pid"

"$prefix/bin/brinewave3" /s &
pid=$!
PIDS+=($pid)
sleep 4
colours=$(shot_colours "$TEST_HOME/installed.png")
(( colours > 200 )) || fail "the installed saver shows only $colours colours"
xdotool key Escape
wait_for_exit "$pid" 5 || fail "the installed saver did not end"

[[ -f "$INI" ]] || fail "the settings went somewhere else"
[[ "$(find "$prefix" -printf '%p %s\n' | sort)" == "$before" ]] || fail "the program wrote into its install folder"
echo "install: ok"
