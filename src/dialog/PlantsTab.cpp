#include "dialog/PlantsTab.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

#include "dialog/ArtifactsTab.h"

namespace bw {

PlantsTab::PlantsTab(DialogContext& context, QWidget* parent) : QWidget(parent), c_(context) {
    auto* smallFrame = new QGroupBox(QStringLiteral("Small Plants"), this);
    auto* smallGrid = new QGridLayout(smallFrame);
    smallGrid->setVerticalSpacing(2);
    for (int i = 0; i < 14; ++i) {
        chkPlantLife[i] =
            addPictureCheck(smallGrid, i, 7, QStringLiteral("Plant %1").arg(i + 1),
                            c_.installedFile(QStringLiteral("Plants\\coral%1.bmp").arg(i + 1)),
                            QSize(86, 58), c_.settings, key::Plant[i], smallFrame);
    }
    auto* largeFrame = new QGroupBox(QStringLiteral("Large Plants"), this);
    auto* largeGrid = new QGridLayout(largeFrame);
    largeGrid->setVerticalSpacing(2);
    for (int i = 0; i < 5; ++i) {
        chkCliff[i] =
            addPictureCheck(largeGrid, i, 5, QStringLiteral("Large Plant %1").arg(i + 1),
                            c_.installedFile(QStringLiteral("Plants\\cliff0%1.bmp").arg(i + 1)),
                            QSize(86, 92), c_.settings, key::Cliff[i], largeFrame);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(smallFrame);
    layout->addWidget(largeFrame);
    layout->addWidget(note(
        QStringLiteral(" To position these objetcs, run the screensaver and press the \"X\" key "
                       "on your keyboard.    The screensaver will enter the CUSTOM MODE where you "
                       "can click an object and move it to your desired location."),
        this));
    layout->addStretch();
}

void PlantsTab::loadPlants() {
    for (int i = 0; i < 14; ++i)
        chkPlantLife[i]->setChecked(loadedCheck(c_.settings, key::Plant[i]));
}

void PlantsTab::loadCliffs() {
    for (int i = 0; i < 5; ++i) chkCliff[i]->setChecked(loadedCheck(c_.settings, key::Cliff[i]));
}

}  // namespace bw
