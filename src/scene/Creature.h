#pragma once

#include <cstdint>

namespace bw {

// The run state of one of the twelve creatures (fish 1 to 9, dolphin, shark, turtle). Its
// settings and sprite (Shown, Speed, WaitLimit, Surface) are in SceneState::creatures.
struct Creature {
    bool Waiting = false;   // off screen, waiting to come back: neither moved nor drawn
    int16_t WaitCount = 0;  // seconds waited so far
    int16_t MarkX = 0;      // x at the last vertical drift
    int16_t StepCount = 0;  // step divider of the creatures that move every second step
    // The feeding fish (8 and 9) only.
    int16_t Mode = 1;       // behaviour 1 to 6
    int16_t ModeCount = 0;  // seconds in the current mode
    bool Halted = false;    // no horizontal movement
};

// One of the five dark fish far back in the tank. Their speed (1 pixel every second step)
// and their waits are fixed; the sprite is SceneState::DarkFishSurface.
struct BackgroundFish {
    bool Waiting = false;
    int16_t WaitCount = 0;
    int16_t StepCount = 0;
};

}  // namespace bw
