# Shared by the end-to-end tests: a private Xvfb screen, a private home, and small helpers.
# Each test sources this file; BW_DATA (the data folder) and BW_GRAB come from CTest.
set -euo pipefail

: "${BW_DATA:?BW_DATA must name the data folder}"
PROGRAM=$BW_DATA/Brinewave3
SCREEN_SIZE=${SCREEN_SIZE:-800x600}

TEST_HOME=$(mktemp -d)
export HOME=$TEST_HOME
export XDG_CONFIG_HOME=$TEST_HOME/config XDG_DATA_HOME=$TEST_HOME/data
export XDG_CACHE_HOME=$TEST_HOME/cache
export XDG_RUNTIME_DIR=$TEST_HOME/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
# No session bus, said outright. Without an address libdbus "autolaunches" one: Qt's
# accessibility asks for the bus as the event loop starts, and libdbus forks the saver, threads
# and all, to run dbus-launch. Under the sanitizers such a child was seen to hang before its
# exec, and the saver with it, deaf to every key and click (one run in ten or so).
export DBUS_SESSION_BUS_ADDRESS=unix:path=$TEST_HOME/no-session-bus
INI=$XDG_CONFIG_HOME/Brinewave3/Brinewave3.ini
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}

PIDS=()
cleanup() {
    for pid in "${PIDS[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    # A fill of the art cache the saver started outlives it by design; not the test.
    pkill -f -- "--cache-fill [0-9x]+ $TEST_HOME/" 2>/dev/null || true
    [[ -n "${XVFB_PID:-}" ]] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$TEST_HOME"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Starts a private Xvfb. It picks a free display number itself and writes it to fd 3 once it
# accepts clients. Two servers starting at the same moment can still both settle on one
# number (the later one then takes the earlier one's socket), so tests running side by side
# start theirs one at a time. Without -noreset the server starts afresh each time its last
# client leaves (a program ending, xset): a program started in that moment was seen to find
# no server.
start_screen() {
    local ready=$TEST_HOME/display
    exec 8>"${TMPDIR:-/tmp}/brinewave3-xvfb-start.lock"
    flock 8
    Xvfb -displayfd 3 -screen 0 "${SCREEN_SIZE}x24" -nolisten tcp -noreset 3>"$ready" 8>&- \
        >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 100); do
        if grep -qx '[0-9]\+' "$ready" 2>/dev/null; then
            export DISPLAY=:$(head -n 1 "$ready")
            xdpyinfo >/dev/null 2>&1 && { exec 8>&-; return 0; }
        fi
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    exec 8>&-
    fail "no Xvfb screen could be started"
}

# Runs the program in the background; its pid is in $!.
start_program() {
    "$PROGRAM" "$@" &
    PIDS+=($!)
}

# Waits until a window with exactly this title exists; prints its id.
wait_for_window() {
    local title=$1 seconds=${2:-20} id
    for _ in $(seq $((seconds * 10))); do
        id=$(xdotool search --name "^${title}\$" 2>/dev/null | head -n 1 || true)
        [[ -n "$id" ]] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# True when the process ends within the given seconds; its exit status is in $EXIT_STATUS.
wait_for_exit() {
    local pid=$1 seconds=${2:-10}
    for _ in $(seq $((seconds * 10))); do
        if ! kill -0 "$pid" 2>/dev/null; then
            EXIT_STATUS=0
            wait "$pid" || EXIT_STATUS=$?
            return 0
        fi
        sleep 0.1
    done
    return 1
}

screenshot() { "$BW_GRAB" "$@"; }

# Sets one value in the settings file (which must hold the key already).
set_setting() {
    local key=$1 value=$2
    sed -i "s|^${key}=.*|${key}=${value}|" "$INI"
    grep -q "^${key}=${value}\$" "$INI" || fail "could not set $key"
}

# Makes the settings file as a first start would, with the first-run notices already seen.
factory_settings() {
    "$PROGRAM" /a & local pid=$!
    for _ in $(seq 100); do [[ -s "$INI" ]] && break; sleep 0.1; done
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
    [[ -s "$INI" ]] || fail "no factory settings written"
    local flag
    for flag in TuneScrSvr RunMonitor PwrMsg; do set_setting "$flag" True; done
}

# The number of distinct colours in a screenshot (of the root window or the given window).
shot_colours() { screenshot "$@" | sed -n 's/^colours: //p'; }
