#pragma once

#include <QString>
#include <functional>
#include <memory>

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

// The display, sound and prompts of a running saver; made only when the saver runs, so the
// dialogs never open the audio device.
struct SaverDevices {
    std::unique_ptr<DrawingComponent> display;
    std::unique_ptr<SoundComponent> sound;
    std::unique_ptr<MediaPlayer> player;
    std::unique_ptr<SaverPrompts> prompts;
};

// What the program is made of on this machine, built by main().
struct ProgramParts {
    SystemLayer& system;
    IniSettingsStore& store;
    const InstallFolder& folder;
    std::function<SaverDevices()> makeSaverDevices;
};

// The start of the program: reads the screensaver argument and brings up the window of the
// chosen mode. Owns the one instance of each window.
class Module1 {
public:
    explicit Module1(ProgramParts parts);
    ~Module1();

    enum class Next { RunEventLoop, Exit };
    // The argument is the command line after the program name, joined by blanks.
    Next Main(const QString& argument);

private:
    void startSaver();
    void startPreview(uint64_t hostWindow);

    ProgramParts parts_;
    SaverDevices devices_;
    std::unique_ptr<Form1> form1_;
    std::unique_ptr<PreviewForm> previewForm_;
};

}  // namespace bw
