#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

#include "dialog/DialogControls.h"

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;

namespace bw {

// The "Water" tab: the water picture with its preview, the water style, and the buttons that
// lead out of the dialog (preview, colour settings, factory reset), which `setup` handles.
class WaterTab : public QWidget {
    Q_OBJECT
  public:
    WaterTab(DialogContext& context, QWidget* parent);

    QComboBox* cboWater;
    QFrame* picMain;                        // the preview area
    QLabel* imgMain;                        // the picture, stretched to its own size inside picMain
    std::array<QRadioButton*, 2> optWater;  // "Image", "Black"
    QPushButton* cmdPreview;
    QPushButton* cmdColor;
    QPushButton* cmdFactory;

    int16_t WaterTypeChoice = 1;

    // Lists the water pictures of the installed and the user's water folder.
    void Fill_List_Boxes();
    // Shows the picture at `path` centred in the preview area, squeezed to it where larger;
    // an empty area when it cannot be read.
    void ShowPicturePreview(const QString& path);

    void cboWater_Click();
    void optWater_Click(int index);

    // Loading steps.
    void loadWater();
    void loadWaterType();

    // The install-folder file of a water picture name.
    QString waterPicture(const QString& name) const;

  private:
    void paintPreviewArea(bool black);

    DialogContext& c_;
};

}  // namespace bw
