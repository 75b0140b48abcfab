#!/usr/bin/env bash
# On a 3840 x 2160 screen the saver starts at once with the 600-line pictures enlarged, has
# the art generator paint the pictures for its 3840 x 2160 frame into the cache, and swaps them
# in while it runs: the screen turns crisp. The next start finds the set and is crisp within
# seconds.
SCREEN_SIZE=3840x2160
source "$(dirname "$0")/lib.sh"
start_screen
factory_settings
set=$XDG_CACHE_HOME/Brinewave3/3840x2160

sharpness() { screenshot "$1" | sed -n 's/^sharpness: //p'; }
at_least_three_times() { awk -v c="$1" -v e="$2" 'BEGIN { exit !(c >= 3 * e) }'; }
# Screenshots until the screen is at least three times as sharp as `enlarged`; prints the last
# sharpness.
wait_until_crisp() {
    local seconds=$1 shot=$2 crisp=0
    for _ in $(seq "$seconds"); do
        crisp=$(sharpness "$shot")
        at_least_three_times "$crisp" "$enlarged" && break
        sleep 1
    done
    echo "$crisp"
}

start_program /s
pid=$!
wait_for_window Brinewave3 20 >/dev/null || fail "no saver window"
sleep 3
[[ ! -e $set ]] || fail "a set for 2160 lines before the generator could make one"
enlarged=$(sharpness "$TEST_HOME/enlarged.png")
[[ -n $enlarged ]] || fail "no screenshot"

# The generator paints at idle priority beside the running saver.
for _ in $(seq 200); do [[ -e $set/art.stamp ]] && break; sleep 1; done
[[ -e $set/art.stamp ]] || fail "no set was made for 2160 lines"
crisp=$(wait_until_crisp 30 "$TEST_HOME/crisp.png")
at_least_three_times "$crisp" "$enlarged" ||
    fail "the set was not swapped in: sharpness $crisp, enlarged $enlarged"
# Nothing of the fill is left beside the set.
leftovers=$(find "$XDG_CACHE_HOME/Brinewave3" -mindepth 1 -maxdepth 1 -name '.*')
[[ -z $leftovers ]] || fail "left in the cache: $leftovers"
kill -0 "$pid" 2>/dev/null || fail "the saver ended by itself"
xdotool key space
wait_for_exit "$pid" 10 || fail "a key did not end the saver"

start_program /s
pid=$!
wait_for_window Brinewave3 20 >/dev/null || fail "no saver window the second time"
again=$(wait_until_crisp 20 "$TEST_HOME/again.png")
at_least_three_times "$again" "$enlarged" ||
    fail "the second start is not crisp: sharpness $again, enlarged $enlarged"
xdotool key space
wait_for_exit "$pid" 10 || fail "a key did not end the second saver"
echo "crisp: enlarged $enlarged, crisp $crisp, next start $again"
