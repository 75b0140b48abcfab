#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

#include "dialog/DialogControls.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace bw {

// The "Settings" tab: calendar, sound and bubbles, the message and its font, the password,
// the mouse sensitivity and whether the aquarium fills wide screens.
class SettingsTab : public QWidget {
    Q_OBJECT
  public:
    SettingsTab(DialogContext& context, QWidget* parent);

    QCheckBox* chkCalendar;
    // At the corners of the screen drawing: top left, bottom left, top right, bottom right.
    std::array<QRadioButton*, 4> optCal;
    QCheckBox* chkBubblesEffect1;
    QCheckBox* chkSound;
    QComboBox* cboSoundOff;
    QScrollBar* vsbVolume;
    QCheckBox* chkShowMessage;
    QLineEdit* txtMessage;
    QLineEdit* txtFontSizeMsg;
    QComboBox* cboFontsScreen;
    QCheckBox* chkFonts;
    QCheckBox* chkPassword;
    QPushButton* cmdChangePassword;
    QLabel* Label67;
    QLabel* lblCannotGuard;  // shown where the password cannot guard the desktop
    QScrollBar* hsbMouseS;
    QLineEdit* txtMouseS;
    QCheckBox* chkFillWide;

    int16_t CalPosChoice = 0;
    int16_t MouseValue = 0;
    int16_t FontCount = -1;

    static constexpr int kVolumeMin = -2500, kVolumeMax = 0, kMouseMin = 2, kMouseMax = 20;

    // Fills the font list with the system's font families.
    void LoadFonts();

    void optCal_Click(int index);
    void cboSoundOff_Click();
    void cboFontsScreen_Click();
    void chkFonts_Click();
    void cmdChangePassword_Click();
    void Label67_DblClick();

    // Loading steps.
    void loadFontSwitch();
    void loadMessage();
    void loadSound();
    void loadCalendar();
    void loadFontChoice();
    void loadMouse();
    void loadPassword();
    void loadBubbles();
    void loadFillWide();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Moves the font list to `index` as the stored choice does; the click handler writes it.
    void selectFont(int index);
    // The stored font: by name when the list has it, else by position.
    void selectStoredFont();

    DialogContext& c_;
};

}  // namespace bw
