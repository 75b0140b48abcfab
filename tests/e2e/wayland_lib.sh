# shellcheck shell=bash
# A headless sway for the Wayland end-to-end tests; sourced after lib.sh.
#
# Debian 12's sway (1.7) lacks ext-session-lock-v1, so the tests of the lock run against
# Debian 13's sway (1.10) in a chroot built once and kept under /var/cache. Its tools (grim,
# wtype, swaymsg, wayland-info) run inside the chroot too; the program under test runs on
# the host with the exported XDG_RUNTIME_DIR, WAYLAND_DISPLAY and SWAYSOCK.

WAYLAND_ROOT=${BW_WAYLAND_ROOT:-/var/cache/brinewave3-tests/trixie-sway}
WAYLAND_MIRROR=${BW_DEBIAN_MIRROR:-http://deb.debian.org/debian}
# Written only after every build step succeeded: an interrupted build is started afresh.
WAYLAND_STAMP=$WAYLAND_ROOT/.brinewave3-complete
# The stamp holds this list: a chroot built with another one is built afresh.
WAYLAND_PACKAGES="sway wayland-utils wtype grim swaylock"
WAYLAND_CHROOT_RUNTIME=       # the trixie sway's runtime dir as seen inside the chroot
WAYLAND_RUNTIMES=()           # host paths of the sways' runtime dirs, removed on exit
# Mod4+Return in every sway started here touches this file: a test of a lock presses it and
# checks the file is still missing, proving bindings are dead while locked.
WAYLAND_BINDING_TRACE=

skip() { echo "SKIP: $*"; exit 77; }

# lib.sh's cleanup kills the sways (their pids are in PIDS); their runtime dirs, outside
# TEST_HOME, go after it.
wayland_cleanup() {
    # A full saver on a lock runs as the child of the process started; a killed supervisor
    # leaves it running by design.
    local pid
    for pid in "${PIDS[@]}"; do pkill -9 -P "$pid" 2>/dev/null || true; done
    cleanup
    local dir
    for dir in "${WAYLAND_RUNTIMES[@]}"; do rm -rf "$dir"; done
}
trap wayland_cleanup EXIT

# Unmounts whatever an interrupted debootstrap left mounted below the root (/proc, /sys).
wayland_unmount_below() {
    local mount
    awk -v root="$1/" 'index($2, root) == 1 { print $2 }' /proc/self/mounts | sort -r |
        while read -r mount; do umount -l "$mount" || true; done
}

wayland_trixie_ready() { [[ $(cat "$WAYLAND_STAMP" 2>/dev/null) == "$WAYLAND_PACKAGES" ]]; }

wayland_prepare_trixie() {
    [[ $(id -u) -eq 0 ]] || skip "the Debian 13 sway chroot needs root"
    wayland_trixie_ready && return 0
    command -v debootstrap >/dev/null ||
        skip "debootstrap is not installed (scripts/setup.sh installs it)"
    mkdir -p "$(dirname "$WAYLAND_ROOT")"
    local lock log=$WAYLAND_ROOT.log
    exec {lock}>"$WAYLAND_ROOT.lock"
    # Another test may be building it right now; the first build takes a minute or two.
    flock -w 500 "$lock" || fail "another build of $WAYLAND_ROOT did not end within 500 s"
    if ! wayland_trixie_ready; then
        # Without the network debootstrap's downloads would retry for many minutes.
        local address=${WAYLAND_MIRROR#*://} port=80
        address=${address%%/*}
        [[ $WAYLAND_MIRROR == https:* ]] && port=443
        [[ $address == *:* ]] && port=${address##*:}
        timeout 10 bash -c ": </dev/tcp/${address%:*}/$port" 2>/dev/null ||
            skip "$address cannot be reached to build the Debian 13 sway chroot"
        echo "building the Debian 13 sway chroot in $WAYLAND_ROOT (log: $log)" >&2
        wayland_unmount_below "$WAYLAND_ROOT"
        rm -rf --one-file-system "$WAYLAND_ROOT"
        local in_root=(chroot "$WAYLAND_ROOT" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin
                       DEBIAN_FRONTEND=noninteractive)
        if ! { debootstrap --variant=minbase trixie "$WAYLAND_ROOT" "$WAYLAND_MIRROR" &&
               "${in_root[@]}" apt-get update -q &&
               "${in_root[@]}" apt-get install -y -q --no-install-recommends \
                   $WAYLAND_PACKAGES &&
               "${in_root[@]}" apt-get clean; } >"$log" 2>&1; then
            skip "building the Debian 13 sway chroot failed: $(tail -n 1 "$log") (log: $log)"
        fi
        rm -rf "$WAYLAND_ROOT"/var/lib/apt/lists/*
        echo "$WAYLAND_PACKAGES" >"$WAYLAND_STAMP"
    fi
    exec {lock}>&-
}

# Runs a command against the running sway: inside the chroot for trixie's, on the host for
# bookworm's.
wayland_run() {
    if [[ -n $WAYLAND_CHROOT_RUNTIME ]]; then
        chroot "$WAYLAND_ROOT" env -i PATH=/usr/bin:/bin HOME=/root \
            XDG_RUNTIME_DIR="$WAYLAND_CHROOT_RUNTIME" WAYLAND_DISPLAY="$WAYLAND_DISPLAY" \
            SWAYSOCK="$WAYLAND_CHROOT_RUNTIME/${SWAYSOCK##*/}" "$@"
    else
        "$@"
    fi
}

wayland_in_chroot() {
    [[ -n $WAYLAND_CHROOT_RUNTIME ]] || fail "wayland_in_chroot: no Debian 13 sway is running"
    wayland_run "$@"
}

# Starts sway. Arguments: its runtime dir (made already) on the host, the same as sway sees
# it, the output size, then the command that runs sway (sway and its options follow it).
wayland_start_sway() {
    local runtime=$1 seen=$2 size=$3
    shift 3
    WAYLAND_RUNTIMES+=("$runtime")
    # No swaybg: a plain background, and no child left behind when sway is killed.
    cat >"$runtime/sway.config" <<EOF
xwayland disable
swaybg_command -
output HEADLESS-1 mode $size
bindsym Mod4+Return exec touch $seen/binding-ran
EOF
    WAYLAND_BINDING_TRACE=$runtime/binding-ran
    local log=$TEST_HOME/sway-${runtime##*/}.log home=$seen
    [[ -n $WAYLAND_CHROOT_RUNTIME ]] && home=/root
    env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME="$home" \
        XDG_RUNTIME_DIR="$seen" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
        WLR_RENDERER=pixman "$@" sway -c "$seen/sway.config" >"$log" 2>&1 &
    local pid=$!
    PIDS+=("$pid")
    disown "$pid"   # no "Killed" notice when the cleanup ends it
    export XDG_RUNTIME_DIR=$runtime
    unset WAYLAND_DISPLAY SWAYSOCK
    local socket
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        for socket in "$runtime"/wayland-[0-9]*; do
            [[ -S $socket ]] && export WAYLAND_DISPLAY=${socket##*/}
        done
        for socket in "$runtime"/sway-ipc.*."$pid".sock; do
            [[ -S $socket ]] && export SWAYSOCK=$socket
        done
        if [[ -n ${WAYLAND_DISPLAY:-} && -n ${SWAYSOCK:-} ]] &&
           wayland_run wayland-info >/dev/null 2>&1 &&
           wayland_run swaymsg -t get_version >/dev/null 2>&1; then
            return 0
        fi
        sleep 0.1
    done
    cat "$log" >&2
    fail "sway did not start within 10 s (log above)"
}

# Debian 13's sway 1.10 with the session-lock protocol; OUTPUT_SIZE defaults to 1920x1080.
wayland_start_sway_trixie() {
    wayland_prepare_trixie
    WAYLAND_CHROOT_RUNTIME=/tmp/bw-$$
    rm -rf "$WAYLAND_ROOT$WAYLAND_CHROOT_RUNTIME"
    mkdir -m 700 "$WAYLAND_ROOT$WAYLAND_CHROOT_RUNTIME"
    wayland_start_sway "$WAYLAND_ROOT$WAYLAND_CHROOT_RUNTIME" "$WAYLAND_CHROOT_RUNTIME" \
        "${1:-1920x1080}" chroot "$WAYLAND_ROOT"
}

# Debian 12's own sway 1.7, which lacks the session-lock protocol.
wayland_start_sway_bookworm() {
    command -v sway >/dev/null || skip "sway is not installed (scripts/setup.sh installs it)"
    command -v wayland-info >/dev/null ||
        skip "wayland-info is not installed (scripts/setup.sh installs wayland-utils)"
    WAYLAND_CHROOT_RUNTIME=
    local runtime as_user=()
    runtime=$(mktemp -d "${TMPDIR:-/tmp}/bw-sway.XXXXXX")
    # sway 1.7 refuses to start as root (1.10 no longer does): run it as nobody, in a
    # runtime dir of its own outside the private TEST_HOME.
    if [[ $(id -u) -eq 0 ]]; then
        chown nobody:nogroup "$runtime"
        as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    fi
    wayland_start_sway "$runtime" "$runtime" "${1:-1920x1080}" "${as_user[@]}"
}

# True when the compositor announces the global (an interface name such as wl_compositor).
wayland_has_global() {
    local globals
    globals=$(wayland_run wayland-info) || fail "wayland-info could not reach sway"
    grep -q "interface: '$1'," <<<"$globals"
}

# A PNG of one output (the first when none is named), via trixie's grim.
wayland_screenshot() {
    local out=$1 shot=$WAYLAND_CHROOT_RUNTIME/shot.png
    wayland_in_chroot grim ${2:+-o "$2"} "$shot" || fail "grim could not capture ${2:-an output}"
    mv "$WAYLAND_ROOT$shot" "$out"
}

# wtype makes a new virtual keyboard each run; its first key is lost unless it waits first.
wayland_type() { wayland_in_chroot wtype -s 200 "$1"; }

# Presses a key, with modifiers held as in ctrl+alt+Delete or logo+Return.
wayland_key() {
    local parts args=() modifier
    IFS=+ read -ra parts <<<"$1"
    for modifier in "${parts[@]:0:${#parts[@]}-1}"; do args+=(-M "$modifier"); done
    args+=(-k "${parts[-1]}")
    for modifier in "${parts[@]:0:${#parts[@]}-1}"; do args+=(-m "$modifier"); done
    wayland_in_chroot wtype -s 200 "${args[@]}"
}

# Adds a headless output; sway names them HEADLESS-2, HEADLESS-3 and on.
wayland_create_output() { wayland_run swaymsg create_output >/dev/null; }

# The names of sway's outputs, one a line.
wayland_outputs() { wayland_run swaymsg -p -t get_outputs | awk '/^Output / { print $2 }'; }
