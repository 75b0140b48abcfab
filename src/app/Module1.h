#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QWindow;

namespace bw {

class DrawingComponent;
class Form1;
class IniSettingsStore;
class InstallFolder;
class MediaPlayer;
class PreviewForm;
class SaverPrompts;
class SoundComponent;
class SystemLayer;
class frmChangePassWord;
class setup;
class SettingsStore;
struct StartRequest;

// The display, sound and prompts of a running saver; made only when the saver runs, so the
// dialogs never open the audio device.
struct SaverDevices {
    std::unique_ptr<DrawingComponent> display;
    std::unique_ptr<SoundComponent> sound;
    std::unique_ptr<MediaPlayer> player;
    std::unique_ptr<SaverPrompts> prompts;
    // The window that shows the scene, which holds the keyboard and pointer while the saver runs.
    std::function<QWindow*()> sceneWindow;
};

// Where a saver's display shows.
struct DisplayPlace {
    // A display mode's window to draw into (0: the root window); none: the screens.
    std::optional<uint64_t> hostWindow;
    // The settings dialog's preview: on the screens but not kept above every window, and
    // above the (modal) dialog `owner` rather than blocked by it.
    QWindow* previewOwner = nullptr;
};

// What the program is made of on this machine, built by main().
struct ProgramParts {
    SystemLayer& system;
    IniSettingsStore& store;
    const InstallFolder& folder;
    std::function<SaverDevices(const DisplayPlace& place)> makeSaverDevices;
};

// The start of the program: reads the screensaver argument and brings up the window of the
// chosen mode. Owns the one instance of each window.
class Module1 {
public:
    explicit Module1(ProgramParts parts);
    ~Module1();

    enum class Next { RunEventLoop, Exit };
    // The arguments after the program name; $XSCREENSAVER_WINDOW.
    Next Main(const QStringList& arguments, const QString& xscreensaverWindow = {});

private:
    void startSaver();
    void startDialogPreview(setup& dialog);
    void endDialogPreview(setup& dialog);
    void startDisplayMode(const StartRequest& request);
    bool startPreview(uint64_t hostWindow);

    ProgramParts parts_;
    SaverDevices devices_;
    std::unique_ptr<Form1> form1_;
    std::unique_ptr<PreviewForm> previewForm_;
    std::unique_ptr<SettingsStore> readOnlyStore_;
};

}  // namespace bw
