#pragma once

#include "scene/Creature.h"
#include "scene/DrawingComponent.h"
#include "scene/SceneSpan.h"

#include <array>
#include <cstdint>

namespace bw {

class Random;
class SystemLayer;
struct SceneState;

// The twelve creatures and the five background fish: their swim steps, waits and returns.
// They enter just outside one edge of the span and leave just outside the other.
class Creatures {
public:
    static constexpr int kCount = 12;
    static constexpr int kBackgroundCount = 5;
    // Seconds each background fish waits off screen.
    static constexpr std::array<int16_t, kBackgroundCount> kBackgroundWaits = {45, 40, 43, 47, 45};
    // Feeding fish do not sink below this y.
    static constexpr int16_t kBottomLimit = 510;
    // How one creature crosses the tank (the table is in the source).
    struct Motion;

    Creatures(SceneState& scene, DrawingComponent& display, Random& random, SystemLayer& system);

    // The start values of the load handler: fish 1 swims at once, the others are held back.
    // Takes the scene's span, so it is called once the scene is loaded.
    void reset();
    // The start-up stagger timer lets a held-back creature (CreatureIndex) swim.
    void release(int creature);
    // One swim step of a creature, drawn where the last step left it.
    void swim(int creature);
    void swimBackgroundFish();
    // Every second: counts the waits and the feeding fish's modes.
    void TimerFish_Timer();

    bool waiting(int creature) const { return creatures_[creature].Waiting; }
    Creature& creature(int creature) { return creatures_[creature]; }
    const Creature& creature(int creature) const { return creatures_[creature]; }
    BackgroundFish& backgroundFish(int fish) { return background_[fish]; }
    const BackgroundFish& backgroundFish(int fish) const { return background_[fish]; }

private:
    void feed(int creature, SurfaceId surface);
    void leave(const Motion& motion, SurfaceId surface);
    void reseedFromClock();

    SceneState& scene_;
    DrawingComponent& display_;
    Random& random_;
    SystemLayer& system_;
    std::array<Creature, kCount> creatures_{};
    std::array<BackgroundFish, kBackgroundCount> background_{};
};

}  // namespace bw
