#pragma once

#include "scene/DrawingComponent.h"

namespace bw {

class MediaPlayer;
class SettingsStore;
class SoundComponent;
class SystemLayer;
class InstallFolder;

// Everything outside the saver that Form1 talks to.
struct SaverComponents {
    DrawingComponent& display;
    SoundComponent& sound;
    MediaPlayer& player;
    SystemLayer& system;
    SettingsStore& store;
    const InstallFolder& folder;
};

// The saver window: the hub that owns the run state, routes the display's events and runs
// the one shutdown path.
class Form1 : public DrawingEvents {
public:
    explicit Form1(SaverComponents components);
    ~Form1() override;

    // The start-up sequence; the display is open when it returns.
    void Form_Load();
    void CloseDown();

    // Drawing component events.
    void RenderFrame() override;
    void KeyDown(int keyCode) override;
    void KeyUp(int keyCode) override;
    void MouseDown(int button, int x, int y) override;
    void MouseMove(int button, int x, int y) override;
    void MouseUp(int button, int x, int y) override;
    void Deactivated() override;

    bool closedDown() const { return closedDown_; }

private:
    void exitOnInput();
    void Form_Unload();

    SaverComponents c_;
    bool exitUnderway_ = false;
    bool closedDown_ = false;
};

}  // namespace bw
