#include "app/SaverPromptWindows.h"

#include "power/PM.h"
#include "security/frmEnterPassword.h"
#include "settings/Settings.h"

#include <QCoreApplication>

namespace bw {

SaverPromptWindows::SaverPromptWindows(SettingsStore& store, SystemLayer& system)
    : store_(store), system_(system) {}

void SaverPromptWindows::showPasswordPrompt() {
    const Settings settings(store_, Reader::Saver);
    frmEnterPassword prompt(settings, system_);
    // The prompt refuses every way out but the password; should its loop end anyway (another
    // program took its window away), it comes back rather than letting the saver end unlocked.
    prompt.exec();
    while (!prompt.unlocked() && !QCoreApplication::closingDown()) prompt.showAgain();
}

void SaverPromptWindows::showPowerNotice() {
    PM notice(system_);
    notice.exec();
}

}  // namespace bw
