#include "scene/FrameLoop.h"

#include "scene/DrawingComponent.h"
#include "scene/SceneState.h"

namespace bw {

namespace {

constexpr int kBackArtifacts[] = {kCity, kPyramid, kHorse, kRome, kLiberty, kStatue1, kColumns,
                                  kStatue2};
constexpr int kMiddleArtifacts[] = {kCastle, kLighthouse2, kLighthouse, kAnchor, kTreasure};
constexpr int kCliffOrder[] = {0, 2, 3, 1, 4};
// Corals drawn a second time, in front of the fish, cliffs and bottom pieces.
constexpr int kFrontCorals[] = {6, 2, 3, 11, 12, 13, 14};

void drawIfShown(const SceneState& scene, DrawingComponent& display, int object) {
    if (scene.shown(object)) display.DrawSurface(scene.objects[object].Surface);
}

void swimIfShown(const SceneState& scene, SceneLayers& layers, int creature) {
    if (scene.creatures[creature].Shown == 1) layers.swimCreature(creature);
}

void fullRender(SceneState& scene, DrawingComponent& display, SceneLayers& layers) {
    if (scene.blackWater() || !scene.waterHasPicture)
        display.ClearFrame(rgb(0, 0, 0));
    else
        display.DrawSurface(scene.WaterSurface);
    if (scene.ColorFish == 1) layers.swimBackgroundFish();
    if (scene.ShowMessage == 1) layers.drawMessage();
    if (layers.customMode()) layers.drawCustomCaptions();

    for (int i = 0; i < 3; ++i) drawIfShown(scene, display, kDarkCliff1 + i);
    for (int object : kBackArtifacts) drawIfShown(scene, display, object);
    drawIfShown(scene, display, kWall);
    for (int creature : {kShark, kTurtle, kDolphin}) swimIfShown(scene, layers, creature);
    for (int object : kMiddleArtifacts) drawIfShown(scene, display, object);
    for (int i = 0; i < 14; ++i) drawIfShown(scene, display, kCoral1 + i);
    for (int fish : {1, 3, 4, 5, 6, 7}) swimIfShown(scene, layers, kFish1 + fish - 1);
    for (int i : kCliffOrder) drawIfShown(scene, display, kCliff1 + i);
    for (int i = 0; i < 6; ++i) drawIfShown(scene, display, kBottom1 + i);
    for (int coral : kFrontCorals) drawIfShown(scene, display, kCoral1 + coral - 1);
    drawIfShown(scene, display, kTotem);
    if (scene.Calendar == 1) layers.drawCalendar();
    if (scene.Bubbles == 1) layers.drawBubbles();
    for (int fish : {2, 8, 9}) swimIfShown(scene, layers, kFish1 + fish - 1);
    scene.RenderCount = 0;
}

}  // namespace

void renderFrame(SceneState& scene, DrawingComponent& display, SceneLayers& layers) {
    const bool rendered = scene.RenderCount == scene.TunePC;
    if (rendered) fullRender(scene, display, layers);

    ++scene.RenderCount;
    if (scene.TunePC == 0) scene.RenderCount = 0;
    if (scene.RenderCount > 40) scene.RenderCount = 0;

    // A thinned-out call shows the frame held from the last full render, notice included.
    // Drawing the notice again would lay its anti-aliased text over itself: the letters would
    // thicken until the next full render.
    if (rendered) layers.drawFirstRunMessages();
    display.PresentFrame();
}

}  // namespace bw
