#include "scene/Arrangement.h"

#include "scene/SceneState.h"
#include "scene/SceneText.h"
#include "settings/Settings.h"
#include "system/SystemLayer.h"

#include <algorithm>

namespace bw {

namespace {

constexpr Arrangement::Pickable kPickOrder[] = {
    {kWall, 400, 20},          {kBottom1, 400, 25},     {kBottom1 + 1, 400, 25},
    {kBottom1 + 2, 294, 25},   {kBottom1 + 3, 400, 25}, {kBottom1 + 4, 185, 25},
    {kBottom1 + 5, 292, 25},   {kDarkCliff1, 155, 30},  {kDarkCliff1 + 1, 200, 27},
    {kDarkCliff1 + 2, 65, 44}, {kCastle, 120, 68},      {kAnchor, 74, 40},
    {kCity, 200, 75},          {kHorse, 135, 150},      {kLiberty, 140, 200},
    {kLighthouse, 33, 109},    {kLighthouse2, 38, 80},  {kPyramid, 200, 81},
    {kRome, 108, 98},          {kStatue2, 70, 147},     {kTotem, 65, 75},
    {kStatue1, 46, 100},       {kTreasure, 70, 77},     {kColumns, 75, 63},
    {kCoral1, 87, 46},         {kCoral1 + 1, 90, 45},   {kCoral1 + 2, 37, 25},
    {kCoral1 + 3, 100, 25},    {kCoral1 + 4, 75, 25},   {kCoral1 + 5, 75, 25},
    {kCoral1 + 6, 75, 25},     {kCoral1 + 7, 75, 25},   {kCoral1 + 8, 75, 25},
    {kCoral1 + 9, 75, 25},     {kCliff1, 120, 40},      {kCliff1 + 1, 20, 40},
    {kCliff1 + 2, 90, 100},    {kCliff1 + 3, 100, 80},  {kCliff1 + 4, 100, 80},
    {kCoral1 + 10, 75, 25},    {kCoral1 + 11, 75, 25},  {kCoral1 + 12, 75, 25},
    {kCoral1 + 13, 75, 25},
};
static_assert(std::size(kPickOrder) == kSceneObjectCount);

int16_t toInt16(int value) {
    return static_cast<int16_t>(std::clamp(value, int{INT16_MIN}, int{INT16_MAX}));
}

}  // namespace

std::span<const Arrangement::Pickable> Arrangement::pickOrder() { return kPickOrder; }

int16_t Arrangement::reachableX(int object, int16_t x, SceneSpan span) {
    const auto pickable = std::find_if(std::begin(kPickOrder), std::end(kPickOrder),
                                       [object](const Pickable& p) { return p.object == object; });
    if (pickable == std::end(kPickOrder)) return x;
    // The handles lie in the middle of the objects' widths (Cliff2's further left), so twice
    // the handle is never wider than the object.
    const int width = 2 * pickable->handleX;
    return toInt16(std::clamp<int>(x, span.left + kReachable - width, span.right - kReachable));
}

Arrangement::Arrangement(SceneState& scene, DrawingComponent& display, SystemLayer& system,
                         Settings& settings)
    : scene_(scene), display_(display), system_(system), settings_(settings) {}

void Arrangement::keyX() {
    mode_ = QStringLiteral("Custom");
    system_.ShowCursor(true);
}

void Arrangement::keyZ() {
    // Only leaving the mode hides the pointer again: a Z outside it would push the pointer
    // count down, and the next X could no longer show the pointer.
    if (customMode()) system_.ShowCursor(false);
    mode_ = QStringLiteral("Save");
}

void Arrangement::mouseDown(int, int, int) {
    if (customMode()) CheckWhichSprite();
}

void Arrangement::CheckWhichSprite() {
    // Every object is tested, so the latest hit in the table wins. One that is not drawn is
    // never picked: it would be dragged unseen, and the one the user sees stay put.
    for (const Pickable& pickable : kPickOrder) {
        const SceneObject& object = scene_.objects[pickable.object];
        if (!display_.IsPointerOver(object.Surface) || !scene_.shown(pickable.object)) continue;
        Dragging = 1;
        PickSurface = object.Surface;
        PickObject = pickable.object;
        PickName = QString::fromLatin1(objectPositions()[pickable.object].object);
        PickHandleX = pickable.handleX;
        PickHandleY = pickable.handleY;
    }
}

void Arrangement::mouseMove(int, int x, int y) {
    if (!customMode() || Dragging != 1) return;
    display_.SetSurfaceX(PickSurface, toInt16(x - PickHandleX));
    display_.SetSurfaceY(PickSurface, toInt16(y - PickHandleY));
}

void Arrangement::mouseUp(int, int, int) {
    if (!customMode() || PickSurface == 0) return;
    const int16_t x = display_.GetSurfaceX(PickSurface);
    const int16_t y = display_.GetSurfaceY(PickSurface);
    // Only this object's two keys are written, so whatever else is in the store stays.
    const ObjectPosition& keys = objectPositions()[PickObject];
    settings_.writeInteger(keys.x, x);
    settings_.writeInteger(keys.y, y);
    SceneObject& object = scene_.objects[PickObject];
    object.X = x;
    object.Y = y;

    Dragging = 0;
    PickName.clear();
    PickSurface = 0;
    PickObject = -1;
}

void Arrangement::drawCaptions() {
    auto caption = [this](const QString& text, int size, int x, int y, Rgb colour) {
        display_.SetTextFont(kArial, size, 30, false, false, false);
        display_.DrawText(text, x, y, colour);
    };
    const QString title = QStringLiteral("Custom Mode");
    const QString selected = QStringLiteral("Selected Object: ") + PickName;
    // The black copies two pixels lower are the shadows of the yellow texts.
    caption(title, 46, 225, 4, kBlack);
    caption(title, 46, 225, 2, kYellow);
    caption(selected, 24, 225, 42, kBlack);
    caption(selected, 24, 225, 40, kYellow);
    caption(QStringLiteral("Press the 'z' key to exit custom mode"), 18, 225, 65, kBlack);
    caption(QStringLiteral("Caution: Do not move completely off the screen!"), 20, 225, 84, kWhite);
}

}  // namespace bw
