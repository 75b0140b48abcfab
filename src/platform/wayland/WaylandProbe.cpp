#include "platform/wayland/WaylandProbe.h"

#include <wayland-client.h>

#include <cstring>

namespace bw {

namespace {

void noteGlobal(void* data, wl_registry*, uint32_t, const char* interface, uint32_t) {
    if (std::strcmp(interface, "ext_session_lock_manager_v1") == 0)
        static_cast<WaylandOffer*>(data)->sessionLock = true;
}

void ignoreRemoval(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kRegistryListener{noteGlobal, ignoreRemoval};

}  // namespace

WaylandOffer probeWaylandCompositor() {
    WaylandOffer offer;
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (!name || !*name) return offer;
    wl_display* display = wl_display_connect(nullptr);
    if (!display) return offer;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, &offer);
    offer.reachable = wl_display_roundtrip(display) >= 0;
    if (!offer.reachable) offer.sessionLock = false;
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return offer;
}

QString whyPasswordCannotGuard(const WaylandOffer& offer) {
    // With a session lock the saver is the lock, and asks for the password on it.
    if (!offer.reachable || offer.sessionLock) return {};
    return QStringLiteral(
        "This desktop offers no lock to other programs, so the password cannot guard it: "
        "use the desktop's own screen lock.");
}

}  // namespace bw
