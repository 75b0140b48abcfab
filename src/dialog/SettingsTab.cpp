#include "dialog/SettingsTab.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "security/frmChangePassWord.h"
#include "settings/Product.h"
#include "system/SystemLayer.h"

namespace bw {

namespace {

// A small drawing of a monitor with a position button in each corner of its screen.
class ScreenDrawing : public QWidget {
  public:
    explicit ScreenDrawing(QWidget* parent) : QWidget(parent) { setFixedSize(150, 118); }
    // 0 top left, 1 bottom left, 2 top right, 3 bottom right.
    void place(const std::array<QRadioButton*, 4>& buttons) {
        const QRect s = screen();
        for (int i = 0; i < 4; ++i) {
            QRadioButton* b = buttons[i];
            b->setParent(this);
            b->adjustSize();
            const int x = i < 2 ? s.left() + 4 : s.right() - b->width() - 3;
            const int y = i % 2 == 0 ? s.top() + 4 : s.bottom() - b->height() - 3;
            b->move(x, y);
        }
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRect s = screen();
        p.setPen(QPen(palette().color(QPalette::Dark), 2));
        p.setBrush(palette().color(QPalette::Mid));
        p.drawRoundedRect(s.adjusted(-6, -6, 6, 6), 6, 6);
        p.setBrush(QColor(20, 70, 120));
        p.drawRect(s);
        const int mid = width() / 2;
        p.setBrush(palette().color(QPalette::Mid));
        p.drawRect(mid - 8, s.bottom() + 7, 16, 8);
        p.drawRoundedRect(mid - 30, s.bottom() + 15, 60, 6, 3, 3);
    }

