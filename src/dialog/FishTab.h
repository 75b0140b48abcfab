#pragma once

#include <QWidget>
#include <array>

#include "dialog/DialogControls.h"

class QCheckBox;
class QGridLayout;
class QLineEdit;
class QScrollBar;

namespace bw {

// The "Fish" tab: for each creature a picture, its show switch, its speed and its frequency.
class FishTab : public QWidget {
    Q_OBJECT
  public:
    FishTab(DialogContext& context, QWidget* parent);

    std::array<QCheckBox*, 9> ChkFish;
    std::array<QScrollBar*, 9> HSBSpeed;
    std::array<QLineEdit*, 9> txtSpeed;
    std::array<QScrollBar*, 9> hsbFreq;
    std::array<QLineEdit*, 9> txtFreq;
    QCheckBox* ChkDolphin;
    QCheckBox* ChkShark;
    QCheckBox* ChkTurtle;
    QScrollBar* HSBSpeedDolphin;
    QScrollBar* HSBSpeedShark;
    QScrollBar* HSBSpeedTurtle;
    QLineEdit* txtSpeedDolphin;
    QLineEdit* txtSpeedShark;
    QLineEdit* txtSpeedTurtle;
    QScrollBar* hsbFreqDolphin;
    QScrollBar* hsbFreqShark;
    QScrollBar* hsbFreqTurtle;
    QLineEdit* txtFreqDolphin;
    QLineEdit* txtFreqShark;
    QLineEdit* txtFreqTurtle;

    static constexpr int kSpeedMin = 1, kSpeedMax = 4, kFreqMin = 25, kFreqMax = 60;

    // Loading steps: the show switches, the speeds, the frequencies.
    void loadShow();
    void loadSpeeds();
    void loadFrequencies();

  private:
    struct Row {
        QCheckBox* show;
        QScrollBar* speed;
        QLineEdit* speedEcho;
        QScrollBar* freq;
        QLineEdit* freqEcho;
    };
    Row addRow(QGridLayout* grid, int row, const char* picture, const SettingKey& show,
               const SettingKey& speed, const SettingKey& freq);

    DialogContext& c_;
};

}  // namespace bw
