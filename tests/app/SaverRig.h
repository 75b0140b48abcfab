#pragma once

#include "app/Form1.h"
#include "fakes/FakeSound.h"
#include "fakes/FakeSystemLayer.h"
#include "fakes/MemorySettingsStore.h"
#include "fakes/RecordingDisplay.h"
#include "settings/InstallFolder.h"
#include "settings/Settings.h"

#include <memory>

namespace bw {

// Records which prompt the saver opened; each returns at once, as after a correct entry.
class FakePrompts : public SaverPrompts {
public:
    void showPasswordPrompt() override { shown.append("PasswordPrompt"); }
    void showPowerNotice() override { shown.append("PowerNotice"); }
    QStringList shown;
};

// A saver wired to fakes, with the factory settings in its store.
struct SaverRig {
    SaverRig() { writeFactoryDefaults(store); }

    void set(const SettingKey& key, const QString& value) { Settings(store, Reader::Saver).write(key, value); }

    Form1& load() {
        form = std::make_unique<Form1>(SaverComponents{display, sound, player, system, store,
                                                       folder, prompts});
        form->Form_Load();
        return *form;
    }
    // Lets the stagger timer release every creature and arm the mouse.
    void releaseEveryone() {
        for (int tick = 0; tick < 30; ++tick) form->TimerTotal_Timer();
    }

    RecordingDisplay display;
    FakeSoundComponent sound;
    FakeMediaPlayer player;
    FakeSystemLayer system;
    MemorySettingsStore store;
    const InstallFolder folder{QStringLiteral("/data"), QStringLiteral("/user")};
    FakePrompts prompts;
    std::unique_ptr<Form1> form;
};

}  // namespace bw
