#include "app/SaverPromptWindows.h"

namespace bw {

SaverPromptWindows::SaverPromptWindows(SettingsStore& store, SystemLayer& system)
    : store_(store), system_(system) {}

// FIXME: the password prompt and the power-management notice come with their own windows.
void SaverPromptWindows::showPasswordPrompt() {}
void SaverPromptWindows::showPowerNotice() {}

}  // namespace bw
