#pragma once

#include <QWidget>

#include "dialog/DialogControls.h"

class QCheckBox;
class QGridLayout;

namespace bw {

// Puts a picture with its check box under it into cell `index` of a grid `columns` wide.
QCheckBox* addPictureCheck(QGridLayout* grid, int index, int columns, const QString& caption,
                           const QString& picture, QSize box, Settings& settings,
                           const SettingKey& key, QWidget* parent);

// The "Artifacts" tab: a picture and a show switch for each sunken object.
class ArtifactsTab : public QWidget {
    Q_OBJECT
  public:
    ArtifactsTab(DialogContext& context, QWidget* parent);

    QCheckBox* chkRome;
    QCheckBox* chkStatue2;
    QCheckBox* chkTotem;
    QCheckBox* chkPyramid;
    QCheckBox* chkLighthouse2;
    QCheckBox* chkLiberty;
    QCheckBox* chkCity;
    QCheckBox* chkTreasure;
    QCheckBox* chkCastle;
    QCheckBox* chkColumns;
    QCheckBox* chkLightHouse;
    QCheckBox* chkHorse;
    QCheckBox* chkAnchor;
    QCheckBox* chkStatue;

    void load();

  private:
    struct Artifact {
        QCheckBox* ArtifactsTab::*box;
        const char* caption;
        const SettingKey& key;
        const char* picture;
    };
    static const Artifact kArtifacts[14];

    DialogContext& c_;
};

}  // namespace bw
