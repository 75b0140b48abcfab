#pragma once

#include <QStringList>

namespace bw {

class DrawingComponent;
class InstallFolder;
class Random;
class Settings;
class SystemLayer;
struct SceneState;

struct SurfaceLoading {
    DrawingComponent& display;
    SystemLayer& system;
    const InstallFolder& folder;
    const Settings& settings;
    Random& random;
};

// Opens the 800 x 600 display and creates every surface of the scene, in order, at its start
// position, for the span of the scene the display shows. False (after telling the user) when
// the display cannot be opened; nothing is created then.
bool OpenDirectDrawSession(SceneState& scene, const SurfaceLoading& with);

// The images shown by the frames of a creature, as paths relative to the install folder.
// Numbered images 1..N play as 1..N..2; the background fish as a, b, a, c.
QStringList pingPongFrames(const QString& stem, int images);
QStringList darkFishFrames(int fish);

}  // namespace bw
