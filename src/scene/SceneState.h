#pragma once

#include "scene/DrawingComponent.h"
#include "scene/SceneSpan.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace bw {

// The 43 scenery objects, in the order of the object table (and of the stored positions).
enum SceneObjectIndex : int {
    kWall = 0,
    kBottom1 = 1,  // .. kBottom1 + 5
    kDarkCliff1 = 7,  // .. + 2
    kCastle = 10,
    kAnchor,
    kCity,
    kHorse,
    kLiberty,
    kLighthouse,
    kLighthouse2,
    kPyramid,
    kRome,
    kStatue1,
    kTotem,
    kStatue2,
    kTreasure,
    kColumns,
    kCoral1 = 24,  // .. + 13
    kCliff1 = 38,  // .. + 4
    kSceneObjectCount = 43,
};

// One scenery object: its switch, stored position and surface.
struct SceneObject {
    int16_t Switch = 0;  // 1 = drawn; the bottom pieces hold their Boolean as -1 / 0
    int16_t X = 0;
    int16_t Y = 0;
    SurfaceId Surface = 0;
};

// The twelve creatures that cross the tank, in the order of their surfaces.
enum CreatureIndex : int {
    kFish1 = 0,  // .. kFish1 + 8
    kDolphin = 9,
    kShark = 10,
    kTurtle = 11,
    kCreatureCount = 12,
};

// A creature's settings and sprite.
struct CreatureSettings {
    int16_t Shown = 0;
    int16_t Speed = 0;
    int16_t WaitLimit = 0;  // from the frequency keys
    int16_t Delay = 0;      // milliseconds per animation frame
    SurfaceId Surface = 0;
};

constexpr int kSmallBubbles = 150;
constexpr int kMediumBubbles = 150;
constexpr int kLargeBubbles = 100;
constexpr int kDarkFish = 5;

// The scene read from the store at start, and the surfaces made from it.
struct SceneState {
    // Options.
    int16_t TunePC = 0;
    int16_t ColorFish = 0;
    int16_t Bubbles = 0;
    int16_t Calendar = 0;
    int16_t CalPos = 0;
    // Nonzero: on a screen wider than 4:3 the scene reaches the screen's edges; zero: the 4:3
    // picture with black bars. On unless the store says otherwise.
    int16_t FillWide = 1;
    int16_t ShowMessage = 0;
    int16_t FontSizeMsg = 0;
    QString Message;
    QString Water;
    QString WaterType;
    QString Bottom;  // the wall kind as the text of its number

    std::array<CreatureSettings, kCreatureCount> creatures{};
    std::array<SceneObject, kSceneObjectCount> objects{};

    // What the screen shows of the scene, set when the display opens.
    SceneSpan span;

    // Surfaces.
    SurfaceId CalendarSurface = 0;
    SurfaceId WaterSurface = 0;
    bool waterHasPicture = false;
    std::array<SurfaceId, kDarkFish> DarkFishSurface{};
    std::array<SurfaceId, kSmallBubbles> SmallBubbleSurface{};
    std::array<SurfaceId, kMediumBubbles> MediumBubbleSurface{};
    std::array<SurfaceId, kLargeBubbles> LargeBubbleSurface{};
    std::array<int16_t, 2> CurtainSurface{};
    int16_t SmallBubbleX = 0;
    int16_t MediumBubbleX = 0;
    int16_t LargeBubbleX = 0;
    SurfaceId MonitorNoticeSurface = 0;
    SurfaceId TuneNoticeSurface = 0;
    SurfaceId PowerNoticeSurface = 0;
    // The further bodies of each creature and background fish on a scene wider than 4:3
    // (see Creatures), made after every other surface.
    std::array<std::vector<SurfaceId>, kCreatureCount> spareCreatureSurfaces;
    std::array<std::vector<SurfaceId>, kDarkFish> spareDarkFishSurfaces;

    // First-run notices already shown in full.
    bool TuneScrSvr = false;
    bool RunMonitor = false;
    bool PwrMsg = false;

    // Seconds left on the first-run notice being shown.
    int16_t firstRunCountdown = 0;

    // Frame pacing.
    int16_t RenderCount = 0;

    // Wall kind 6 is "no wall".
    bool noWall() const { return Bottom == u"6"; }
    // Whether the frame loop draws the scenery object (SceneObjectIndex): only those can be
    // picked in custom mode, wherever the others stand.
    bool shown(int object) const {
        if (object == kWall) return !noWall();
        if (object >= kBottom1 && object < kBottom1 + 6) return objects[object].Switch != 0;
        return objects[object].Switch == 1;
    }
    // How far the calendar and its texts stand from their places on a 4:3 screen: its corner
    // places are the screen's corners.
    int16_t calendarShift() const {
        const bool right = CalPos == 2 || CalPos == 3;
        return static_cast<int16_t>(right ? span.right - SceneSpan::kBlockWidth : span.left);
    }
    // The frame starts black instead of a picture: "3", or "2" (what the dialog writes for
    // its black style).
    bool blackWater() const { return WaterType == u"3" || WaterType == u"2"; }
};

}  // namespace bw
