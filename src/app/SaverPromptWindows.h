#pragma once

#include "app/Form1.h"

namespace bw {

class SettingsStore;
class SystemLayer;

// The saver's prompts as real windows.
class SaverPromptWindows : public SaverPrompts {
public:
    SaverPromptWindows(SettingsStore& store, SystemLayer& system);
    void showPasswordPrompt() override;
    void showPowerNotice() override;

private:
    SettingsStore& store_;
    SystemLayer& system_;
};

}  // namespace bw
