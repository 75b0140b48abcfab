#include "app/Form1.h"

#include "audio/MediaPlayer.h"
#include "audio/SoundComponent.h"
#include "system/SystemLayer.h"

namespace bw {

Form1::Form1(SaverComponents components) : c_(components) { c_.display.setEventSink(this); }

Form1::~Form1() { c_.display.setEventSink(nullptr); }

void Form1::Form_Load() {
    c_.system.ShowCursor(false);
    if (!c_.display.OpenDisplay(800, 600, 32, QString())) {
        c_.system.MessageBox(
            QStringLiteral("This screensaver requires your color setting to be 32-bit(Highest)\r\n"
                           "\r\nPlease look in our help file or website if you do not know how "
                           "to change this setting"),
            QStringLiteral("Error opening Direct Draw!"), MessageIcon::Critical,
            MessageButtons::Ok);
        // Nothing can be shown: end cleanly rather than run on with an invisible window.
        CloseDown();
    }
}

void Form1::RenderFrame() {
    c_.display.ClearFrame(rgb(0, 0, 0));
    c_.display.PresentFrame();
}

void Form1::KeyDown(int) { exitOnInput(); }
void Form1::KeyUp(int) {}
void Form1::MouseDown(int, int, int) { exitOnInput(); }
void Form1::MouseMove(int, int, int) {}
void Form1::MouseUp(int, int, int) {}

void Form1::Deactivated() {
    if (!exitUnderway_) CloseDown();
}

void Form1::exitOnInput() {
    if (exitUnderway_) return;
    exitUnderway_ = true;
    c_.system.ShowCursor(true);
    c_.display.CloseDisplay();
    CloseDown();
}

void Form1::CloseDown() {
    if (closedDown_) return;
    closedDown_ = true;
    c_.system.SetScreenSaverRunning(false);
    Form_Unload();
    c_.system.EndProcess(0);
}

void Form1::Form_Unload() {
    c_.sound.StopAll();
    c_.player.Stop();
    c_.system.ShowCursor(true);
}

}  // namespace bw
