#pragma once

// A whole scene loaded from the factory settings onto the recording display, with a seeded
// random source and a clock the test sets.

#include "fakes/FakeSystemLayer.h"
#include "fakes/MemorySettingsStore.h"
#include "fakes/RecordingDisplay.h"
#include "scene/SceneOptions.h"
#include "scene/SceneState.h"
#include "scene/SurfaceLoading.h"
#include "settings/InstallFolder.h"
#include "settings/Settings.h"
#include "system/Random.h"

#include <QDateTime>
#include <functional>

namespace bw::life {

// The operating system's clock, moving on by `stepMs` after each reading when a test wants
// the time to pass during a frame.
class TankSystem : public FakeSystemLayer {
public:
    qint64 stepMs = 0;

    TankSystem() { setNow(QDateTime(QDate(2024, 3, 5), QTime(14, 30, 0))); }
    QDateTime Now() override {
        const QDateTime now = FakeSystemLayer::Now();
        advanceMs(stepMs);
        return now;
    }
};

struct LifeTestScene {
    MemorySettingsStore store;
    Settings settings{store, Reader::Saver};
    RecordingDisplay display;
    TankSystem system;
    Random random{12345};
    InstallFolder folder{QStringLiteral("/nonexistent/brinewave3-data"),
                         QStringLiteral("/nonexistent/brinewave3-user")};
    SceneState scene;

    // Factory settings, changed by `adjust` before the scene reads them, on a display that
    // shows `sceneWidth` units of the scene.
    explicit LifeTestScene(const std::function<void(MemorySettingsStore&)>& adjust = {},
                           int sceneWidth = 800) {
        writeFactoryDefaults(store);
        if (adjust) adjust(store);
        display.sceneWidth = sceneWidth;
        readSceneOptions(settings, scene);
        OpenDirectDrawSession(scene, {display, system, folder, settings, random});
        store.clearWrites();
        display.clearLog();
    }

    RecordingDisplay::Surface& at(SurfaceId surface) { return display.surfaces.at(surface); }
    void put(SurfaceId surface, int x, int y) {
        at(surface).x = static_cast<int16_t>(x);
        at(surface).y = static_cast<int16_t>(y);
    }
};

}  // namespace bw::life
