#pragma once

#include <QDateTime>
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace bw {

class Settings;
class SystemLayer;

// The lock between the saver and the desktop: it stays on top, holds the keyboard and pointer,
// and closes only once the stored password is typed. Closing it any other way does nothing.
class frmEnterPassword : public QDialog {
    Q_OBJECT
public:
    frmEnterPassword(const Settings& settings, SystemLayer& system, QWidget* owner = nullptr);

    bool unlocked() const { return unlocked_; }
    int attempts() const { return attempts_; }

    // For tests and the wiring: the controls by their names.
    QLineEdit* txtPassword;
    QPushButton* cmdOK;
    QLabel* lblWrong;
    QLabel* lblAttempts;
    QLabel* lblFirstAttemptTime;
    QLabel* lblLastAttemptTime;
    QLabel* lblNumOfAttempts;

    void cmdOK_Click();

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showStatistics(bool visible);

    const Settings& settings_;
    SystemLayer& system_;
    QList<QLabel*> statistics_;
    QDateTime firstAttempt_;
    QDateTime lastAttempt_;
    int attempts_ = 0;
    bool unlocked_ = false;
};

}  // namespace bw
