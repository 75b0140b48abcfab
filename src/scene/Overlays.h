#pragma once

namespace bw {

class DrawingComponent;
class SystemLayer;
struct SceneState;

// What is drawn over the scene: the message line, the calendar with its clock, the rising
// bubbles and curtains, and the first-run notices.
class Overlays {
public:
    Overlays(SceneState& scene, DrawingComponent& display, SystemLayer& system);

    void drawMessage();
    void drawCalendar();
    void drawBubbles();
    // The first notice not yet shown in full, with its countdown; on every frame.
    void drawFirstRunMessages();

private:
    SceneState& scene_;
    DrawingComponent& display_;
    SystemLayer& system_;
};

}  // namespace bw
