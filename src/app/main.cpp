#include "app/Module1.h"
#include "app/SaverPromptWindows.h"
#include "platform/LinuxSystemLayer.h"
#include "platform/SdlMediaPlayer.h"
#include "platform/SdlSoundComponent.h"
#include "platform/SpriteDisplay.h"
#include "settings/IniSettingsStore.h"
#include "settings/InstallFolder.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brinewave3"));
    QApplication::setQuitOnLastWindowClosed(false);

    bw::LinuxSystemLayer system;
    bw::IniSettingsStore store(bw::IniSettingsStore::defaultPath());
    const bw::InstallFolder folder;
    bw::Module1 module({system, store, folder, [&] {
                            return bw::SaverDevices{
                                std::make_unique<bw::SpriteDisplay>(),
                                std::make_unique<bw::SdlSoundComponent>(),
                                std::make_unique<bw::SdlMediaPlayer>(),
                                std::make_unique<bw::SaverPromptWindows>(store, system)};
                        }});
    const QStringList arguments = QApplication::arguments().mid(1);
    if (module.Main(arguments.join(u' ')) == bw::Module1::Next::Exit) return 0;
    return QApplication::exec();
}
