#pragma once

#include <QString>
#include <optional>

namespace bw {

// Puts Brinewave3 on XScreenSaver's list of display modes. XScreenSaver lists the
// "programs:" of the user's ~/.xscreensaver, or of the system's defaults when the user has no
// file; an installed option file alone does not make it show up.
//
// The entry added: "Brinewave3" brinewave3 -root (XScreenSaver puts its own folder of display
// modes first on the PATH, where the package puts brinewave3).
inline constexpr const char* kXScreenSaverEntry = "\"Brinewave3\"  brinewave3 -root";

// True when a line of a "programs:" value starts brinewave3, listed or switched off ("-").
bool isBrinewave3Entry(const QString& programsLine);

// The user's file with the entry added as the first display mode and every other line as it
// was; nullopt when the entry is there already. No `userFile`: the user has none, and the new
// file starts from the "*programs:" of `systemDefaults` (the X resource file of the system's
// defaults, null or empty when there is none) so that the other display modes stay listed.
std::optional<QString> withBrinewave3Entry(const std::optional<QString>& userFile,
                                           const QString& systemDefaults);

struct XScreenSaverListResult {
    bool ok = false;
    QString message;  // one or two lines for the user, saying what was done
};

// Adds the entry to the file at `userPath`, keeping the old file as `userPath`.bak; does
// nothing when it is there already. `systemDefaultsPath` is read only when `userPath` is missing.
XScreenSaverListResult addToXScreenSaverList(const QString& userPath,
                                             const QString& systemDefaultsPath);

}  // namespace bw
