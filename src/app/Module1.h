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

// What the program is made of on this machine, built by main().
struct ProgramParts {
    SystemLayer& system;
    IniSettingsStore& store;
    const InstallFolder& folder;
    // Makes the saver's devices; `hostWindow` is the window a display mode draws into.
    std::function<SaverDevices(std::optional<uint64_t> hostWindow)> makeSaverDevices;
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
    void startDisplayMode(const StartRequest& request);
    void startPreview(uint64_t hostWindow);

    ProgramParts parts_;
    SaverDevices devices_;
    std::unique_ptr<Form1> form1_;
    std::unique_ptr<PreviewForm> previewForm_;
    std::unique_ptr<SettingsStore> readOnlyStore_;
};

}  // namespace bw