  private:
    QRect screen() const { return QRect(8, 7, width() - 16, height() - 37); }
};

}  // namespace

SettingsTab::SettingsTab(DialogContext& context, QWidget* parent) : QWidget(parent), c_(context) {
    Settings& s = c_.settings;

    // Calendar and clock.
    auto* calFrame = new QGroupBox(QStringLiteral("Calendar/Clock"), this);
    chkCalendar = optionCheck(QStringLiteral("Show"), s, key::Calendar, calFrame);
    auto* drawing = new ScreenDrawing(calFrame);
    auto* calGroup = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        optCal[i] = new QRadioButton(drawing);
        optCal[i]->setAccessibleName(QStringLiteral("Calendar position %1").arg(i));
        calGroup->addButton(optCal[i], i);
    }
    drawing->place(optCal);
    connect(calGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) optCal_Click(id);
    });
    auto* calLayout = new QGridLayout(calFrame);
    calLayout->addWidget(chkCalendar, 0, 0);
    calLayout->addWidget(new QLabel(QStringLiteral("Position on Screen"), calFrame), 1, 0);
    calLayout->addWidget(drawing, 0, 1, 3, 1);
    calLayout->setRowStretch(2, 1);

    // Sound and bubbles.
    auto* soundFrame = new QGroupBox(QStringLiteral("Sound And Bubbles"), this);
    chkBubblesEffect1 = optionCheck(QStringLiteral("Bubbles On"), s, key::Bubbles, soundFrame);
    chkSound = optionCheck(QStringLiteral("Sound On"), s, key::Sound, soundFrame);
    cboSoundOff = choiceCombo(minuteChoices(), QStringLiteral("Never"), soundFrame);
    connect(cboSoundOff, &QComboBox::activated, this, [this] { cboSoundOff_Click(); });
    vsbVolume =
        optionBar(Qt::Vertical, kVolumeMin, kVolumeMax, nullptr, s, key::Volume, soundFrame);
    {
        // The loudest end at the top; the value is written once it settles, not while dragging.
        const QSignalBlocker quiet(vsbVolume);
        vsbVolume->setValue(kVolumeMax);
    }
    vsbVolume->setInvertedAppearance(true);
    vsbVolume->setInvertedControls(true);
    vsbVolume->setTracking(false);
    vsbVolume->setMinimumHeight(90);
    vsbVolume->setMaximumHeight(160);
    auto* soundNote = new QLabel(QStringLiteral(" While the screensaver is running:\n"
                                                "Press the  \"Q\" key to stop the sound\n"
                                                "Press the \"S\" key to start the sound"),
                                 soundFrame);
    soundNote->setFrameShape(QFrame::StyledPanel);
    soundNote->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* stopAfter = new QHBoxLayout;
    stopAfter->addWidget(new QLabel(QStringLiteral("Stop sound after:"), soundFrame));
    stopAfter->addWidget(cboSoundOff);
    stopAfter->addWidget(new QLabel(QStringLiteral("min."), soundFrame));
    stopAfter->addStretch();
    auto* volume = new QVBoxLayout;
    volume->addWidget(new QLabel(QStringLiteral("Volume"), soundFrame), 0, Qt::AlignHCenter);
    volume->addWidget(vsbVolume, 0, Qt::AlignHCenter);
    volume->addStretch();
    auto* soundLeft = new QVBoxLayout;
    soundLeft->addWidget(chkBubblesEffect1);
    soundLeft->addWidget(chkSound);
    soundLeft->addLayout(stopAfter);
    soundLeft->addWidget(soundNote);
    soundLeft->addStretch();
    auto* soundLayout = new QHBoxLayout(soundFrame);
    soundLayout->addLayout(soundLeft, 1);
    soundLayout->addLayout(volume);

    // The message and its font.
    auto* messageFrame = new QGroupBox(QStringLiteral("Show Message"), this);
    chkShowMessage = optionCheck(QStringLiteral("Show Message"), s, key::ShowMessage, messageFrame);
    txtMessage = new QLineEdit(messageFrame);
    connect(txtMessage, &QLineEdit::textChanged, this,
            [this](const QString& text) { c_.settings.write(key::Message, text); });
    txtFontSizeMsg = new QLineEdit(messageFrame);
    txtFontSizeMsg->setMaximumWidth(60);
    connect(txtFontSizeMsg, &QLineEdit::textChanged, this,
            [this](const QString& text) { c_.settings.write(key::FontSizeMsg, text); });
    cboFontsScreen = new QComboBox(messageFrame);
    cboFontsScreen->setMinimumContentsLength(12);
    cboFontsScreen->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(cboFontsScreen, &QComboBox::activated, this, [this] { cboFontsScreen_Click(); });
    chkFonts = new QCheckBox(messageFrame);
    connect(chkFonts, &QCheckBox::toggled, this, [this] { chkFonts_Click(); });
    auto* fontsNote = note(QStringLiteral("Loading the fonts causes a delay in starting the "
                                          "Control Box.  Check this box if you do not want to use "
                                          "a different font.  The Control Box will then load "
                                          "faster."),
                           messageFrame);
    fontsNote->setBuddy(chkFonts);
    auto* messageLayout = new QGridLayout(messageFrame);
    messageLayout->addWidget(chkShowMessage, 0, 0, 1, 2);
    messageLayout->addWidget(new QLabel(QStringLiteral("Type your message below:"), messageFrame),
                             1, 0, 1, 2);
    messageLayout->addWidget(txtMessage, 2, 0, 1, 2);
    messageLayout->addWidget(new QLabel(QStringLiteral("Font Size:"), messageFrame), 3, 0);
    messageLayout->addWidget(txtFontSizeMsg, 3, 1, Qt::AlignLeft);
    messageLayout->addWidget(new QLabel(QStringLiteral("Font:"), messageFrame), 4, 0);
    messageLayout->addWidget(cboFontsScreen, 4, 1);
    messageLayout->addWidget(chkFonts, 5, 0, Qt::AlignTop | Qt::AlignRight);
    messageLayout->addWidget(fontsNote, 5, 1);
    messageLayout->setColumnStretch(1, 1);
    messageLayout->setRowStretch(6, 1);

    // The password.
    auto* passwordFrame = new QGroupBox(QStringLiteral("Password"), this);
    auto* enableFrame = new QGroupBox(QStringLiteral("Enable or Disable Password"), passwordFrame);
    chkPassword = optionCheck(QStringLiteral("Password"), s, key::PWEnabled, enableFrame);
    (new QVBoxLayout(enableFrame))->addWidget(chkPassword);
    auto* changeFrame = new QGroupBox(QStringLiteral("Change Password"), passwordFrame);
    cmdChangePassword = new QPushButton(QStringLiteral("Change"), changeFrame);
    connect(cmdChangePassword, &QPushButton::clicked, this, [this] { cmdChangePassword_Click(); });
    (new QVBoxLayout(changeFrame))->addWidget(cmdChangePassword);
    Label67 = new QLabel(QString::fromLatin1(kMakerWebAddress), passwordFrame);
    Label67->installEventFilter(this);
    auto* passwordLayout = new QGridLayout(passwordFrame);
    passwordLayout->addWidget(enableFrame, 0, 0);
    passwordLayout->addWidget(changeFrame, 0, 1);
    passwordLayout->addWidget(Label67, 1, 0, 1, 2, Qt::AlignHCenter);
    // A desktop the password cannot guard is named here, not found out at the saver's start.
    lblCannotGuard = new QLabel(c_.system.WhyPasswordCannotGuard(), passwordFrame);
    lblCannotGuard->setWordWrap(true);
    lblCannotGuard->setVisible(!lblCannotGuard->text().isEmpty());
    passwordLayout->addWidget(lblCannotGuard, 2, 0, 1, 2);

    // Mouse sensitivity.
    auto* mouseFrame = new QGroupBox(QStringLiteral("Mouse Sensitivity"), this);
    txtMouseS = echoBox(mouseFrame);
    hsbMouseS =
        optionBar(Qt::Horizontal, kMouseMin, kMouseMax, txtMouseS, s, key::MouseSens, mouseFrame);
    connect(hsbMouseS, &QScrollBar::valueChanged, this,
            [this](int value) { MouseValue = static_cast<int16_t>(value); });
    auto* mouseLayout = new QHBoxLayout(mouseFrame);
    mouseLayout->addWidget(new QLabel(QStringLiteral("Light Touch"), mouseFrame));
    mouseLayout->addWidget(hsbMouseS, 1);
    mouseLayout->addWidget(new QLabel(QStringLiteral("HeavyTouch"), mouseFrame));
    mouseLayout->addWidget(txtMouseS);

    // Wide screens.
    auto* screenFrame = new QGroupBox(QStringLiteral("Wide Screens"), this);
    chkFillWide = optionCheck(QStringLiteral("Fill wide screens"), s, key::FillWide, screenFrame);
    chkFillWide->setToolTip(QStringLiteral(
        "On a screen wider than 4:3, the water, wall and floor reach the screen's edges"));
    (new QVBoxLayout(screenFrame))->addWidget(chkFillWide);

    auto* left = new QVBoxLayout;
    left->addWidget(calFrame);
    left->addWidget(soundFrame, 1);
    left->addWidget(screenFrame);
    auto* right = new QVBoxLayout;
    right->addWidget(messageFrame, 1);
    right->addWidget(passwordFrame);
    right->addWidget(mouseFrame);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right, 1);
}

