#pragma once

#include <QString>

namespace bw {

// What the Wayland compositor of this session offers; nothing is reachable outside a Wayland
// session (WAYLAND_DISPLAY unset) or when its socket does not answer.
struct WaylandOffer {
    bool reachable = false;
    bool sessionLock = false;  // ext_session_lock_manager_v1: a client may lock the session
};

// Asks the compositor WAYLAND_DISPLAY names for its globals (one round trip).
WaylandOffer probeWaylandCompositor();

// Empty when the saver's password can guard this desktop; otherwise the sentence that tells the
// user why not. On X11 the saver's grabs hold every key; in a Wayland session its X11 or Qt
// window receives keys but the compositor acts on its own bindings first, so only a session
// lock can guard it: where the compositor offers one, the saver is that lock.
QString whyPasswordCannotGuard(const WaylandOffer& offer);

}  // namespace bw
