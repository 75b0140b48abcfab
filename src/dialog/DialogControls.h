#pragma once

#include <QLabel>
#include <QSize>
#include <QString>
#include <QStringList>

#include "settings/Settings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QScrollBar;
class QWidget;

namespace bw {

class InstallFolder;
class SystemLayer;

// What every tab of the settings dialog works with.
struct DialogContext {
    Settings& settings;  // read with the dialog's defaults
    SystemLayer& system;
    const InstallFolder& folder;

    // The real file of an install-folder name such as "fish\1Angel1.bmp".
    QString installedFile(const QString& relativeName) const;
};

// The time texts of the power combos; the hard-disk list starts at "5 Minutes".
QStringList powerTimes(bool hardDisk);
// "Never" and the minute choices of the sound and music switch-off combos.
QStringList minuteChoices();

// What the minute combos store: "0" for "Never", else the text (a number of minutes).
QString minutesToStore(const QString& comboText);
// What a stored minute count shows: "Never" for 0 or no number, else the text.
QString minutesToShow(const QString& stored);

// Loading a control: the value read with the dialog's default when the control can hold it,
// else the key's factory default (an empty text for a check box, "1" for a range that
// starts at 2).
bool loadedCheck(const Settings& settings, const SettingKey& key);
int loadedInteger(const Settings& settings, const SettingKey& key, int minimum, int maximum);

// The check-box family: every change of the box writes "1" or "0" to its key.
QCheckBox* optionCheck(const QString& caption, Settings& settings, const SettingKey& key,
                       QWidget* parent);

// A scroll bar of the option family: each change, dragging included, shows the value in
// `echo` and writes it. The bar starts at its minimum; `echo` may be null.
QScrollBar* optionBar(Qt::Orientation orientation, int minimum, int maximum, QLineEdit* echo,
                      Settings& settings, const SettingKey& key, QWidget* parent);
// The small read-only box that echoes a bar's value.
QLineEdit* echoBox(QWidget* parent);

// An editable combo: the text is free, but only choosing an entry of the list counts.
QComboBox* choiceCombo(const QStringList& entries, const QString& initialText, QWidget* parent);
// Sets the combo's text as loading does (no handler runs).
void setComboText(QComboBox* combo, const QString& text);

// A label that wraps, for the dialog's notes.
QLabel* note(const QString& text, QWidget* parent);

// A picture of the aquarium's art, scaled down to fit `box`; an empty frame when the file is
// missing or unreadable.
class PictureFrame : public QLabel {
    Q_OBJECT
  public:
    PictureFrame(const QString& path, QSize box, QWidget* parent);
    bool hasPicture() const { return hasPicture_; }

  private:
    bool hasPicture_ = false;
};

}  // namespace bw
