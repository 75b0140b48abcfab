#pragma once

#include <QDateTime>
#include <QDialog>
#include <QTimer>
#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;

namespace bw {

class Settings;
class SystemLayer;

// The lock between the saver and the desktop: it stays on top, holds the keyboard and pointer,
// and closes only once the stored password is typed. Closing it any other way does nothing.
// After many wrong entries each try waits a little longer, so that guessing gets nowhere.
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
    QLabel* lblWait;  // the wait before the next try, after many wrong entries
    QLabel* lblAttempts;
    QLabel* lblFirstAttemptTime;
    QLabel* lblLastAttemptTime;
    QLabel* lblNumOfAttempts;

    void cmdOK_Click();
    // Shown, the prompt looks twice a second that it is still there and on top: another
    // program may unmap, lower or destroy it. One that is gone ends its modal loop (`lost()`
    // is then true) so that the caller can show it anew; the attempts are kept.
    void checkStillShown();
    bool lost() const { return lost_; }
    // A new window for a prompt that was lost, shown modally again.
    void showAgain();
    // Milliseconds until a try is taken again; 0 when one is taken now.
    int64_t waitRemainingMs();

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showStatistics(bool visible);
    void keepOnScreen();
    void raiseAbove();
    void showWait();

    const Settings& settings_;
    SystemLayer& system_;
    QList<QLabel*> statistics_;
    QDateTime firstAttempt_;
    QDateTime lastAttempt_;
    int attempts_ = 0;
    bool unlocked_ = false;
    bool lost_ = false;
    int unseenChecks_ = 0;
    QTimer watch_;
    int wrongEntries_ = 0;
    int64_t nextTryMs_ = 0;  // system monotonic time
    QTimer waitTick_;
};

}  // namespace bw
