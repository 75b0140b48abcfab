#include "scene/Arrangement.h"

#include "system/SystemLayer.h"

namespace bw {

Arrangement::Arrangement(SceneState& scene, DrawingComponent& display, SystemLayer& system,
                         Settings& settings)
    : scene_(scene), display_(display), system_(system), settings_(settings) {}

void Arrangement::keyX() {
    mode_ = QStringLiteral("Custom");
    system_.ShowCursor(true);
}

void Arrangement::keyZ() {
    mode_ = QStringLiteral("Save");
    system_.ShowCursor(false);
}

// FIXME: picking, dragging, dropping and the captions come with the arrangement work.
void Arrangement::mouseDown(int, int, int) {}
void Arrangement::mouseMove(int, int, int) {}
void Arrangement::mouseUp(int, int, int) {}
void Arrangement::drawCaptions() {}

}  // namespace bw
