#pragma once

#include <QString>

namespace bw {

class DrawingComponent;
class Settings;
class SystemLayer;
struct SceneState;

// Custom arrangement mode: X shows the pointer and lets the user drag scenery objects, each
// drop stores the object's place; Z leaves the mode.
class Arrangement {
public:
    Arrangement(SceneState& scene, DrawingComponent& display, SystemLayer& system,
                Settings& settings);

    bool customMode() const { return mode_ == u"Custom"; }
    void keyX();
    void keyZ();
    void mouseDown(int button, int x, int y);
    void mouseMove(int button, int x, int y);
    void mouseUp(int button, int x, int y);
    void drawCaptions();

private:
    SceneState& scene_;
    DrawingComponent& display_;
    SystemLayer& system_;
    Settings& settings_;
    QString mode_;
};

}  // namespace bw
