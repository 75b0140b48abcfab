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

#include <QTimer>

namespace bw {

Module1::Module1(ProgramParts parts) : parts_(parts) {}

Module1::~Module1() = default;

Module1::Next Module1::Main(const QStringList& arguments, const QString& xscreensaverWindow) {
    const StartRequest request = parseCommandLine(arguments, xscreensaverWindow);
    if (request.mode == RunMode::Hack) {
        startDisplayMode(request);
        return form1_->closedDown() ? Next::Exit : Next::RunEventLoop;
    }
    if (request.mode == RunMode::None) return Next::Exit;
    // Only a saver asks for (and so takes) the instance lock: a preview or a dialog left open
    // must never keep the saver from starting.
    if (request.mode == RunMode::Saver) {
        const bool displayProperties =
            parts_.system.FindWindowByTitle(QStringLiteral("Display Properties")) != 0;
        const bool previousInstance = parts_.system.PreviousInstanceRunning();
        if (refuseSecondSaver(request, displayProperties, previousInstance)) return Next::Exit;
    }

    // A new user starts from the factory settings, as an installer would have written them.
    // Without them the saver's own defaults would turn on a password nobody was told.
    if (!parts_.store.exists()) writeFactoryDefaults(parts_.store);

    switch (request.mode) {
    case RunMode::Saver:
        startSaver();
        return form1_->closedDown() ? Next::Exit : Next::RunEventLoop;
    case RunMode::Preview:
        // A host that is no window (or none given) leaves nothing to show: end at once.
        return startPreview(request.previewWindow) ? Next::RunEventLoop : Next::Exit;
    case RunMode::Configure: {
        setup* shown = nullptr;
        setup dialog(parts_.store, parts_.system, parts_.folder,
                     [this, &shown] { startDialogPreview(*shown); });
        shown = &dialog;
        dialog.exec();
        form1_.reset();  // a preview still running ends with the dialog
        devices_ = {};
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
    devices_ = parts_.makeSaverDevices({});
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
    devices_ = parts_.makeSaverDevices({request.hackWindow});
    SaverComponents components{*devices_.display, *devices_.sound, *devices_.player,
                               parts_.system,     *readOnlyStore_,  parts_.folder,
                               *devices_.prompts};
    components.displayMode = true;
    components.soundOn = request.hackSound;
    form1_ = std::make_unique<Form1>(components);
    form1_->Form_Load();
    if (!form1_->closedDown()) form1_->startTimers();
}

// The dialog's Preview button: the whole saver, but no lock and no screensaver state; its end
// comes back to the dialog.
void Module1::startDialogPreview(setup& dialog) {
    devices_ = parts_.makeSaverDevices({std::nullopt, dialog.windowHandle()});
    SaverComponents components{*devices_.display, *devices_.sound, *devices_.player,
                               parts_.system,     parts_.store,     parts_.folder,
                               *devices_.prompts};
    components.dialogPreview = true;
    components.previewEnded = [this, &dialog] {
        // Called from inside the saver's own shutdown: let it return first.
        QTimer::singleShot(0, &dialog, [this, &dialog] { endDialogPreview(dialog); });
    };
    form1_ = std::make_unique<Form1>(components);
    form1_->Form_Load();
    if (!form1_->closedDown()) form1_->startTimers();
}

void Module1::endDialogPreview(setup& dialog) {
    form1_.reset();
    devices_ = {};
    dialog.previewEnded();
    dialog.activateWindow();
}

bool Module1::startPreview(uint64_t hostWindow) {
    previewForm_ = std::make_unique<PreviewForm>(
        parts_.folder.map(InstallFolder::kText + QStringLiteral("Misc\\preview.bmp")),
        parts_.system);
    return previewForm_->embedInto(hostWindow);
}

}  // namespace bw
