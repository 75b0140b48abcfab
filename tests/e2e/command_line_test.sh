#!/usr/bin/env bash
# --help, -h and --version answer on standard output without a display; any other argument the
# program does not know still ends it at once and silently.
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
