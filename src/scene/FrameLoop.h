#pragma once

namespace bw {

class DrawingComponent;
struct SceneState;

// The layers that belong to the creatures, the overlays and the custom arrangement mode.
// The frame loop calls them at their places in the draw order.
class SceneLayers {
public:
    virtual ~SceneLayers() = default;
    // Moves and draws the five background fish.
    virtual void swimBackgroundFish() = 0;
    // Moves and draws one creature (CreatureIndex).
    virtual void swimCreature(int creature) = 0;
    virtual void drawMessage() = 0;
    virtual bool customMode() const = 0;
    virtual void drawCustomCaptions() = 0;
    virtual void drawCalendar() = 0;
    virtual void drawBubbles() = 0;
    virtual void drawFirstRunMessages() = 0;
};

// One call of the display's frame event: on every TunePC-th call the whole scene is moved and
// drawn back to front, the pending first-run message over it; every call presents. The calls
// between show the frame the display holds.
void renderFrame(SceneState& scene, DrawingComponent& display, SceneLayers& layers);

}  // namespace bw
