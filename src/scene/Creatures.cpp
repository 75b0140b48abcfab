#include "scene/Creatures.h"

#include "scene/DrawingComponent.h"
#include "scene/SceneState.h"

namespace bw {

Creatures::Creatures(SceneState& scene, DrawingComponent& display, Random& random,
                     SystemLayer& system)
    : scene_(scene), display_(display), random_(random), system_(system) {}

void Creatures::reset() {
    waiting_.fill(true);
    waiting_[kFish1] = false;
}

void Creatures::release(int creature) { waiting_[creature] = false; }

// FIXME: the swimming itself (moves, drifts, exits and returns) comes with the creature work.
void Creatures::swim(int creature) {
    if (waiting_[creature]) return;
    const auto surface = scene_.creatures[creature].Surface;
    if (display_.IsFrameDue(surface)) display_.AdvanceFrame(surface);
    display_.DrawSurface(surface);
}

void Creatures::swimBackgroundFish() {}

void Creatures::TimerFish_Timer() {}

}  // namespace bw
