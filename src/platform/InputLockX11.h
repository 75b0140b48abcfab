#pragma once

#include <QAbstractNativeEventFilter>

namespace bw {

// The keyboard and pointer of a running saver on X11, held on Qt's own connection so that
// every event still reaches our windows.
//
// Both grabs are taken on the root window, with owner events: our windows get their input as
// usual, every other client gets none. The root window is always viewable, so no other client
// can end the grab by unmapping or resizing a window of ours, and a change from the saver's
// window to the prompt's needs no new grab: there is no moment in which another client could
// take the keyboard.
class X11InputLock {
  public:
    // True on Qt's X11 platform, where this lock works.
    static bool available();
    // Takes both grabs (again; harmless while held). False while another client holds one:
    // try again later.
    static bool grab();
    static void release();
};

// Drops key, button and motion events that another client made up (XSendEvent): only the
// server's own input counts while the saver holds the screen. A password typed that way is
// not taken, nor counted as a try.
class SyntheticInputFilter : public QAbstractNativeEventFilter {
  public:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
};

}  // namespace bw
