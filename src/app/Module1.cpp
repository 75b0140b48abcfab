#include "app/Module1.h"

#include "app/Form1.h"
#include "audio/MediaPlayer.h"
#include "audio/SoundComponent.h"
#include "app/PreviewForm.h"
#include "app/RunMode.h"
#include "dialog/Setup.h"
#include "security/frmChangePassWord.h"
#include "settings/IniSettingsStore.h"
#include "settings/ReadOnlySettingsStore.h"
#include "settings/InstallFolder.h"
#include "settings/Settings.h"
#include "system/SystemLayer.h"

namespace bw {

Module1::Module1(ProgramParts parts) : parts_(parts) {}

Module1::~Module1() = default;

Module1::Next Module1::Main(const QStringList& arguments, const QString& xscreensaverWindow) {
    const StartRequest request = parseCommandLine(arguments, xscreensaverWindow);
    if (request.mode == RunMode::Hack) {
        startDisplayMode(request);
        return form1_->closedDown() ? Next::Exit : Next::RunEventLoop;
    }
    const bool displayProperties =
        parts_.system.FindWindowByTitle(QStringLiteral("Display Properties")) != 0;
    const bool previousInstance = parts_.system.PreviousInstanceRunning();
    if (refuseSecondSaver(request, displayProperties, previousInstance)) return Next::Exit;
    if (request.mode == RunMode::None) return Next::Exit;

    // A new user starts from the factory settings, as an installer would have written them.
    // Without them the saver's own defaults would turn on a password nobody was told.
    if (!parts_.store.exists()) writeFactoryDefaults(parts_.store);

    switch (request.mode) {
    case RunMode::Saver:
        startSaver();
        return form1_->closedDown() ? Next::Exit : Next::RunEventLoop;
    case RunMode::Preview:
        startPreview(request.previewWindow);
        return request.previewWindow ? Next::RunEventLoop : Next::Exit;
    case RunMode::Configure: {
        setup dialog(parts_.store, parts_.system, parts_.folder, [this] { startSaver(); });
        dialog.exec();
        return Next::Exit;
    }
    case RunMode::ChangePassword: {
        Settings settings(parts_.store, Reader::Dialog);
        frmChangePassWord dialog(settings, parts_.system);
        dialog.exec();
        return Next::Exit;
    }
    case RunMode::Hack:
    case RunMode::None:
        break;
    }
    return Next::Exit;
}

void Module1::startSaver() {
    devices_ = parts_.makeSaverDevices(std::nullopt);
    form1_ = std::make_unique<Form1>(SaverComponents{*devices_.display, *devices_.sound,
                                                     *devices_.player, parts_.system, parts_.store,
                                                     parts_.folder, *devices_.prompts});
    form1_->Form_Load();
    if (form1_->closedDown()) return;
    parts_.system.SetScreenSaverRunning(true, devices_.sceneWindow ? devices_.sceneWindow() : nullptr);
    form1_->startTimers();
}

// Inside another screensaver's window: the user's settings, read only; no factory defaults
// written, no screensaver state, no grab.
void Module1::startDisplayMode(const StartRequest& request) {
    readOnlyStore_ = std::make_unique<ReadOnlySettingsStore>(
        parts_.store.exists() ? &parts_.store : nullptr);
    devices_ = parts_.makeSaverDevices(request.hackWindow);
    SaverComponents components{*devices_.display, *devices_.sound, *devices_.player,
                               parts_.system,     *readOnlyStore_,  parts_.folder,
                               *devices_.prompts};
    components.displayMode = true;
    components.soundOn = request.hackSound;
    form1_ = std::make_unique<Form1>(components);
    form1_->Form_Load();
    if (!form1_->closedDown()) form1_->startTimers();
}

void Module1::startPreview(uint64_t hostWindow) {
    previewForm_ = std::make_unique<PreviewForm>(
        parts_.folder.map(InstallFolder::kText + QStringLiteral("Misc\\preview.bmp")),
        parts_.system);
    previewForm_->embedInto(hostWindow);
}

}  // namespace bw
