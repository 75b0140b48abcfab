#pragma once

#include "scene/DrawingComponent.h"

#include <QString>
#include <array>
#include <cstdint>

namespace bw {

class Random;
class SystemLayer;
struct SceneState;

// What is drawn over the scene: the message line, the calendar with its clock, the rising
// bubbles and curtains, and the first-run notices.
class Overlays {
public:
    Overlays(SceneState& scene, DrawingComponent& display, SystemLayer& system, Random& random);

    void drawMessage();
    void drawCalendar();
    void drawBubbles();
    // The first notice not yet shown in full, with its countdown; on every frame.
    void drawFirstRunMessages();

private:
    template <std::size_t N>
    void riseStream(const std::array<SurfaceId, N>& bubbles, int16_t rise, int reentrySpread);
    void drawNotice(const QString& line, SurfaceId notice);

    SceneState& scene_;
    DrawingComponent& display_;
    SystemLayer& system_;
    Random& random_;
};

}  // namespace bw