bool SettingsTab::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label67 && event->type() == QEvent::MouseButtonDblClick) {
        Label67_DblClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SettingsTab::LoadFonts() {
    // Filled afresh each time, so switching the font list off and on lists every font once.
    const QSignalBlocker quiet(cboFontsScreen);
    cboFontsScreen->clear();
    QStringList fonts;
    for (const QString& family : QFontDatabase::families()) {
        if (!QFontDatabase::isPrivateFamily(family)) fonts << family;
    }
    FontCount = static_cast<int16_t>(std::min<qsizetype>(fonts.size(), INT16_MAX) - 1);
    cboFontsScreen->addItems(fonts);
    cboFontsScreen->setCurrentIndex(-1);
    selectStoredFont();
}

void SettingsTab::selectStoredFont() {
    // The name decides where both are stored: font lists differ between machines. It is read
    // before the position is shown, since showing a position stores its name.
    const QString name = c_.settings.text(key::FontName);
    selectFont(loadedInteger(c_.settings, key::SelectedFont, 0, FontCount));
    selectFont(cboFontsScreen->findText(name, Qt::MatchFixedString));
}

void SettingsTab::selectFont(int index) {
    if (index < 0 || index >= cboFontsScreen->count()) return;
    if (index == cboFontsScreen->currentIndex()) return;
    {
        const QSignalBlocker quiet(cboFontsScreen);
        cboFontsScreen->setCurrentIndex(index);
    }
    cboFontsScreen_Click();
}

void SettingsTab::optCal_Click(int index) {
    CalPosChoice = static_cast<int16_t>(index);
    c_.settings.writeInteger(key::CalPos, CalPosChoice);
}

void SettingsTab::cboSoundOff_Click() {
    c_.settings.write(key::SoundOff, minutesToStore(cboSoundOff->currentText()));
}

void SettingsTab::cboFontsScreen_Click() {
    c_.settings.writeInteger(key::SelectedFont, cboFontsScreen->currentIndex());
    c_.settings.write(key::FontName, cboFontsScreen->currentText());
}

void SettingsTab::chkFonts_Click() {
    if (chkFonts->isChecked()) {
        cboFontsScreen->setEnabled(false);
    } else {
        cboFontsScreen->setEnabled(true);
        LoadFonts();
    }
    c_.settings.writeCheck(key::CheckFont, chkFonts->isChecked());
}

void SettingsTab::cmdChangePassword_Click() {
    frmChangePassWord change(c_.settings, c_.system, this);
    change.exec();
}

void SettingsTab::Label67_DblClick() {
    c_.system.MessageBox(c_.settings.text(key::Password), QStringLiteral("Your Password"),
                         MessageIcon::Information, MessageButtons::Ok);
}

void SettingsTab::loadFontSwitch() {
    chkFonts->setChecked(loadedCheck(c_.settings, key::CheckFont));
    if (!chkFonts->isChecked()) LoadFonts();
}

void SettingsTab::loadMessage() {
    chkShowMessage->setChecked(loadedCheck(c_.settings, key::ShowMessage));
    txtMessage->setText(c_.settings.text(key::Message));
    txtFontSizeMsg->setText(c_.settings.text(key::FontSizeMsg));
}

void SettingsTab::loadSound() {
    chkSound->setChecked(loadedCheck(c_.settings, key::Sound));
    setComboText(cboSoundOff, minutesToShow(c_.settings.text(key::SoundOff)));
    vsbVolume->setValue(loadedInteger(c_.settings, key::Volume, kVolumeMin, kVolumeMax));
}

void SettingsTab::loadCalendar() {
    CalPosChoice = static_cast<int16_t>(loadedInteger(c_.settings, key::CalPos, 0, 3));
    optCal[CalPosChoice]->setChecked(true);
    chkCalendar->setChecked(loadedCheck(c_.settings, key::Calendar));
}

void SettingsTab::loadFontChoice() {
    if (!chkFonts->isChecked()) selectStoredFont();
}

void SettingsTab::loadMouse() {
    hsbMouseS->setValue(loadedInteger(c_.settings, key::MouseSens, kMouseMin, kMouseMax));
    MouseValue = static_cast<int16_t>(hsbMouseS->value());
}

void SettingsTab::loadPassword() {
    chkPassword->setChecked(loadedCheck(c_.settings, key::PWEnabled));
}

void SettingsTab::loadBubbles() {
    chkBubblesEffect1->setChecked(loadedCheck(c_.settings, key::Bubbles));
}

void SettingsTab::loadFillWide() {
    chkFillWide->setChecked(loadedCheck(c_.settings, key::FillWide));
}

}  // namespace bw
