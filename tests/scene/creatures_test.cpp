#include "LifeTestScene.h"
#include "scene/Creatures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

namespace bw::life {
namespace {

constexpr int fish(int n) { return kFish1 + n - 1; }

struct Tank : LifeTestScene {
    Creatures creatures{scene, display, random, system};

    Tank() {
        for (CreatureSettings& c : scene.creatures) {
            c.Shown = 1;
            c.Speed = 1;
        }
    }
    SurfaceId surface(int c) const { return scene.creatures[c].Surface; }
    RecordingDisplay::Surface& sprite(int c) { return at(surface(c)); }
    bool drawn(int c) const {
        return display.log.contains(QStringLiteral("DrawSurface(%1)").arg(surface(c)));
    }
    // Lets the creature swim from (x, y).
    void swimFrom(int c, int x, int y) {
        creatures.release(c);
        put(surface(c), x, y);
    }
    // Swims until the creature leaves; its x after each step while it still swims.
    std::vector<int> swimUntilGone(int c, int maxSteps) {
        std::vector<int> xs;
        for (int i = 0; i < maxSteps && !creatures.waiting(c); ++i) {
            creatures.swim(c);
            if (!creatures.waiting(c)) xs.push_back(sprite(c).x);
        }
        return xs;
    }
    void tick(int times = 1) {
        for (int i = 0; i < times; ++i) creatures.TimerFish_Timer();
    }
};

TEST(Creatures, OnlyFishOneSwimsFromTheFirstFrame) {
    Tank tank;
    for (int c = 0; c < kCreatureCount; ++c) tank.creatures.swim(c);
    for (int c = 0; c < kCreatureCount; ++c) EXPECT_EQ(tank.drawn(c), c == fish(1)) << c;
    EXPECT_EQ(tank.sprite(fish(1)).x, -150);
}

TEST(Creatures, AnimatesOnlyWhenTheFrameIsDueAndDrawsBeforeMoving) {
    Tank tank;
    const SurfaceId s = tank.surface(fish(1));
    tank.creatures.swim(fish(1));
    EXPECT_TRUE(tank.display.calls(QStringLiteral("AdvanceFrame")).isEmpty());
    tank.display.framesDue = true;
    tank.display.clearLog();
    tank.creatures.swim(fish(1));
    const QStringList expected = {
        QStringLiteral("IsFrameDue(%1)").arg(s), QStringLiteral("AdvanceFrame(%1)").arg(s),
        QStringLiteral("DrawSurface(%1)").arg(s), QStringLiteral("MoveSurfaceX(%1,1)").arg(s)};
    EXPECT_EQ(tank.display.log.mid(0, 4), expected);
}

TEST(Creatures, ShownZeroIsNeverDrawnButItsWaitStillEnds) {
    Tank tank;
    tank.scene.creatures[fish(2)].Shown = 0;
    tank.scene.creatures[fish(2)].WaitLimit = 4;
    tank.tick(4);
    EXPECT_FALSE(tank.creatures.waiting(fish(2)));
    for (int i = 0; i < 10; ++i) tank.creatures.swim(fish(2));
    EXPECT_FALSE(tank.drawn(fish(2)));
}

struct Crossing {
    int creature;
    int speed;
    int renders;
    int dx;  // after all renders
    bool everySecondStep;
};

class CreatureCrossing : public testing::TestWithParam<Crossing> {};

TEST_P(CreatureCrossing, MovesItsWayAtItsPace) {
    const Crossing& row = GetParam();
    Tank tank;
    tank.scene.creatures[row.creature].Speed = static_cast<int16_t>(row.speed);
    tank.swimFrom(row.creature, 300, 300);
    int previous = 300;
    int moves = 0;
    bool movedLastStep = false;
    for (int i = 0; i < row.renders; ++i) {
        tank.creatures.swim(row.creature);
        const bool moved = tank.sprite(row.creature).x != previous;
        if (row.everySecondStep) {
            EXPECT_FALSE(moved && movedLastStep) << "render " << i;
        }
        moves += moved;
        movedLastStep = moved;
        previous = tank.sprite(row.creature).x;
    }
    EXPECT_EQ(tank.sprite(row.creature).x - 300, row.dx);
    EXPECT_EQ(moves, row.everySecondStep ? row.renders / 2 : row.renders);
    EXPECT_EQ(tank.display.calls(QStringLiteral("DrawSurface")).size(), row.renders);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CreatureCrossing,
    testing::Values(Crossing{fish(1), 3, 10, 30, false}, Crossing{fish(2), 2, 10, 20, false},
                    Crossing{fish(3), 4, 10, -40, false}, Crossing{fish(4), 1, 10, 10, false},
                    Crossing{fish(5), 2, 10, 20, false}, Crossing{fish(6), 3, 10, -30, false},
                    Crossing{fish(7), 1, 11, -5, true}, Crossing{fish(7), 3, 11, -15, true},
                    // The feeding fish keep to 1 pixel whatever their speed.
                    Crossing{fish(8), 4, 10, -10, false}, Crossing{fish(9), 4, 10, 10, false},
                    Crossing{kDolphin, 2, 10, -20, false}, Crossing{kShark, 3, 10, 30, false},
                    Crossing{kTurtle, 1, 11, -5, true}, Crossing{kTurtle, 4, 11, -20, true}));

struct Drift {
    int creature;
    int entryX;
    int speed;
    std::vector<int> driftXs;  // x after the step of each of the first drifts
    int dy;                    // +1 sinks, -1 rises
};

class CreatureDrift : public testing::TestWithParam<Drift> {};

TEST_P(CreatureDrift, DriftsByDistanceTravelled) {
    const Drift& row = GetParam();
    Tank tank;
    tank.scene.creatures[row.creature].Speed = static_cast<int16_t>(row.speed);
    tank.swimFrom(row.creature, row.entryX, 300);
    std::vector<int> driftXs;
    int y = 300;
    for (int i = 0; i < 400 && driftXs.size() < row.driftXs.size(); ++i) {
        tank.creatures.swim(row.creature);
        const int newY = tank.sprite(row.creature).y;
        if (newY != y) {
            EXPECT_EQ(newY - y, row.dy);
            driftXs.push_back(tank.sprite(row.creature).x);
        }
        y = newY;
    }
    EXPECT_EQ(driftXs, row.driftXs);
}

INSTANTIATE_TEST_SUITE_P(Table, CreatureDrift,
                         testing::Values(Drift{fish(3), 805, 1, {797, 794, 791}, +1},
                                         Drift{fish(3), 805, 4, {797, 793, 789}, +1},
                                         Drift{fish(4), -200, 1, {26, 52, 78}, +1},
                                         Drift{fish(5), -200, 1, {6, 12, 18}, +1},
                                         Drift{fish(7), 805, 1, {789, 778, 767}, +1},
                                         Drift{kDolphin, 805, 1, {797, 794, 791}, -1}));

TEST(Creatures, WithoutDriftTheHeightStays) {
    for (int c : {fish(1), fish(2), fish(6), fish(8), fish(9), int{kShark}, int{kTurtle}}) {
        Tank tank;
        tank.swimFrom(c, c == fish(8) || c == fish(6) || c == kTurtle ? 700 : 0, 300);
        for (int i = 0; i < 300; ++i) tank.creatures.swim(c);
        EXPECT_EQ(tank.sprite(c).y, 300) << c;
    }
}

struct Exit {
    int creature;
    int edge;  // the last x at which it still swims
    int entryX;
    int yMin, yMax;
    int markAfter;  // -1: none
};

class CreatureExit : public testing::TestWithParam<Exit> {};

TEST_P(CreatureExit, LeavesAtItsEdgeAndWaitsAtTheEntryAtANewHeight) {
    const Exit& row = GetParam();
    Tank tank;
    tank.system.stepMs = 1000;  // fish 4 takes a new seed from the clock on every exit
    const int direction = row.entryX < 0 ? +1 : -1;
    int lowest = 10000;
    int highest = -10000;
    for (int round = 0; round < 400; ++round) {
        tank.swimFrom(row.creature, row.edge - 3 * direction, 300);
        const std::vector<int> xs = tank.swimUntilGone(row.creature, 20);
        ASSERT_TRUE(tank.creatures.waiting(row.creature));
        ASSERT_FALSE(xs.empty());
        ASSERT_EQ(xs.back(), row.edge);
        EXPECT_EQ(tank.sprite(row.creature).x, row.entryX);
        EXPECT_EQ(tank.creatures.creature(row.creature).WaitCount, 0);
        if (row.markAfter != -1) {
            EXPECT_EQ(tank.creatures.creature(row.creature).MarkX, row.markAfter);
        }
        lowest = std::min<int>(lowest, tank.sprite(row.creature).y);
        highest = std::max<int>(highest, tank.sprite(row.creature).y);
    }
    EXPECT_GE(lowest, row.yMin);
    EXPECT_LE(highest, row.yMax);
    // Spread over the whole range.
    const int tenth = (row.yMax - row.yMin) / 10;
    EXPECT_LE(lowest, row.yMin + tenth);
    EXPECT_GE(highest, row.yMax - tenth);

    // Waiting off screen: neither drawn nor moved.
    tank.display.clearLog();
    tank.creatures.swim(row.creature);
    EXPECT_TRUE(tank.display.log.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, CreatureExit,
    testing::Values(Exit{fish(1), 800, -200, -19, 400, -1}, Exit{fish(2), 800, -200, -19, 790, -1},
                    Exit{fish(3), -200, 805, -19, 400, 800}, Exit{fish(4), 800, -200, -19, 400, 0},
                    Exit{fish(5), 800, -200, -19, 400, 0}, Exit{fish(6), -200, 805, -19, 400, -1},
                    Exit{fish(7), -200, 805, -19, 400, 800}, Exit{fish(8), -150, 805, 461, 520, -1},
                    Exit{fish(9), 805, -150, 461, 520, -1},
                    Exit{kDolphin, -220, 805, -19, 500, 800}, Exit{kShark, 805, -255, -19, 500, -1},
                    Exit{kTurtle, -220, 805, -19, 300, -1}));

// The heights chosen after fish `c` leaves at the clock time `clock`, and the random value
// that follows them.
std::pair<int, double> afterLeaving(int c, const QDateTime& clock) {
    Tank tank;
    tank.system.setNow(clock);
    tank.swimFrom(c, c == fish(4) || c == fish(1) ? 800 : 0, 300);
    tank.creatures.swim(c);
    EXPECT_TRUE(tank.creatures.waiting(c));
    return {tank.sprite(c).y, tank.random.next()};
}

TEST(Creatures, FishFourReseedsFromTheClockWhenItLeaves) {
    const QDateTime morning(QDate(2024, 3, 5), QTime(9, 0, 0));
    const QDateTime later = morning.addSecs(1);
    EXPECT_EQ(afterLeaving(fish(4), morning), afterLeaving(fish(4), morning));
    EXPECT_NE(afterLeaving(fish(4), morning), afterLeaving(fish(4), later));
    // Other creatures keep the sequence of the seed, whatever the time.
    EXPECT_EQ(afterLeaving(fish(1), morning), afterLeaving(fish(1), later));
}

TEST(Creatures, ReturnsWhenTheCountReachesItsLimitAndIsDrawnAtTheEntry) {
    Tank tank;
    tank.scene.creatures[fish(6)].WaitLimit = 5;
    tank.swimFrom(fish(6), -200, 300);
    tank.creatures.swim(fish(6));
    ASSERT_TRUE(tank.creatures.waiting(fish(6)));
    tank.tick(4);
    EXPECT_TRUE(tank.creatures.waiting(fish(6)));
    EXPECT_EQ(tank.creatures.creature(fish(6)).WaitCount, 4);
    tank.tick();
    EXPECT_FALSE(tank.creatures.waiting(fish(6)));
    EXPECT_EQ(tank.creatures.creature(fish(6)).WaitCount, 0);
    tank.display.clearLog();
    tank.creatures.swim(fish(6));
    EXPECT_TRUE(tank.drawn(fish(6)));
    EXPECT_EQ(tank.sprite(fish(6)).x, 804);
}

TEST(Creatures, HeldBackCreaturesEnterAtTheirReleaseOrTheirOwnLimit) {
    Tank tank;
    tank.scene.creatures[fish(2)].WaitLimit = 25;
    tank.scene.creatures[kDolphin].WaitLimit = 2;
    tank.tick(2);
    EXPECT_FALSE(tank.creatures.waiting(kDolphin));  // its limit came first
    EXPECT_TRUE(tank.creatures.waiting(fish(2)));
    tank.creatures.release(fish(2));
    EXPECT_FALSE(tank.creatures.waiting(fish(2)));
    EXPECT_EQ(tank.creatures.creature(fish(2)).WaitCount, 2);  // left alone
}

TEST(Creatures, ALimitBelowOneKeepsTheCreatureAwayWithoutOverflow) {
    for (int limit : {0, -1, -32768}) {
        Tank tank;
        tank.scene.creatures[fish(3)].WaitLimit = static_cast<int16_t>(limit);
        tank.tick(40000);
        EXPECT_TRUE(tank.creatures.waiting(fish(3))) << limit;
        EXPECT_EQ(tank.creatures.creature(fish(3)).WaitCount, 0) << limit;
    }
}

TEST(Creatures, TheLongestLimitIsReachedWithoutOverflow) {
    Tank tank;
    tank.scene.creatures[fish(3)].WaitLimit = 32767;
    tank.tick(32766);
    EXPECT_TRUE(tank.creatures.waiting(fish(3)));
    tank.tick();
    EXPECT_FALSE(tank.creatures.waiting(fish(3)));
}

// The y at which the feeding fish is drawn on each of `renders` renders.
std::vector<int> drawnHeights(Tank& tank, int c, int mode, int startY, int renders) {
    tank.swimFrom(c, 400, startY);
    tank.creatures.creature(c).Mode = static_cast<int16_t>(mode);
    std::vector<int> ys;
    for (int i = 0; i < renders; ++i) {
        ys.push_back(tank.sprite(c).y);
        tank.creatures.swim(c);
    }
    return ys;
}

TEST(FeedingFish, FishEightSettlesOneBelowTheBottomLimit) {
    Tank tank;
    const std::vector<int> ys = drawnHeights(tank, fish(8), 6, 505, 20);
    EXPECT_EQ(std::vector<int>(ys.begin(), ys.begin() + 7),
              (std::vector<int>{505, 506, 507, 508, 509, 510, 511}));
    for (std::size_t i = 7; i < ys.size(); ++i) EXPECT_EQ(ys[i], 511) << i;
}

TEST(FeedingFish, FishNineBobsBetweenTheLimitAndOneBelow) {
    Tank tank;
    const std::vector<int> ys = drawnHeights(tank, fish(9), 6, 505, 20);
    for (std::size_t i = 0; i <= 6; ++i) EXPECT_EQ(ys[i], 505 + static_cast<int>(i));
    for (std::size_t i = 7; i < ys.size(); ++i) EXPECT_EQ(ys[i], i % 2 == 0 ? 511 : 510) << i;
}

TEST(FeedingFish, BelowTheLimitTheyArePulledBackUp) {
    Tank tank;
    EXPECT_EQ(drawnHeights(tank, fish(8), 1, 560, 3), (std::vector<int>{560, 510, 510}));
    EXPECT_EQ(drawnHeights(tank, fish(9), 3, 560, 3), (std::vector<int>{560, 510, 509}));
}

struct ModeRow {
    int mode;
    bool halted;
    int dy;  // per render, +1 sinks
};

class FeedingMode : public testing::TestWithParam<ModeRow> {};

TEST_P(FeedingMode, StopsRisesOrSinks) {
    const ModeRow& row = GetParam();
    for (int c : {fish(8), fish(9)}) {
        Tank tank;
        // The first render sets the halt of the mode; the second shows it.
        const std::vector<int> ys = drawnHeights(tank, c, row.mode, 300, 2);
        const int x = tank.sprite(c).x;
        const int y = tank.sprite(c).y;
        tank.creatures.swim(c);
        EXPECT_EQ(tank.creatures.creature(c).Halted, row.halted);
        EXPECT_EQ(tank.sprite(c).x - x, row.halted ? 0 : (c == fish(8) ? -1 : 1)) << c;
        EXPECT_EQ(ys[1] - ys[0], row.dy);
        EXPECT_EQ(tank.sprite(c).y - y, row.dy);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, FeedingMode,
                         testing::Values(ModeRow{1, false, 0}, ModeRow{2, true, 0},
                                         ModeRow{3, false, -1}, ModeRow{4, true, 0},
                                         ModeRow{5, true, 0}, ModeRow{6, false, +1}));

// The modes fish `c` picks over `changes` mode changes while it swims.
std::vector<int> modePicks(Tank& tank, int c, int changes) {
    tank.swimFrom(c, 400, 300);
    std::vector<int> modes;
    for (int i = 0; i < changes; ++i) {
        tank.put(tank.surface(c), 400, 300);
        tank.tick(2);
        tank.creatures.swim(c);
        EXPECT_EQ(tank.creatures.creature(c).ModeCount, 2);  // no change before the third second
        tank.tick();
        tank.creatures.swim(c);
        EXPECT_EQ(tank.creatures.creature(c).ModeCount, 0);
        modes.push_back(tank.creatures.creature(c).Mode);
    }
    return modes;
}

int repeatsOfSix(const std::vector<int>& modes) {
    int repeats = 0;
    for (std::size_t i = 1; i < modes.size(); ++i) repeats += modes[i - 1] == 6 && modes[i] == 6;
    return repeats;
}

TEST(FeedingFish, FishEightNeverPicksModeSixTwiceInARowFishNineCan) {
    Tank tank;
    const std::vector<int> eight = modePicks(tank, fish(8), 3000);
    const std::vector<int> nine = modePicks(tank, fish(9), 3000);
    for (const auto* modes : {&eight, &nine}) {
        for (int mode = 1; mode <= 6; ++mode)
            EXPECT_NE(std::count(modes->begin(), modes->end(), mode), 0) << mode;
        EXPECT_TRUE(
            std::all_of(modes->begin(), modes->end(), [](int m) { return m >= 1 && m <= 6; }));
    }
    EXPECT_EQ(repeatsOfSix(eight), 0);
    EXPECT_GT(repeatsOfSix(nine), 0);
}

TEST(FeedingFish, ModeCountCyclesWhileWaitingAndTheHaltEndsWithTheWait) {
    Tank tank;
    tank.scene.creatures[fish(8)].WaitLimit = 7;
    tank.creatures.creature(fish(8)).Halted = true;
    std::vector<int> counts;
    for (int i = 0; i < 7; ++i) {
        tank.tick();
        counts.push_back(tank.creatures.creature(fish(8)).ModeCount);
    }
    EXPECT_EQ(counts, (std::vector<int>{1, 2, 3, 4, 5, 0, 1}));
    EXPECT_FALSE(tank.creatures.waiting(fish(8)));
    EXPECT_FALSE(tank.creatures.creature(fish(8)).Halted);
}

struct DarkFish : Tank {
    DarkFish() { scene.ColorFish = 1; }
    SurfaceId dark(int i) const { return scene.DarkFishSurface[i]; }
};

TEST(BackgroundFish, FirstSwimsAndTheOthersFollowAfterTheirStartCounts) {
    DarkFish tank;
    const int ticksToEnter[Creatures::kBackgroundCount] = {0, 6, 12, 23, 28};
    for (int second = 0; second <= 28; ++second) {
        for (int i = 0; i < Creatures::kBackgroundCount; ++i)
            EXPECT_EQ(tank.creatures.backgroundFish(i).Waiting, second < ticksToEnter[i])
                << "fish " << i + 1 << " second " << second;
        tank.tick();
    }
}

struct DarkExit {
    int fish;  // 0 to 4
    int edge;
    int entryX;
    int wait;
};

class BackgroundExit : public testing::TestWithParam<DarkExit> {};

TEST_P(BackgroundExit, CrossesSlowlyLeavesAndWaitsItsFixedTime) {
    const DarkExit& row = GetParam();
    DarkFish tank;
    tank.scene.creatures[fish(1)].WaitLimit = 1000;
    BackgroundFish& me = tank.creatures.backgroundFish(row.fish);
    const int direction = row.entryX < 0 ? +1 : -1;
    int lowest = 10000, highest = -10000;
    for (int round = 0; round < 300; ++round) {
        me.Waiting = false;
        tank.put(tank.dark(row.fish), row.edge - 4 * direction, 300);
        int swum = 0;
        std::vector<int> xs;
        while (!me.Waiting && swum < 20) {
            tank.creatures.swimBackgroundFish();
            ++swum;
            if (!me.Waiting) xs.push_back(tank.at(tank.dark(row.fish)).x);
        }
        ASSERT_TRUE(me.Waiting);
        ASSERT_EQ(xs.back(), row.edge);
        EXPECT_GE(swum, 8);  // 1 pixel every second step
        EXPECT_EQ(tank.at(tank.dark(row.fish)).x, row.entryX);
        lowest = std::min<int>(lowest, tank.at(tank.dark(row.fish)).y);
        highest = std::max<int>(highest, tank.at(tank.dark(row.fish)).y);
    }
    EXPECT_GE(lowest, -4);
    EXPECT_LE(highest, 275);
    EXPECT_LE(lowest, 20);
    EXPECT_GE(highest, 250);

    tank.tick(row.wait - 1);
    EXPECT_TRUE(me.Waiting);
    tank.tick();
    EXPECT_FALSE(me.Waiting);
    EXPECT_EQ(me.WaitCount, 0);
}

INSTANTIATE_TEST_SUITE_P(Table, BackgroundExit,
                         testing::Values(DarkExit{0, 800, -200, 45}, DarkExit{1, -50, 801, 40},
                                         DarkExit{2, -50, 801, 43}, DarkExit{3, 800, -200, 47},
                                         DarkExit{4, 800, -200, 45}));

TEST(BackgroundFish, StayHiddenWithoutColorFish) {
    DarkFish tank;
    tank.scene.ColorFish = 0;
    tank.creatures.swimBackgroundFish();
    EXPECT_TRUE(tank.display.log.isEmpty());
}

// An hour of the factory aquarium on a scene `width` units wide: ten full renders a second
// (60 frames a second with TunePC 6) and the tick every second.
struct Hour {
    SceneSpan span;
    // On average, the creatures and the background fish whose x lies within the span, per
    // 800 units of its width.
    double inSight = 0;
    double backgroundInSight = 0;
    std::array<int, kCreatureCount> crossings{};  // from outside one edge to outside the other
    int strayPasses = 0;  // passes that began or ended within the span
    int longestPass = 0;  // in renders, those still under way included
};

Hour swimAnHour(int width) {
    LifeTestScene tank({}, width);
    Creatures creatures(tank.scene, tank.display, tank.random, tank.system);
    Hour hour;
    hour.span = tank.scene.span;

    // Whose body each surface is: creatures by CreatureIndex, background fish after them.
    std::map<SurfaceId, int> owner;
    for (int c = 0; c < kCreatureCount; ++c) {
        owner[tank.scene.creatures[c].Surface] = c;
        for (SurfaceId s : tank.scene.spareCreatureSurfaces[c]) owner[s] = c;
    }
    for (int k = 0; k < kDarkFish; ++k) {
        owner[tank.scene.DarkFishSurface[k]] = kCreatureCount + k;
        for (SurfaceId s : tank.scene.spareDarkFishSurfaces[k]) owner[s] = kCreatureCount + k;
    }

    struct Pass {
        int firstX, lastX, renders;
    };
    std::map<SurfaceId, Pass> passes;  // of the bodies drawn on the last render
    std::map<SurfaceId, int> xBefore, drawsBefore;
    long sightings = 0, backgroundSightings = 0;
    tank.display.logging = false;
    constexpr int kRenders = 36'000;
    constexpr int kWarmUp = 6'000;  // the tank fills for as long as the slowest crossing lasts
    for (int render = 0; render < kRenders; ++render) {
        // A body is drawn before it moves: where it stands now is where it is seen.
        for (const auto& [surface, who] : owner) {
            xBefore[surface] = tank.at(surface).x;
            drawsBefore[surface] = tank.at(surface).draws;
        }
        creatures.swimBackgroundFish();
        for (int c = 0; c < kCreatureCount; ++c) creatures.swim(c);
        if (render % 10 == 9) creatures.TimerFish_Timer();

        std::map<SurfaceId, Pass> drawn;
        for (const auto& [surface, who] : owner) {
            if (tank.at(surface).draws == drawsBefore[surface]) continue;
            const int x = xBefore[surface];
            const auto before = passes.find(surface);
            Pass pass = before == passes.end() ? Pass{x, x, 0} : before->second;
            pass.lastX = x;
            ++pass.renders;
            drawn[surface] = pass;
            if (render >= kWarmUp && x >= hour.span.left && x < hour.span.right)
                ++(who < kCreatureCount ? sightings : backgroundSightings);
        }
        for (const auto& [surface, pass] : passes) {
            if (drawn.count(surface)) continue;
            const bool edgeToEdge =
                (pass.firstX < hour.span.left && pass.lastX >= hour.span.right) ||
                (pass.firstX >= hour.span.right && pass.lastX < hour.span.left);
            hour.strayPasses += !edgeToEdge;
            if (owner.at(surface) < kCreatureCount) ++hour.crossings[owner.at(surface)];
            hour.longestPass = std::max(hour.longestPass, pass.renders);
        }
        passes = std::move(drawn);
    }
    for (const auto& [surface, pass] : passes)
        hour.longestPass = std::max(hour.longestPass, pass.renders);
    const double per800 = 800.0 / hour.span.width() / (kRenders - kWarmUp);
    hour.inSight = sightings * per800;
    hour.backgroundInSight = backgroundSightings * per800;
    return hour;
}

// Each creature keeps its rhythm, so as many are in sight per 800 units as on a 4:3 screen. Once
// the tank has filled the count differs only by the passes the end of the hour cuts short: at
// most one in-sight stretch of a creature's some 23 rounds in 50 minutes, and those of twelve
// creatures do not all fall one way. 3 % is six times what is seen; creatures that waited only
// after crossing the whole width would show 17 % fewer at 1067 units and half at 2133.
TEST(CreaturesOnAWideScene, CrossEdgeToEdgeAsOftenAndAsDenseAsOnAFourByThreeScreen) {
    const Hour reference = swimAnHour(800);
    for (int width : {800, 1067, 2133}) {
        const Hour hour = width == 800 ? reference : swimAnHour(width);
        ASSERT_EQ(hour.span.width(), width);
        EXPECT_EQ(hour.strayPasses, 0) << width;
        // The slowest swim half a unit a render, the feeding fish stop about half the time.
        EXPECT_LT(hour.longestPass, 4 * (width + 300)) << width;
        for (int c = 0; c < kCreatureCount; ++c)
            EXPECT_NEAR(hour.crossings[c], reference.crossings[c], 1) << width << " creature " << c;
        EXPECT_NEAR(hour.inSight / reference.inSight, 1.0, 0.03) << width;
        EXPECT_NEAR(hour.backgroundInSight / reference.backgroundInSight, 1.0, 0.03) << width;
    }
    EXPECT_GT(reference.inSight, 5.0);  // the factory tank is not empty
}

}  // namespace
}  // namespace bw::life
