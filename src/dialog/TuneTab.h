#pragma once

#include <QWidget>
#include <cstdint>

#include "dialog/DialogControls.h"

class QLineEdit;
class QScrollBar;

namespace bw {

// The "Tune Saver" tab: how fast the saver runs on this computer.
class TuneTab : public QWidget {
    Q_OBJECT
  public:
    TuneTab(DialogContext& context, QWidget* parent);

    QScrollBar* hsbTunePC;
    QLineEdit* txtTunePC;
    int16_t TuneValue = 0;

    static constexpr int kMin = 0, kMax = 40;

    void load();

  private:
    DialogContext& c_;
};

}  // namespace bw
