#pragma once

#include "audio/BubbleSound.h"
#include "audio/Music.h"
#include "power/PowerManagement.h"
#include "scene/Arrangement.h"
#include "scene/Creatures.h"
#include "scene/DrawingComponent.h"
#include "scene/FrameLoop.h"
#include "scene/Overlays.h"
#include "scene/SceneState.h"
#include "settings/Settings.h"
#include "system/Random.h"

#include <QTimer>
#include <functional>
#include <optional>
#include <set>

namespace bw {

class InstallFolder;
class MediaPlayer;
class SettingsStore;
class SoundComponent;
class SystemLayer;

// The modal windows the saver may open on its way out.
class SaverPrompts {
public:
    virtual ~SaverPrompts() = default;
    // The password prompt; returns once the stored password was typed.
    virtual void showPasswordPrompt() = 0;
    // The power-management notice; returns when the user came back.
    virtual void showPowerNotice() = 0;
};

// Everything outside the saver that Form1 talks to.
struct SaverComponents {
    DrawingComponent& display;
    SoundComponent& sound;
    MediaPlayer& player;
    SystemLayer& system;
    SettingsStore& store;
    const InstallFolder& folder;
    SaverPrompts& prompts;
    // A display mode of another screensaver program: it draws only, takes no input, asks no
    // password, steps aside for nothing; the sound plays only when asked for.
    bool displayMode = false;
    bool soundOn = true;
    // The settings dialog's preview: the whole saver, but no password and no screensaver
    // state; its end calls `previewEnded` instead of ending the program.
    bool dialogPreview = false;
    std::function<void()> previewEnded = {};
};

// The saver window: the hub that owns the scene and run state and the subsystems, routes
// the display's events and timer ticks, and runs the one shutdown path.
class Form1 : public DrawingEvents, private SceneLayers {
public:
    explicit Form1(SaverComponents components);
    ~Form1() override;

    // The start-up sequence; the display is open and the sound playing when it returns.
    void Form_Load();
    // Starts the six timers (not done in tests, which call the tick handlers themselves).
    void startTimers();

    void PrepareToClose();
    void CloseDown(int exitCode = 0);
    void Form_LostFocus();

    // Drawing component events.
    void RenderFrame() override;
    void KeyDown(int keyCode) override;
    void KeyUp(int keyCode) override;
    void MouseDown(int button, int x, int y) override;
    void MouseMove(int button, int x, int y) override;
    void MouseUp(int button, int x, int y) override;
    void Deactivated() override;

    // Timer ticks.
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void TimerApp_Timer();
    void TimerTotal_Timer();
    void TimerFish_Timer();

    // For tests and the wiring.
    bool closedDown() const { return closedDown_; }
    bool inputArmed() const { return inputArmed_; }
    int32_t staggerTicks() const { return staggerTicks_; }
    const SceneState& scene() const { return scene_; }
    const Creatures& creatures() const { return creatures_; }
    const Music& music() const { return music_; }
    int16_t bubbleSoundNumber() const { return bubbles_.soundNumber(); }
    const PowerManagement& power() const { return power_; }

private:
    // SceneLayers: the frame loop's calls into the creatures and overlays.
    void swimBackgroundFish() override;
    void swimCreature(int creature) override;
    void drawMessage() override;
    bool customMode() const override;
    void drawCustomCaptions() override;
    void drawCalendar() override;
    void drawBubbles() override;
    void drawFirstRunMessages() override;

    void OpenDirectDrawSession();
    void KeyPressed();
    void MouseMoveFunc();
    void MousePressed();
    void leaveAfterInput();
    void Password();
    void PasswordPM();
    void SetUpPowerM();
    void Form_Unload();
    bool exitUnderway() const { return keyExit_ || buttonExit_ || moveExit_ || displayLost_; }
    void setExitTimersEnabled(bool enabled);

    SaverComponents c_;
    Settings settings_;
    Random random_;
    SceneState scene_;
    Creatures creatures_;
    Overlays overlays_;
    Arrangement arrangement_;
    BubbleSound bubbles_;
    Music music_;
    PowerManagement power_;

    // Run state.
    int16_t passwordEnabled_ = 0;
    int16_t mouseSensitivity_ = 1;
    bool keyExit_ = false;
    bool buttonExit_ = false;
    bool moveExit_ = false;
    bool displayLost_ = false;  // with the password on: the way out through the prompt
    bool keyPressedMarker_ = false;
    bool buttonPressedMarker_ = false;
    bool poweredAside_ = false;
    bool firstFrame_ = true;
    bool askOnFirstFrame_ = false;  // the prompt at once, on a lock taken over
    bool inputArmed_ = false;
    int32_t staggerTicks_ = 0;
    int16_t firstRunTicks_ = 0;
    bool firstRunTimerEnabled_ = true;
    int16_t moveCount_ = 0;
    std::optional<int64_t> moveWindowStartMs_;
    // Keys whose press the saver itself saw: only their release may end it.
    std::set<int> keysDown_;
    bool closedDown_ = false;

    QTimer Timer1, Timer2, Timer3, TimerApp, TimerTotal, TimerFish;
};

}  // namespace bw
