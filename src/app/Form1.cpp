#include "app/Form1.h"

#include "audio/MediaPlayer.h"
#include "audio/SoundComponent.h"
#include "scene/SceneOptions.h"
#include "scene/SurfaceLoading.h"
#include "settings/InstallFolder.h"
#include "settings/Product.h"
#include "system/SystemLayer.h"

#include <cstdio>
#include <utility>

namespace bw {

namespace {

// Virtual-key codes of the keys that act inside the saver.
constexpr int kKeyB = 66;
constexpr int kKeyQ = 81;
constexpr int kKeyS = 83;
constexpr int kKeyV = 86;
constexpr int kKeyX = 88;
constexpr int kKeyZ = 90;
constexpr int kKeySpace = 32;

// The start-up stagger: at which second after the first frame each held-back group swims.
constexpr struct {
    int tick;
    int creature;
} kStagger[] = {
    {3, kFish1 + 1}, {4, kDolphin},   {6, kFish1 + 7},  {8, kFish1 + 2}, {8, kTurtle},
    {13, kFish1 + 3}, {14, kFish1 + 8}, {18, kFish1 + 4}, {18, kShark},  {23, kFish1 + 5},
    {27, kFish1 + 6},
};

// Mouse movements are counted within windows of this length.
constexpr int64_t kMoveWindowMs = 10'000;

}  // namespace

Form1::Form1(SaverComponents components)
    : c_(components),
      settings_(c_.store, Reader::Saver),
      creatures_(scene_, c_.display, random_, c_.system),
      overlays_(scene_, c_.display, c_.system, random_),
      arrangement_(scene_, c_.display, c_.system, settings_),
      bubbles_(c_.sound, settings_, c_.folder.map(InstallFolder::kText + "bubbles1.wav")),
      music_(c_.player, settings_, c_.folder.map(InstallFolder::kText + "List.txt")),
      power_(settings_, c_.system) {
    c_.display.setEventSink(this);
    const std::pair<QTimer*, void (Form1::*)()> timers[] = {
        {&Timer1, &Form1::Timer1_Timer},     {&Timer2, &Form1::Timer2_Timer},
        {&Timer3, &Form1::Timer3_Timer},     {&TimerApp, &Form1::TimerApp_Timer},
        {&TimerTotal, &Form1::TimerTotal_Timer}, {&TimerFish, &Form1::TimerFish_Timer},
    };
    for (const auto& [timer, handler] : timers) {
        timer->setInterval(timer == &TimerApp ? 60'000 : 1'000);
        QObject::connect(timer, &QTimer::timeout, [this, handler] { (this->*handler)(); });
    }
}

Form1::~Form1() { c_.display.setEventSink(nullptr); }

void Form1::Form_Load() {
    inputArmed_ = false;
    firstFrame_ = true;
    if (c_.soundOn) music_.start();
    power_.startTimeBase();
    poweredAside_ = false;

    readSceneOptions(settings_, scene_);
    // A preview from the settings dialog locks nothing: the dialog is open beneath it.
    passwordEnabled_ =
        c_.displayMode || c_.dialogPreview ? 0 : settings_.integer(key::PWEnabled);
    // Where the password cannot guard the desktop, a prompt would only pretend to: the saver
    // says so and ends on input like one without a password.
    if (passwordEnabled_ == 1) {
        const QString why = c_.system.WhyPasswordCannotGuard();
        if (!why.isEmpty()) {
            std::fprintf(stderr, "%s: %s\n", kProductName, qPrintable(why));
            passwordEnabled_ = 0;
        }
    }
    bubbles_.readOptions();
    mouseSensitivity_ = settings_.integer(key::MouseSens);
    if (!c_.displayMode) power_.readOptions();
    if (bubbles_.hasTimeLimit()) bubbles_.SoundOff();
    if (power_.enabled()) power_.PowerManage();
    if (power_.enabled()) {
        power_.SSTimeFunc();
        if (power_.enabled()) power_.computeDelay();
    }

    if (!c_.displayMode) c_.system.ShowCursor(false);
    scene_.RenderCount = scene_.TunePC;
    OpenDirectDrawSession();
    if (closedDown_) return;
    // A locked Wayland session is powered down by the compositor (swayidle's times), and the
    // saver draws nothing while the outputs are off; stepping aside would open the session.
    if (c_.display.LocksSession()) power_.switchOff();
    // The creatures start at the edges of the span the display shows.
    creatures_.reset();
    if (passwordEnabled_ == 1) c_.display.setLocked(true);
    // A saver started again on the lock its predecessor left (it died) asks at once: whoever
    // was at the keyboard was perhaps typing the password.
    askOnFirstFrame_ = passwordEnabled_ == 1 && c_.display.TakesOverAbandonedLock();
    if (c_.soundOn) bubbles_.OpenDirectSoundSession();
}

void Form1::OpenDirectDrawSession() {
    const SurfaceLoading with{c_.display, c_.system, c_.folder, settings_, random_};
    if (!bw::OpenDirectDrawSession(scene_, with)) {
        // Nothing can be shown: end cleanly rather than run on behind an invisible window. A
        // session lock not taken is a failure: whoever started it (swayidle) must not take the
        // session for locked.
        CloseDown(c_.display.LocksSession() ? 1 : 0);
    }
}

void Form1::startTimers() {
    for (QTimer* timer : {&Timer1, &Timer2, &Timer3, &TimerApp, &TimerTotal, &TimerFish})
        timer->start();
}

// --- frame loop ---------------------------------------------------------------------------

void Form1::RenderFrame() {
    if (closedDown_) return;
    if (firstFrame_) {
        staggerTicks_ = 0;
        firstFrame_ = false;
    }
    renderFrame(scene_, c_.display, *this);
    if (std::exchange(askOnFirstFrame_, false)) leaveAfterInput();
}

void Form1::swimBackgroundFish() { creatures_.swimBackgroundFish(); }
void Form1::swimCreature(int creature) { creatures_.swim(creature); }
void Form1::drawMessage() { overlays_.drawMessage(); }
bool Form1::customMode() const { return arrangement_.customMode(); }
void Form1::drawCustomCaptions() { arrangement_.drawCaptions(); }
void Form1::drawCalendar() { overlays_.drawCalendar(); }
void Form1::drawBubbles() { overlays_.drawBubbles(); }
void Form1::drawFirstRunMessages() { overlays_.drawFirstRunMessages(); }

// --- input ----------------------------------------------------------------------------------

void Form1::KeyDown(int keyCode) {
    if (c_.displayMode) return;
    if (closedDown_ || exitUnderway()) return;
    keysDown_.insert(keyCode);
    switch (keyCode) {
    case kKeyZ:
        arrangement_.keyZ();
        return;
    case kKeyX:
        arrangement_.keyX();
        return;
    case kKeyS:
        bubbles_.OpenDirectSoundSession();
        return;
    case kKeyQ:
        bubbles_.stopAll();
        return;
    case kKeyV:
        music_.keyV();
        return;
    case kKeyB:
        music_.keyB();
        return;
    default:
        keyExit_ = true;
        bubbles_.silenceForExit();
        KeyPressed();
    }
}

void Form1::KeyUp(int keyCode) {
    if (c_.displayMode) return;
    if (closedDown_ || exitUnderway()) return;
    // A key held down when the saver started (Enter in a terminal) must not end it.
    if (keysDown_.erase(keyCode) == 0) return;
    for (int ignored : {kKeyZ, kKeyS, kKeyQ, kKeySpace, kKeyX, kKeyV, kKeyB})
        if (keyCode == ignored) return;
    keyExit_ = true;
    KeyPressed();
}

void Form1::KeyPressed() {
    keyPressedMarker_ = true;
    c_.system.ShowCursor(true);
    leaveAfterInput();
}

// The end of every input exit: through the password prompt, or straight out.
void Form1::leaveAfterInput() {
    if (passwordEnabled_ == 1) {
        Password();
    } else {
        c_.display.CloseDisplay();
        PrepareToClose();
    }
    CloseDown();
}

void Form1::MouseMove(int button, int x, int y) {
    if (c_.displayMode) return;
    if (closedDown_) return;
    if (arrangement_.customMode()) {
        arrangement_.mouseMove(button, x, y);
        return;
    }
    if (!inputArmed_ || exitUnderway()) return;
    ++moveCount_;
    if (moveCount_ == mouseSensitivity_) {
        moveExit_ = true;
        bubbles_.silenceForExit();
        MouseMoveFunc();
        return;
    }
    // Movements count only within a short window; a quiet spell starts the count again.
    const int64_t now = c_.system.MonotonicMs();
    if (!moveWindowStartMs_) {
        moveWindowStartMs_ = now;
    } else if (now - *moveWindowStartMs_ > kMoveWindowMs) {
        moveWindowStartMs_.reset();
        moveCount_ = 0;
    }
}

void Form1::MouseMoveFunc() {
    bubbles_.stopAll();
    music_.stop();
    c_.system.ShowCursor(true);
    leaveAfterInput();
}

void Form1::MouseDown(int button, int x, int y) {
    if (c_.displayMode) return;
    if (closedDown_) return;
    if (arrangement_.customMode()) {
        arrangement_.mouseDown(button, x, y);
        return;
    }
    if (exitUnderway()) return;
    buttonExit_ = true;
    bubbles_.silenceForExit();
    MousePressed();
}

void Form1::MousePressed() {
    buttonPressedMarker_ = true;
    c_.system.ShowCursor(true);
    leaveAfterInput();
}

void Form1::MouseUp(int button, int x, int y) {
    if (c_.displayMode) return;
    if (closedDown_) return;
    if (arrangement_.customMode()) arrangement_.mouseUp(button, x, y);
}

void Form1::Deactivated() {
    if (closedDown_ || exitUnderway()) return;
    // Any X client can hide our window and a screen can be unplugged: with the password on,
    // that is one more way out that must pass the prompt, or it would open the desktop.
    if (passwordEnabled_ == 1) {
        displayLost_ = true;
        bubbles_.silenceForExit();
        c_.system.ShowCursor(true);
        leaveAfterInput();
        return;
    }
    CloseDown();
}

void Form1::Form_LostFocus() { c_.system.ShowCursor(true); }

// --- the way out ----------------------------------------------------------------------------

void Form1::Password() {
    bubbles_.stopAll();
    c_.display.CloseDisplay();
    PasswordPM();
}

void Form1::PasswordPM() {
    c_.system.ShowCursor(true);
    // The prompt is modal: the timers that opened it must not open another meanwhile.
    setExitTimersEnabled(false);
    c_.prompts.showPasswordPrompt();
}

void Form1::SetUpPowerM() {
    bubbles_.stopAll();
    c_.system.ShowCursor(true);
    setExitTimersEnabled(false);
    c_.prompts.showPowerNotice();
    CloseDown();
}

void Form1::PrepareToClose() {
    if (closedDown_) return;
    c_.system.ShowCursor(true);
    if (passwordEnabled_ == 1) {
        if (!exitUnderway()) {
            PasswordPM();
            CloseDown();
        }
        return;
    }
    if (poweredAside_)
        SetUpPowerM();
    else
        CloseDown();
}

void Form1::setExitTimersEnabled(bool enabled) {
    for (QTimer* timer : {&Timer2, &TimerTotal, &TimerFish}) {
        if (!enabled) timer->stop();
    }
}

void Form1::CloseDown(int exitCode) {
    if (closedDown_) return;
    closedDown_ = true;
    if (!c_.dialogPreview) c_.system.SetScreenSaverRunning(false);
    Form_Unload();
    for (QTimer* timer : {&Timer1, &Timer2, &Timer3, &TimerApp, &TimerTotal, &TimerFish})
        timer->stop();
    if (c_.dialogPreview) {
        c_.display.CloseDisplay();
        if (c_.previewEnded) c_.previewEnded();
        return;
    }
    c_.system.EndProcess(exitCode);
}

void Form1::Form_Unload() {
    bubbles_.unload();
    music_.stop();
    c_.system.ShowCursor(true);
}

// --- timers ---------------------------------------------------------------------------------

void Form1::Timer1_Timer() { music_.Timer1_Timer(); }

void Form1::Timer2_Timer() {
    bubbles_.secondTick();
    // The step-aside happens once, and never once an input exit is under way.
    if (closedDown_ || poweredAside_ || exitUnderway() || !power_.due()) return;
    poweredAside_ = true;
    bubbles_.silenceForExit();
    c_.display.CloseDisplay();
    PrepareToClose();
}

void Form1::Timer3_Timer() {
    if (!firstRunTimerEnabled_) return;
    ++firstRunTicks_;
    if (!scene_.TuneScrSvr) {
        scene_.firstRunCountdown = static_cast<int16_t>(30 - firstRunTicks_);
        if (firstRunTicks_ == 30) {
            scene_.TuneScrSvr = true;
            settings_.writeTrueFalse(key::TuneScrSvr, true);
        }
    }
    if (scene_.TuneScrSvr && !scene_.RunMonitor) {
        scene_.firstRunCountdown = static_cast<int16_t>(60 - firstRunTicks_);
        if (firstRunTicks_ == 60) {
            scene_.RunMonitor = true;
            settings_.writeTrueFalse(key::RunMonitor, true);
        }
    }
    // One notice at a time: a hand-edited store may have a later one done before an earlier one.
    if (scene_.TuneScrSvr && scene_.RunMonitor && !scene_.PwrMsg) {
        scene_.firstRunCountdown = static_cast<int16_t>(90 - firstRunTicks_);
        if (firstRunTicks_ == 90) {
            scene_.PwrMsg = true;
            settings_.writeTrueFalse(key::PwrMsg, true);
        }
    }
    if (firstRunTicks_ == 1000) {
        firstRunTimerEnabled_ = false;
        Timer3.stop();
    }
}

void Form1::TimerApp_Timer() {
    music_.minuteTick();
    bubbles_.minuteTick();
}

void Form1::TimerTotal_Timer() {
    ++staggerTicks_;
    if (staggerTicks_ > 2147400000) staggerTicks_ = 0;
    for (const auto& step : kStagger)
        if (staggerTicks_ == step.tick) creatures_.release(step.creature);
    if (staggerTicks_ > 4) inputArmed_ = true;
}

void Form1::TimerFish_Timer() { creatures_.TimerFish_Timer(); }

}  // namespace bw
