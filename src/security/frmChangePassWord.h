#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace bw {

class Settings;
class SystemLayer;

// Sets the saver's password: the old one first (unless none is set), then the new one twice.
class frmChangePassWord : public QDialog {
    Q_OBJECT
public:
    frmChangePassWord(Settings& settings, SystemLayer& system, QWidget* owner = nullptr);

    QLineEdit* txtOldPW;
    QLineEdit* txtNewPW;
    QLineEdit* txtVerifyPW;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    void txtOldPW_LostFocus();
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool oldPasswordMatches() const;

    Settings& settings_;
    SystemLayer& system_;
    QString storedPassword_;
};

}  // namespace bw
