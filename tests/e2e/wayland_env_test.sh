#!/usr/bin/env bash
# The headless sways the Wayland tests run against: Debian 13's offers the session-lock
# protocol, shows its output at the size asked for, runs its bindings and adds outputs on
# request; Debian 12's lacks the protocol.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/wayland_lib.sh"

# WIDTHxHEIGHT from a PNG's header, or nothing when the file is no PNG.
png_size() {
    local bytes
    # shellcheck disable=SC2207
    bytes=($(od -An -v -tu1 -N24 "$1"))
    (( ${#bytes[@]} == 24 )) || return 0
    [[ "${bytes[*]:0:8}" == "137 80 78 71 13 10 26 10" ]] || return 0
    echo "$(((bytes[16] << 24) | (bytes[17] << 16) | (bytes[18] << 8) | bytes[19]))x$(((bytes[20] << 24) | (bytes[21] << 16) | (bytes[22] << 8) | bytes[23]))"
}

# A size other than the default, so the config is seen to set it.
wayland_start_sway_trixie 1280x720
wayland_has_global wl_compositor || fail "Debian 13's sway lists no wl_compositor"
wayland_has_global ext_session_lock_manager_v1 ||
    fail "Debian 13's sway lacks ext_session_lock_manager_v1"

wayland_screenshot "$TEST_HOME/headless-1.png" HEADLESS-1
size=$(png_size "$TEST_HOME/headless-1.png")
[[ $size == 1280x720 ]] || fail "the screenshot of HEADLESS-1 is '${size:-no PNG}', not 1280x720"

[[ ! -e $WAYLAND_BINDING_TRACE ]] || fail "the binding ran before its key was pressed"
wayland_key logo+Return
for _ in $(seq 30); do [[ -e $WAYLAND_BINDING_TRACE ]] && break; sleep 0.1; done
[[ -e $WAYLAND_BINDING_TRACE ]] || fail "logo+Return did not run its binding"

[[ $(wayland_outputs) == HEADLESS-1 ]] || fail "sway starts with outputs: $(wayland_outputs)"
wayland_create_output
[[ $(wayland_outputs | sort | paste -sd ' ') == "HEADLESS-1 HEADLESS-2" ]] ||
    fail "create_output left the outputs: $(wayland_outputs)"

wayland_start_sway_bookworm
wayland_has_global wl_compositor || fail "Debian 12's sway lists no wl_compositor"
! wayland_has_global ext_session_lock_manager_v1 ||
    fail "Debian 12's sway lists ext_session_lock_manager_v1"
echo "wayland environment: ok"
