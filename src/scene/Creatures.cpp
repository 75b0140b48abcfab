#include "scene/Creatures.h"

#include "scene/DrawingComponent.h"
#include "scene/SceneState.h"
#include "system/Random.h"
#include "system/SystemLayer.h"

#include <QDateTime>
#include <cstdint>
#include <utility>

namespace bw {

// How often a slow creature moves; outside the unnamed namespace because Creatures::Motion,
// a member type, holds one.
enum class Divider {
    EveryStep,
    CountFirst,  // count, then move when the count reaches 2
    TestFirst,   // move when the count is 2, then count
};

namespace {

constexpr int16_t kNoMark = INT16_MIN;
constexpr int kFish8 = kFish1 + 7;
constexpr int kFish9 = kFish1 + 8;

bool isFeedingFish(int creature) { return creature == kFish8 || creature == kFish9; }

}  // namespace

// How one creature crosses the tank. The x values are those of a 4:3 screen, [0, 800); on a
// wider span each moves with the edge it lies next to (see entryShift and farShift).
struct Creatures::Motion {
    int16_t direction;  // +1 swims right, -1 left
    bool onePixel;      // moves 1 pixel whatever its speed
    Divider divider;
    int16_t driftAfter;  // 0: no drift; else pixels travelled past MarkX before it drifts
    int16_t driftUp;     // MoveSurfaceUp amount of one drift: +1 rises, -1 sinks
    int16_t exitX;       // it leaves once x is beyond this, in its direction
    int16_t entryX;
    int16_t heightTop;  // new y = floor(heightTop - heightSpan * r)
    int16_t heightSpan;
    int16_t markAfterLeaving;
    bool reseedOnLeaving;
};

namespace {

using Motion = Creatures::Motion;
constexpr auto kEvery = Divider::EveryStep;

// Fish 1 to 9, dolphin, shark, turtle.
constexpr Motion kMotions[kCreatureCount] = {
    {+1, false, kEvery, 0, 0, 800, -200, 400, 419, kNoMark, false},
    {+1, false, kEvery, 0, 0, 800, -200, 790, 809, kNoMark, false},
    {-1, false, kEvery, 2, -1, -200, 805, 400, 419, 800, false},
    {+1, false, kEvery, 25, -1, 800, -200, 400, 419, 0, true},
    {+1, false, kEvery, 5, -1, 800, -200, 400, 419, 0, false},
    {-1, false, kEvery, 0, 0, -200, 805, 400, 419, kNoMark, false},
    {-1, false, Divider::CountFirst, 10, -1, -200, 805, 400, 419, 800, false},
    {-1, true, kEvery, 0, 0, -150, 805, 520, 59, kNoMark, false},
    {+1, true, kEvery, 0, 0, 805, -150, 520, 59, kNoMark, false},
    {-1, false, kEvery, 2, +1, -220, 805, 500, 519, 800, false},
    {+1, false, kEvery, 0, 0, 805, -255, 500, 519, kNoMark, false},
    {-1, false, Divider::TestFirst, 0, 0, -220, 805, 300, 319, kNoMark, false},
};

constexpr Motion kBackgroundRight = {+1, true, Divider::TestFirst, 0, 0, 800, -200, 275, 279,
                                     kNoMark, false};
constexpr Motion kBackgroundLeft = {-1, true, Divider::TestFirst, 0, 0, -50, 801, 275, 279,
                                    kNoMark, false};
constexpr const Motion* kBackgroundMotions[Creatures::kBackgroundCount] = {
    &kBackgroundRight, &kBackgroundLeft, &kBackgroundLeft, &kBackgroundRight, &kBackgroundRight};

// Whether a creature moves on this step; keeps its divider counting.
bool dividerAllows(Divider divider, int16_t& stepCount) {
    bool move = true;
    switch (divider) {
        case Divider::EveryStep:
            break;
        case Divider::CountFirst:
            ++stepCount;
            move = stepCount == 2;
            if (move || stepCount > 2) stepCount = 0;
            break;
        case Divider::TestFirst:
            move = stepCount == 2;
            if (move) stepCount = 0;
            ++stepCount;
            if (stepCount > 2) stepCount = 0;
            break;
    }
    return move;
}

bool beyond(const Motion& motion, int x, int limit) {
    return motion.direction > 0 ? x > limit : x < limit;
}

// How far the span's edge a creature enters by, and the one it leaves by, lie from where
// they lie on a 4:3 screen.
int entryShift(const Motion& motion, const SceneSpan& span) {
    return motion.direction > 0 ? span.left : span.right - SceneSpan::kBlockWidth;
}
int farShift(const Motion& motion, const SceneSpan& span) {
    return motion.direction > 0 ? span.right - SceneSpan::kBlockWidth : span.left;
}

// Where the creature would leave a 4:3 screen whose entry edge is the span's; where it
// leaves the span.
int passEnd(const Motion& motion, const SceneSpan& span) {
    return motion.exitX + entryShift(motion, span);
}
int farExit(const Motion& motion, const SceneSpan& span) {
    return motion.exitX + farShift(motion, span);
}

// Counts one second of a wait; true when the wait is over. A limit below 1 is never reached,
// so the creature stays away and its count stops where it is.
bool waitOver(bool waiting, int16_t& waitCount, int16_t limit) {
    if (!waiting || limit < 1) return false;
    if (waitCount < limit) ++waitCount;
    return waitCount >= limit;
}

}  // namespace

Creatures::Creatures(SceneState& scene, DrawingComponent& display, Random& random,
                     SystemLayer& system)
    : scene_(scene), display_(display), random_(random), system_(system) {
    reset();
}

int Creatures::spareBodies(SceneSpan span) {
    return (span.width() + SceneSpan::kBlockWidth - 1) / SceneSpan::kBlockWidth - 1;
}

void Creatures::reset() {
    creatures_.fill(Creature{});
    for (int c = 0; c < kCount; ++c) {
        creatures_[c].Waiting = c != kFish1;
        // The drifting ones start with the mark they take when they leave: their entry edge.
        const Motion& motion = kMotions[c];
        if (motion.markAfterLeaving != kNoMark)
            creatures_[c].MarkX =
                static_cast<int16_t>(motion.markAfterLeaving + entryShift(motion, scene_.span));
        bodies_[c].clear();
        for (SurfaceId surface : scene_.spareCreatureSurfaces[c])
            bodies_[c].push_back({surface, false, {}});
    }

    constexpr int16_t kBackgroundStartCounts[kBackgroundCount] = {0, 34, 31, 24, 17};
    for (int i = 0; i < kBackgroundCount; ++i) {
        background_[i] = BackgroundFish{};
        background_[i].Waiting = i != 0;
        background_[i].WaitCount = kBackgroundStartCounts[i];
        backgroundBodies_[i].clear();
        for (SurfaceId surface : scene_.spareDarkFishSurfaces[i])
            backgroundBodies_[i].push_back({surface, false, {}});
    }
}

void Creatures::release(int creature) {
    if (creature < 0 || creature >= kCount) return;
    creatures_[creature].Waiting = false;
}

void Creatures::swim(int creature) {
    if (creature < 0 || creature >= kCount) return;
    CreatureSettings& settings = scene_.creatures[creature];
    if (settings.Shown != 1) return;
    const Motion& motion = kMotions[creature];

    // The spare bodies first: one handed a body below takes its own first step next time.
    for (Body<Creature>& body : bodies_[creature]) {
        if (!body.crossing) continue;
        const int16_t x = step(creature, body.state, body.surface);
        body.crossing = !beyond(motion, x, farExit(motion, scene_.span));
    }

    Creature& me = creatures_[creature];
    if (me.Waiting) return;
    const int16_t x = step(creature, me, settings.Surface);
    if (passEnds(motion, x, me, settings.Surface, bodies_[creature])) {
        leave(motion, settings.Surface);
        me.Waiting = true;
        me.WaitCount = 0;
        if (motion.markAfterLeaving != kNoMark)
            me.MarkX =
                static_cast<int16_t>(motion.markAfterLeaving + entryShift(motion, scene_.span));
    }
}

// Animates, draws and moves one body of a creature; its x after the move.
int16_t Creatures::step(int creature, Creature& me, SurfaceId surface) {
    const Motion& motion = kMotions[creature];
    if (display_.IsFrameDue(surface)) display_.AdvanceFrame(surface);
    display_.DrawSurface(surface);

    const bool feeding = isFeedingFish(creature);
    if (!(feeding && me.Halted) && dividerAllows(motion.divider, me.StepCount)) {
        const int pixels = motion.onePixel ? 1 : scene_.creatures[creature].Speed;
        display_.MoveSurfaceX(surface, static_cast<int16_t>(motion.direction * pixels));
    }
    if (feeding) feed(creature, me, surface);

    const int16_t x = display_.GetSurfaceX(surface);
    // The drift follows the distance travelled, not the time.
    if (motion.driftAfter > 0 && motion.direction * (x - me.MarkX) > motion.driftAfter) {
        me.MarkX = x;
        display_.MoveSurfaceUp(surface, motion.driftUp);
    }
    return x;
}

// Whether a creature at x has ended its pass and goes to wait. That is once it is past where
// it would leave a 4:3 screen. Short of the far edge of a wider span its body swims on as a
// spare one, whose surface it takes to wait with; while no spare is free it swims on itself,
// until one is or it leaves the span.
template <class State>
bool Creatures::passEnds(const Motion& motion, int16_t x, const State& state, SurfaceId& surface,
                         std::vector<Body<State>>& bodies) {
    if (!beyond(motion, x, passEnd(motion, scene_.span))) return false;
    if (beyond(motion, x, farExit(motion, scene_.span))) return true;
    for (Body<State>& body : bodies) {
        if (body.crossing) continue;
        body.crossing = true;
        body.state = state;
        std::swap(body.surface, surface);
        return true;
    }
    return false;
}

// The feeding fish stop, rise or sink by mode, never below the bottom limit, and change
// mode every few seconds.
void Creatures::feed(int creature, Creature& me, SurfaceId surface) {
    const int16_t y = display_.GetSurfaceY(surface);

    int16_t up = 0;
    switch (me.Mode) {
        case 1:
            me.Halted = false;
            break;
        case 2:
        case 4:
        case 5:
            me.Halted = true;
            break;
        case 3:
            me.Halted = false;
            up = 1;
            break;
        case 6:
            me.Halted = false;
            up = -1;
            break;
        default:
            break;
    }

    // Fish 8 is pulled back before its pixel and so settles one below the limit; fish 9
    // after it, so it bobs between the limit and one below.
    if (creature == kFish8) {
        if (y > kBottomLimit) display_.SetSurfaceY(surface, kBottomLimit);
        if (up != 0) display_.MoveSurfaceUp(surface, up);
    } else {
        if (up != 0) display_.MoveSurfaceUp(surface, up);
        if (y > kBottomLimit) display_.SetSurfaceY(surface, kBottomLimit);
    }

    if (me.ModeCount == 3) {
        me.Mode = creature == kFish8 && me.Mode == 6 ? static_cast<int16_t>(random_.next(5, 1))
                                                     : static_cast<int16_t>(random_.next(6, 1));
        me.ModeCount = 0;
    }
}

// Off screen at the entry edge, at a new random height, where it waits.
void Creatures::leave(const Motion& motion, SurfaceId surface) {
    display_.SetSurfaceX(surface,
                         static_cast<int16_t>(motion.entryX + entryShift(motion, scene_.span)));
    if (motion.reseedOnLeaving) reseedFromClock();
    display_.SetSurfaceY(surface,
                         static_cast<int16_t>(random_.next(-motion.heightSpan, motion.heightTop)));
}

void Creatures::reseedFromClock() {
    random_.reseed(static_cast<uint32_t>(system_.Now().toMSecsSinceEpoch()));
}

void Creatures::swimBackgroundFish() {
    if (scene_.ColorFish != 1) return;
    for (int i = 0; i < kBackgroundCount; ++i) {
        const Motion& motion = *kBackgroundMotions[i];
        for (Body<BackgroundFish>& body : backgroundBodies_[i]) {
            if (!body.crossing) continue;
            const int16_t x = stepBackground(i, body.state, body.surface);
            body.crossing = !beyond(motion, x, farExit(motion, scene_.span));
        }

        BackgroundFish& fish = background_[i];
        if (fish.Waiting) continue;
        SurfaceId& surface = scene_.DarkFishSurface[i];
        const int16_t x = stepBackground(i, fish, surface);
        if (passEnds(motion, x, fish, surface, backgroundBodies_[i])) {
            leave(motion, surface);
            fish.Waiting = true;
            fish.WaitCount = 0;
        }
    }
}

int16_t Creatures::stepBackground(int fish, BackgroundFish& me, SurfaceId surface) {
    const Motion& motion = *kBackgroundMotions[fish];
    if (display_.IsFrameDue(surface)) display_.AdvanceFrame(surface);
    display_.DrawSurface(surface);
    if (dividerAllows(motion.divider, me.StepCount))
        display_.MoveSurfaceX(surface, motion.direction);
    return display_.GetSurfaceX(surface);
}

void Creatures::TimerFish_Timer() {
    constexpr int kCountOrder[kCount] = {kTurtle,    kDolphin,   kShark,     kFish1,
                                         kFish1 + 1, kFish1 + 2, kFish1 + 3, kFish1 + 4,
                                         kFish1 + 5, kFish1 + 6, kFish8,     kFish9};
    for (int c : kCountOrder) {
        Creature& me = creatures_[c];
        if (waitOver(me.Waiting, me.WaitCount, scene_.creatures[c].WaitLimit)) {
            me.Waiting = false;
            me.WaitCount = 0;
            if (isFeedingFish(c)) me.Halted = false;
        }
    }
    for (int i = 0; i < kBackgroundCount; ++i) {
        BackgroundFish& fish = background_[i];
        if (waitOver(fish.Waiting, fish.WaitCount, kBackgroundWaits[i])) {
            fish.Waiting = false;
            fish.WaitCount = 0;
        }
    }
    for (int c : {kFish8, kFish9}) {
        Creature& me = creatures_[c];
        if (++me.ModeCount > 5) me.ModeCount = 0;
        // A spare body still crossing keeps changing its mode, or a halted one would stay.
        for (Body<Creature>& body : bodies_[c]) {
            if (body.crossing && ++body.state.ModeCount > 5) body.state.ModeCount = 0;
        }
    }
}

}  // namespace bw
