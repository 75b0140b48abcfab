#include "dialog/ArtifactsTab.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

namespace bw {

// In the order the tab shows them; four pictures are named apart from their objects.
const ArtifactsTab::Artifact ArtifactsTab::kArtifacts[14] = {
    {&ArtifactsTab::chkRome, "Rome", key::Rome, "Artifacts\\Rome.bmp"},
    {&ArtifactsTab::chkStatue2, "Statue 2", key::Statue2, "Artifacts\\Statue3.bmp"},
    {&ArtifactsTab::chkTotem, "Totem", key::Totem, "Artifacts\\Statue2.bmp"},
    {&ArtifactsTab::chkPyramid, "Pyramid", key::Pyramid, "Artifacts\\pyramid.bmp"},
    {&ArtifactsTab::chkLighthouse2, "Lighthouse 2", key::LightHouse2, "Artifacts\\Lighthouse.bmp"},
    {&ArtifactsTab::chkLiberty, "Liberty", key::Liberty, "Artifacts\\Liberty.bmp"},
    {&ArtifactsTab::chkCity, "City", key::City, "Artifacts\\City.bmp"},
    {&ArtifactsTab::chkTreasure, "Treasure", key::Treasure, "Artifacts\\Treasure.bmp"},
    {&ArtifactsTab::chkCastle, "Castle", key::Castle, "Artifacts\\castle.bmp"},
    {&ArtifactsTab::chkColumns, "Columns", key::Columns, "Artifacts\\Columns.bmp"},
    {&ArtifactsTab::chkLightHouse, "Lighthouse", key::LightHouse, "Artifacts\\Litehous.bmp"},
    {&ArtifactsTab::chkHorse, "Trojan Horse", key::Horse, "Artifacts\\Horse.bmp"},
    {&ArtifactsTab::chkAnchor, "Anchor", key::Anchor, "Artifacts\\Anchor.bmp"},
    {&ArtifactsTab::chkStatue, "Statue", key::Statue, "Artifacts\\Statue.bmp"},
};

QCheckBox* addPictureCheck(QGridLayout* grid, int index, int columns, const QString& caption,
                           const QString& picture, QSize box, Settings& settings,
                           const SettingKey& key, QWidget* parent) {
    const int row = index / columns * 2;
    const int column = index % columns;
    grid->addWidget(new PictureFrame(picture, box, parent), row, column, Qt::AlignHCenter);
    QCheckBox* check = optionCheck(caption, settings, key, parent);
    grid->addWidget(check, row + 1, column, Qt::AlignHCenter | Qt::AlignTop);
    return check;
}

ArtifactsTab::ArtifactsTab(DialogContext& context, QWidget* parent) : QWidget(parent), c_(context) {
    auto* frame = new QGroupBox(QStringLiteral("Artifacts"), this);
    auto* grid = new QGridLayout(frame);
    for (int i = 0; i < 14; ++i) {
        const Artifact& a = kArtifacts[i];
        this->*a.box = addPictureCheck(grid, i, 7, QString::fromLatin1(a.caption),
                                       c_.installedFile(QString::fromLatin1(a.picture)),
                                       QSize(94, 94), c_.settings, a.key, frame);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(note(
        QStringLiteral(" To position the artifacts, run the screensaver and press the \"X\" key "
                       "on your keyboard.    The screensaver will enter the CUSTOM MODE where you "
                       "can click an object and move it to your desired location."),
        this));
    layout->addStretch();
}

void ArtifactsTab::load() {
    for (const Artifact& a : kArtifacts)
        (this->*a.box)->setChecked(loadedCheck(c_.settings, a.key));
}

}  // namespace bw
