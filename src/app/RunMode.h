#pragma once

#include <QString>
#include <cstdint>

namespace bw {

enum class RunMode { Saver, Preview, Configure, ChangePassword, None };

struct StartRequest {
    RunMode mode = RunMode::None;
    QString selector;            // the first two characters of the trimmed, lower-cased argument
    uint64_t previewWindow = 0;  // the window after "/p"; 0 when none
};

// Reads the screensaver argument: trimmed, lower-cased, the first two characters select the
// mode ("" or "/s" saver, "/p" preview, "/c" settings, "/a" change password).
StartRequest parseStartArgument(const QString& argument);

// The preview window in a "/p" argument: the longest numeric tail, decimal or 0x hex,
// leading blanks allowed ("/p 4660", "/p:4660", "/p 0x1234"). 0 when there is none.
uint64_t previewWindowFromArgument(const QString& argument);

// A second saver is refused while one runs, unless the display settings are open
// (their preview starts savers of its own).
bool refuseSecondSaver(const StartRequest& request, bool displayPropertiesOpen,
                       bool previousInstanceRunning);

}  // namespace bw
