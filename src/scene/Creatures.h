#pragma once

#include "scene/Creature.h"
#include "scene/DrawingComponent.h"
#include "scene/SceneSpan.h"

#include <array>
#include <cstdint>
#include <vector>

namespace bw {

class Random;
class SystemLayer;
struct SceneState;

// The twelve creatures and the five background fish: their swim steps, waits and returns.
//
// They enter just outside one edge of the span and leave just outside the other. On a scene
// wider than 4:3 each keeps the rhythm it has on a 4:3 screen, so that as many are in sight per
// unit of width: it goes to wait once it has swum as far as across a 4:3 screen, and comes back
// after its usual wait, while its body swims on to the far edge as a spare body (one of
// SceneState's spare surfaces) and a free spare body waits at the entry in its place.
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

    // The bodies beyond the first that each creature has on a scene of this span: enough for
    // one per further 800 units, since a creature comes back at most once per 4:3 crossing.
    static int spareBodies(SceneSpan span);

    // The start values of the load handler: fish 1 swims at once, the others are held back.
    // Takes the scene's span and spare surfaces, so it is called once the scene is loaded.
    void reset();
    // The start-up stagger timer lets a held-back creature (CreatureIndex) swim.
    void release(int creature);
    // One swim step of a creature (and of its spare bodies still crossing), drawn where the
    // last step left it.
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
    template <class State>
    struct Body {
        SurfaceId surface = 0;
        bool crossing = false;
        State state{};
    };

    int16_t step(int creature, Creature& me, SurfaceId surface);
    int16_t stepBackground(int fish, BackgroundFish& me, SurfaceId surface);
    template <class State>
    bool passEnds(const Motion& motion, int16_t x, const State& state, SurfaceId& surface,
                  std::vector<Body<State>>& bodies);
    void feed(int creature, Creature& me, SurfaceId surface);
    void leave(const Motion& motion, SurfaceId surface);
    void reseedFromClock();

    SceneState& scene_;
    DrawingComponent& display_;
    Random& random_;
    SystemLayer& system_;
    std::array<Creature, kCount> creatures_{};
    std::array<BackgroundFish, kBackgroundCount> background_{};
    std::array<std::vector<Body<Creature>>, kCount> bodies_;
    std::array<std::vector<Body<BackgroundFish>>, kBackgroundCount> backgroundBodies_;
};

}  // namespace bw
