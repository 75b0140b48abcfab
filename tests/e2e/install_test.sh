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

# The installed art generator fills the user's cache: a complete set, stamped with its version.
generator=$prefix/lib/brinewave3/brinewave3-artgen
[[ -x "$generator" ]] || fail "not installed: lib/brinewave3/brinewave3-artgen"
"$generator" --cache-fill 660 "$XDG_CACHE_HOME/Brinewave3" >"$TEST_HOME/fill.log" 2>&1 ||
    fail "the installed generator cannot fill the cache: $(cat "$TEST_HOME/fill.log")"
set_folder=$XDG_CACHE_HOME/Brinewave3/660
grep -qx "version $("$generator" --version)" "$set_folder/art.stamp" ||
    fail "the set is not stamped with the generator's version"
pictures=$(find "$set_folder" -type f ! -name art.stamp | wc -l)
(( pictures > 100 )) && grep -qx "files $pictures" "$set_folder/art.stamp" ||
    fail "the stamp does not count the set's $pictures pictures"
[[ "$(ls -A "$XDG_CACHE_HOME/Brinewave3")" == $'660\n660.lock' ]] ||
    fail "the cache holds more than the set: $(ls -A "$XDG_CACHE_HOME/Brinewave3")"
[[ "$(find "$prefix" -printf '%p %s\n' | sort)" == "$before" ]] || fail "the program wrote into its install folder"
echo "install: ok"
