#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

#include "dialog/DialogControls.h"

class QCheckBox;
class QRadioButton;

namespace bw {

// The "Scenery" tab: background fish, ocean bottoms, background wall and mounds.
class SceneryTab : public QWidget {
    Q_OBJECT
  public:
    SceneryTab(DialogContext& context, QWidget* parent);

    QCheckBox* chkColorFish;
    std::array<QCheckBox*, 6> chkOBottom;
    // Brick, Stone, Pebble, Rock, Sea, none: "Bottom" is the index + 1.
    std::array<QRadioButton*, 6> optBottom;
    QCheckBox* chkBGCliffsLeft;
    QCheckBox* chkBGCliffsCenter;
    QCheckBox* chkBGCliffsRight;

    int16_t BottomChoice = 1;

    void chkOBottom_Click(int index);
    void optBottom_Click(int index);

    // Loading steps.
    void loadBottom();
    void loadOceanBottoms();
    void loadMounds();
    void loadColorFish();

  private:
    DialogContext& c_;
};

}  // namespace bw
