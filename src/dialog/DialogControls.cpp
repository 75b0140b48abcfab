#include "dialog/DialogControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <QScrollBar>

#include "settings/Conversions.h"
#include "settings/InstallFolder.h"

namespace bw {

QString DialogContext::installedFile(const QString& relativeName) const {
    return folder.map(InstallFolder::kText + relativeName);
}

QStringList powerTimes(bool hardDisk) {
    QStringList times{QStringLiteral("1 Minute"), QStringLiteral("2 Minutes")};
    if (hardDisk) times.clear();
    times << QStringLiteral("3 Minutes") << QStringLiteral("5 Minutes")
          << QStringLiteral("10 Minutes") << QStringLiteral("15 Minutes")
          << QStringLiteral("20 Minutes") << QStringLiteral("25 Minutes")
          << QStringLiteral("30 Minutes") << QStringLiteral("45 Minutes")
          << QStringLiteral("1 hour") << QStringLiteral("2 hours") << QStringLiteral("3 hours")
          << QStringLiteral("4 hours") << QStringLiteral("5 hours") << QStringLiteral("Never");
    return times;
}

QStringList minuteChoices() {
    QStringList choices{QStringLiteral("Never")};
    for (int minutes :
         {1, 2, 3, 4, 5, 10, 15, 20, 30, 45, 60, 90, 120, 180, 240, 300, 360, 420, 480})
        choices << QString::number(minutes);
    return choices;
}

QString minutesToStore(const QString& comboText) {
    return comboText == u"Never" ? QStringLiteral("0") : comboText;
}

QString minutesToShow(const QString& stored) {
    return textToInt16(stored).value_or(0) == 0 ? QStringLiteral("Never") : stored;
}

bool loadedCheck(const Settings& settings, const SettingKey& key) {
    const QString text = settings.text(key);
    if (key.form == ValueForm::TrueFalse) return textToBool(text).value_or(factoryFlag(key));
    const std::optional<int16_t> value = textToInt16(text);
    if (value == 0 || value == 1) return *value == 1;
    return factoryFlag(key);
}

int loadedInteger(const Settings& settings, const SettingKey& key, int minimum, int maximum) {
    const std::optional<int16_t> value = textToInt16(settings.text(key));
    if (value && *value >= minimum && *value <= maximum) return *value;
    return factoryInteger(key);
}

QCheckBox* optionCheck(const QString& caption, Settings& settings, const SettingKey& key,
                       QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    QObject::connect(box, &QCheckBox::toggled, box,
                     [&settings, &key](bool ticked) { settings.writeCheck(key, ticked); });
    return box;
}

QLineEdit* echoBox(QWidget* parent) {
    auto* echo = new QLineEdit(parent);
    echo->setReadOnly(true);
    echo->setFocusPolicy(Qt::NoFocus);
    echo->setAlignment(Qt::AlignCenter);
    echo->setFixedWidth(echo->fontMetrics().horizontalAdvance(QStringLiteral("-0000")) + 12);
    return echo;
}

QScrollBar* optionBar(Qt::Orientation orientation, int minimum, int maximum, QLineEdit* echo,
                      Settings& settings, const SettingKey& key, QWidget* parent) {
    auto* bar = new QScrollBar(orientation, parent);
    bar->setRange(minimum, maximum);
    bar->setPageStep(std::max(1, (maximum - minimum) / 10));
    bar->setValue(minimum);
    if (echo) echo->setText(QString::number(minimum));
    QObject::connect(bar, &QScrollBar::valueChanged, bar, [echo, &settings, &key](int value) {
        if (echo) echo->setText(QString::number(value));
        settings.writeInteger(key, value);
    });
    if (orientation == Qt::Horizontal) bar->setMinimumWidth(90);
    return bar;
}

QComboBox* choiceCombo(const QStringList& entries, const QString& initialText, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(entries);
    setComboText(combo, initialText);
    return combo;
}

void setComboText(QComboBox* combo, const QString& text) {
    const QSignalBlocker quiet(combo);
    const int index = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    combo->setCurrentIndex(index);
    combo->setEditText(text);
}

QLabel* note(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

PictureFrame::PictureFrame(const QString& path, QSize box, QWidget* parent) : QLabel(parent) {
    setFrameShape(QFrame::StyledPanel);
    setAlignment(Qt::AlignCenter);
    setFixedSize(box);
    const QImage picture(path);
    if (picture.isNull()) return;
    hasPicture_ = true;
    const QSize inner = box - QSize(4, 4);
    QImage fitted = picture;
    if (picture.width() > inner.width() || picture.height() > inner.height())
        fitted = picture.scaled(inner, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    setPixmap(QPixmap::fromImage(fitted));
}

}  // namespace bw
