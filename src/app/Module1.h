#pragma once

#include <QString>
#include <memory>

namespace bw {

class DrawingComponent;
class Form1;
class IniSettingsStore;
class InstallFolder;
class MediaPlayer;
class PreviewForm;
class SoundComponent;
class SystemLayer;
class frmChangePassWord;
class setup;

// What the program is made of on this machine, built by main().
struct ProgramParts {
    DrawingComponent& display;
    SoundComponent& sound;
    MediaPlayer& player;
    SystemLayer& system;
    IniSettingsStore& store;
    const InstallFolder& folder;
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
    std::unique_ptr<Form1> form1_;
    std::unique_ptr<PreviewForm> previewForm_;
};

}  // namespace bw
