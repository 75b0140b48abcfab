#pragma once

#include <QDialog>
#include <functional>

#include "dialog/DialogControls.h"
#include "settings/Settings.h"

class QPushButton;
class QTabWidget;

namespace bw {

class ArtifactsTab;
class FishTab;
class InstallFolder;
class MusicTab;
class PlantsTab;
class PowerTab;
class SceneryTab;
class SettingsStore;
class SettingsTab;
class SystemLayer;
class TuneTab;
class WaterTab;

// The settings dialog. It reads every option when it opens and writes each one the moment
// its control changes; the music lists are written when it closes.
class setup : public QDialog {
    Q_OBJECT
  public:
    // `runPreview` starts the saver full screen as a preview above the dialog; once it has
    // ended, previewEnded() lets the button start another.
    setup(SettingsStore& store, SystemLayer& system, const InstallFolder& folder,
          std::function<void()> runPreview, QWidget* owner = nullptr);
    ~setup() override;

    QTabWidget* SSTab1;
    WaterTab* water;
    FishTab* fish;
    SceneryTab* scenery;
    SettingsTab* options;  // the "Settings" tab
    ArtifactsTab* artifacts;
    PlantsTab* plants;
    TuneTab* tune;
    PowerTab* power;
    MusicTab* music;
    QPushButton* cmdOK;
    QPushButton* cmdWebsite;
    QPushButton* Command2;  // "&Help"
    QPushButton* cmdAbout;

    // Reads the system's screen-saver delay and shows it in minutes.
    void SSTimeFunc();

    void cmdOK_Click();
    void cmdWebsite_Click();
    void Command2_Click();
    void cmdAbout_Click();
    void cmdPreview_Click();
    void previewEnded() { previewStarted_ = false; }
    void cmdColor_Click();
    void cmdFactory_Click();
    void cmdSeePM_Click();
    void cmdPMHelp_Click();

    // Writes the play list and the album.
    void setup_Form_Unload();

    // Closing, by any way, saves the music lists.
    void done(int result) override;

  private:
    void setup_Form_Load();
    // A tab's page, scrolling when the window is too small for it.
    void addTab(QWidget* page, const QString& title);

    Settings settings_;
    DialogContext context_;
    std::function<void()> runPreview_;
    bool previewStarted_ = false;
};

}  // namespace bw
