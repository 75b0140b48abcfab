#pragma once

#include <QWidget>
#include <array>

#include "dialog/DialogControls.h"

class QCheckBox;

namespace bw {

// The "Plants" tab: a picture and a show switch for each small and large plant.
class PlantsTab : public QWidget {
    Q_OBJECT
  public:
    PlantsTab(DialogContext& context, QWidget* parent);

    std::array<QCheckBox*, 14> chkPlantLife;  // chkPlantLife01 to chkPlantLife14
    std::array<QCheckBox*, 5> chkCliff;       // chkCliff01 to chkCliff05

    void loadPlants();
    void loadCliffs();

  private:
    DialogContext& c_;
};

}  // namespace bw
