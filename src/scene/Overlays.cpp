#include "scene/Overlays.h"

#include "scene/DrawingComponent.h"
#include "scene/SceneState.h"

namespace bw {

Overlays::Overlays(SceneState& scene, DrawingComponent& display, SystemLayer& system)
    : scene_(scene), display_(display), system_(system) {}

// FIXME: the overlays' texts, motion and countdown come with the overlay work.
void Overlays::drawMessage() {}

void Overlays::drawCalendar() { display_.DrawSurface(scene_.CalendarSurface); }

void Overlays::drawBubbles() {}

void Overlays::drawFirstRunMessages() {}

}  // namespace bw
