#include "dialog/WaterTab.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "settings/InstallFolder.h"
#include "system/SystemLayer.h"

namespace bw {

namespace {
// The preview keeps the 4:3 shape of the saver's screen.
constexpr QSize kPreviewSize(320, 240);
}  // namespace

WaterTab::WaterTab(DialogContext& context, QWidget* parent) : QWidget(parent), c_(context) {
    cboWater = choiceCombo({}, QStringLiteral("Water Backgrounds"), this);
    cboWater->setMinimumContentsLength(18);

    picMain = new QFrame(this);
    picMain->setFrameShape(QFrame::Box);
    picMain->setFixedSize(kPreviewSize);
    picMain->setAutoFillBackground(true);
    imgMain = new QLabel(picMain);
    imgMain->setScaledContents(true);
    imgMain->hide();
    paintPreviewArea(false);

    auto* style = new QGroupBox(QStringLiteral("Water Style"), this);
    optWater = {new QRadioButton(QStringLiteral("Image"), style),
                new QRadioButton(QStringLiteral("Black"), style)};
    auto* styleGroup = new QButtonGroup(this);
    auto* styleLayout = new QVBoxLayout(style);
    for (int i = 0; i < 2; ++i) {
        styleGroup->addButton(optWater[i], i);
        styleLayout->addWidget(optWater[i]);
    }
    connect(styleGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) optWater_Click(id);
    });
    connect(cboWater, &QComboBox::activated, this, [this] { cboWater_Click(); });

    cmdPreview = new QPushButton(QStringLiteral("&Preview"), this);
    cmdColor = new QPushButton(QStringLiteral("Set Color Here"), this);
    cmdFactory = new QPushButton(QStringLiteral("Reset to Factory Defaults"), this);

    auto* choose = note(QStringLiteral("Choose a water type from the dropdown list below.  A "
                                       "screenshot will appear in the window to the left"),
                        this);
    auto* kept = note(QStringLiteral("This water type will be used unless you change it"), this);
    auto* tipTitle = new QLabel(QStringLiteral("*TIP*"), this);
    QFont bold = tipTitle->font();
    bold.setBold(true);
    tipTitle->setFont(bold);
    const QString ownFolder = QDir::toNativeSeparators(c_.folder.waterFolders().value(1));
    auto* tip = note(QStringLiteral("You can add more water backgrounds: put .BMP pictures of "
                                    "800x600 pixels into %1 and they appear in the list.")
                         .arg(ownFolder),
                     this);
    tip->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* colour = note(QStringLiteral("This screensaver is best viewed if you use the highest "
                                       "color setting your computer allows. (Highest 32-Bit)"),
                        this);

    auto* right = new QVBoxLayout;
    right->addWidget(choose);
    right->addWidget(cboWater);
    right->addWidget(kept);
    right->addWidget(style);
    right->addWidget(cmdPreview);
    right->addStretch();

    auto* left = new QVBoxLayout;
    left->addWidget(picMain);
    left->addWidget(tipTitle);
    left->addWidget(tip);
    left->addStretch();

    auto* bottom = new QGridLayout;
    bottom->addWidget(colour, 0, 0);
    bottom->addWidget(cmdColor, 0, 1);
    bottom->addWidget(cmdFactory, 1, 1);
    bottom->setColumnStretch(0, 1);

    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addSpacing(12);
    top->addLayout(right, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);
}

QString WaterTab::waterPicture(const QString& name) const {
    return c_.installedFile(QStringLiteral("Water\\") + name);
}

void WaterTab::Fill_List_Boxes() {
    cboWater->clear();
    QStringList names;
    for (const QString& folder : c_.folder.waterFolders()) {
        const QStringList files = QDir(folder).entryList(
            {QStringLiteral("*.bmp")}, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
        for (const QString& file : files) {
            // A picture the user added under an installed name is still one choice.
            if (!names.contains(file, Qt::CaseInsensitive)) names << file;
        }
    }
    cboWater->addItems(names);
    if (names.isEmpty()) {
        c_.system.MessageBox(
            QStringLiteral("You need to put BMPs in the folder for the water background ") + u'\n' +
                QDir::toNativeSeparators(c_.folder.waterFolders().value(1)),
            QStringLiteral("Need BMP files"), MessageIcon::Exclamation, MessageButtons::Ok);
    }
}

void WaterTab::ShowPicturePreview(const QString& path) {
    imgMain->hide();
    const QImage picture = fileExists(path) ? QImage(path) : QImage();
    if (picture.isNull()) return;  // the area stays empty
    const int w = std::min(picture.width(), picMain->width());
    const int h = std::min(picture.height(), picMain->height());
    imgMain->setGeometry(picMain->width() / 2 - w / 2, picMain->height() / 2 - h / 2, w, h);
    imgMain->setPixmap(QPixmap::fromImage(picture));
    imgMain->show();
}

void WaterTab::paintPreviewArea(bool black) {
    QPalette palette = picMain->palette();
    palette.setColor(QPalette::Window, black ? QColor(Qt::black) : palette.color(QPalette::Base));
    picMain->setPalette(palette);
}

void WaterTab::cboWater_Click() {
    paintPreviewArea(false);
    ShowPicturePreview(waterPicture(cboWater->currentText()));
    c_.settings.write(key::Water, cboWater->currentText());
}

void WaterTab::optWater_Click(int index) {
    if (index == 0) {
        paintPreviewArea(false);
        ShowPicturePreview(waterPicture(cboWater->currentText()));
        c_.settings.write(key::Water, cboWater->currentText());
    } else {
        imgMain->hide();
        paintPreviewArea(true);
        c_.settings.write(key::Water, QString());
    }
    WaterTypeChoice = static_cast<int16_t>(index + 1);
    c_.settings.writeInteger(key::WaterType, WaterTypeChoice);
}

void WaterTab::loadWater() {
    setComboText(cboWater, c_.settings.text(key::Water));
    cboWater_Click();
}

void WaterTab::loadWaterType() {
    WaterTypeChoice = static_cast<int16_t>(loadedInteger(c_.settings, key::WaterType, 1, 2));
    optWater[WaterTypeChoice - 1]->setChecked(true);
}

}  // namespace bw
