#include "fakes/MemorySettingsStore.h"
#include "scene/SceneOptions.h"
#include "scene/SceneState.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

namespace bw {
namespace {

TEST(SceneOptions, FillWideIsOnForAnyNonzeroNumberAndWhenMissing) {
    const struct {
        const char* stored;  // null: the key is missing
        bool on;
    } cases[] = {{nullptr, true}, {"1", true}, {"0", false}, {"-1", true}, {"wide", true}};
    for (const auto& c : cases) {
        MemorySettingsStore store;
        Settings settings(store, Reader::Saver);
        if (c.stored) settings.write(key::FillWide, c.stored);
        SceneState scene;
        scene.FillWide = c.on ? 0 : 1;  // the opposite, so that reading must set it
        readSceneOptions(settings, scene);
        EXPECT_EQ(scene.FillWide != 0, c.on) << (c.stored ? c.stored : "missing");
    }
}

}  // namespace
}  // namespace bw
