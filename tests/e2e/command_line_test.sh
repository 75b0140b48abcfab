#!/usr/bin/env bash
# --help, -h and --version answer on standard output without a display; any other argument the
# program does not know still ends it at once and silently. A run mode or the Help program
# without a display says so in one line and ends with status 1.
source "$(dirname "$0")/lib.sh"
unset DISPLAY
version=$(sed -n 's/^project(Brinewave3 VERSION \([0-9.]*\).*/\1/p' "$BW_SOURCE/CMakeLists.txt")
[[ -n "$version" ]] || fail "no project version in CMakeLists.txt"

for option in --help -h; do
    status=0
    "$PROGRAM" "$option" >"$TEST_HOME/out" 2>"$TEST_HOME/err" || status=$?
    (( status == 0 )) || fail "$option exited with $status"
    [[ ! -s "$TEST_HOME/err" ]] || fail "$option wrote to standard error: $(cat "$TEST_HOME/err")"
    for word in "Usage: brinewave3" /s /c /a /p -root -sound --add-to-xscreensaver --version; do
        grep -qF -- "$word" "$TEST_HOME/out" || fail "$option does not name $word"
    done
done

status=0
out=$("$PROGRAM" --version 2>&1) || status=$?
(( status == 0 )) || fail "--version exited with $status"
[[ "$out" == "Brinewave3 $version" ]] || fail "--version printed '$out', not 'Brinewave3 $version'"

# Without a display too: nothing is started, so nothing needs one.
for arguments in "--bogus" "/x"; do
    status=0
    out=$(timeout 10 "$PROGRAM" $arguments 2>&1) || status=$?
    (( status == 0 )) || fail "'$arguments' without a display exited with $status"
    [[ -z "$out" ]] || fail "'$arguments' without a display printed '$out'"
done

# A window to show but nowhere to show it: one line on standard error, status 1, no abort.
expect_no_display() {
    local name=$1 status=0
    shift
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 10 "$@" \
        >"$TEST_HOME/out" 2>"$TEST_HOME/err" || status=$?
    (( status == 1 )) || fail "'$*' without a display exited with $status"
    [[ ! -s "$TEST_HOME/out" ]] || fail "'$*' without a display printed $(cat "$TEST_HOME/out")"
    local line="$name: no X11 or Wayland display to show on"
    line+=" (DISPLAY and WAYLAND_DISPLAY are not set)."
    [[ "$(cat "$TEST_HOME/err")" == "$line" ]] ||
        fail "'$*' without a display wrote '$(cat "$TEST_HOME/err")', not '$line'"
}
expect_no_display Brinewave3 "$PROGRAM" /s
expect_no_display Brinewave3 "$PROGRAM" /c
expect_no_display "Brinewave3 Help" "$BW_DATA/Help/Help"

start_screen
for arguments in "--bogus" "/x" "--help /s" "-v"; do
    status=0
    # shellcheck disable=SC2086
    out=$(timeout 10 "$PROGRAM" $arguments 2>&1) || status=$?
    (( status == 0 )) || fail "'$arguments' exited with $status"
    [[ -z "$out" ]] || fail "'$arguments' printed '$out'"
done
[[ ! -e "$INI" ]] || fail "an unknown argument wrote the settings"
echo "command line: ok"
