#pragma once

#include "scene/DrawingComponent.h"
#include "scene/SceneSpan.h"

#include <QString>
#include <cstdint>
#include <span>

namespace bw {

class Settings;
class SystemLayer;
struct SceneState;

// Custom arrangement mode: X shows the pointer and lets the user drag scenery objects, each
// drop stores the object's place; Z leaves the mode.
class Arrangement {
public:
    // An object that can be picked (SceneObjectIndex) and the point of it, from its top-left
    // corner, that lies under the pointer while it is dragged.
    struct Pickable {
        int object;
        int16_t handleX;
        int16_t handleY;
    };
    // In the order of the pick test: where objects overlap, the later one is picked.
    static std::span<const Pickable> pickOrder();

    // Where an object (SceneObjectIndex) stored at x stands when the scene loads: at x, unless
    // less than kReachable of its width would lie within the span (say it was dropped in a
    // side area of a wider screen); then as far in as that. The stored place stays as it was.
    static constexpr int kReachable = 40;
    static int16_t reachableX(int object, int16_t x, SceneSpan span);

    Arrangement(SceneState& scene, DrawingComponent& display, SystemLayer& system,
                Settings& settings);

    bool customMode() const { return mode_ == u"Custom"; }
    void keyX();
    void keyZ();
    void mouseDown(int button, int x, int y);
    void mouseMove(int button, int x, int y);
    void mouseUp(int button, int x, int y);
    void drawCaptions();

    // The pick test over every object under the pointer.
    void CheckWhichSprite();

    const QString& mode() const { return mode_; }
    const QString& pickName() const { return PickName; }
    SurfaceId pickSurface() const { return PickSurface; }
    bool dragging() const { return Dragging == 1; }

private:
    SceneState& scene_;
    DrawingComponent& display_;
    SystemLayer& system_;
    Settings& settings_;
    QString mode_;  // "Custom" while on, "Save" after Z

    SurfaceId PickSurface = 0;  // 0: nothing picked
    int PickObject = -1;
    QString PickName;
    int16_t PickHandleX = 0;
    int16_t PickHandleY = 0;
    int16_t Dragging = 0;
};

}  // namespace bw
