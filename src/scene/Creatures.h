#pragma once

#include <array>
#include <cstdint>

namespace bw {

class DrawingComponent;
class Random;
class SystemLayer;
struct SceneState;

// The twelve creatures and the five background fish: their swim steps, waits and returns.
class Creatures {
public:
    Creatures(SceneState& scene, DrawingComponent& display, Random& random, SystemLayer& system);

    // The start values of the load handler: fish 1 swims at once, the others are held back.
    void reset();
    // The start-up stagger timer lets a held-back creature (CreatureIndex) swim.
    void release(int creature);
    // One swim step of a creature, drawn where the last step left it.
    void swim(int creature);
    void swimBackgroundFish();
    // Every second: counts the waits and the feeding fish's modes.
    void TimerFish_Timer();

    bool waiting(int creature) const { return waiting_[creature]; }

private:
    SceneState& scene_;
    DrawingComponent& display_;
    Random& random_;
    SystemLayer& system_;
    std::array<bool, 12> waiting_{};
};

}  // namespace bw
