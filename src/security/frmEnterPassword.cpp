#include "security/frmEnterPassword.h"

#include "security/PasswordBox.h"
#include "settings/Settings.h"
#include "system/SystemLayer.h"
#include "system/TimeText.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

namespace bw {

namespace {

// Typing mistakes cost nothing; after that each wrong entry doubles the wait before the next,
// up to half a minute: guessing becomes hopeless, the owner is never shut out for long.
constexpr int kFreeTries = 5;
constexpr int64_t kFirstWaitMs = 1000;
constexpr int64_t kLongestWaitMs = 30'000;

int64_t waitAfterWrongEntries(int wrong) {
    if (wrong < kFreeTries) return 0;
    const int doublings = std::min(wrong - kFreeTries, 15);
    return std::min(kFirstWaitMs << doublings, kLongestWaitMs);
}

}  // namespace

frmEnterPassword::frmEnterPassword(const Settings& settings, SystemLayer& system, QWidget* owner)
    : QDialog(owner), settings_(settings), system_(system) {
    setWindowTitle(QStringLiteral("Enter Password"));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint);
    setModal(true);

    auto* instruction = new QLabel(
        QStringLiteral("You have selected the password option so you must now enter your password:"));
    instruction->setWordWrap(true);
    txtPassword = newPasswordBox();
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    cmdOK = new QPushButton(QStringLiteral("&OK"));
    cmdOK->setDefault(true);
    lblWrong = new QLabel(QStringLiteral("WRONG!"));
    lblWrong->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold"));
    lblWait = new QLabel;
    lblAttempts = new QLabel(QStringLiteral("Somebody has tried repeatedly to access this computer!"));
    lblAttempts->setWordWrap(true);
    auto* lblFirstAttempt = new QLabel(QStringLiteral("1st Attempt:"));
    auto* lblLastAttempt = new QLabel(QStringLiteral("Last Attempt:"));
    auto* lblTotalAttempts = new QLabel(QStringLiteral("Total Attempts:"));
    lblFirstAttemptTime = new QLabel;
    lblLastAttemptTime = new QLabel;
    lblNumOfAttempts = new QLabel;
    statistics_ = {lblAttempts,    lblFirstAttempt,    lblFirstAttemptTime, lblLastAttempt,
                   lblLastAttemptTime, lblTotalAttempts, lblNumOfAttempts};

    auto* entry = new QHBoxLayout;
    entry->addWidget(new QLabel(QStringLiteral("Password:")));
    entry->addWidget(txtPassword, 1);
    entry->addWidget(cmdOK);
    auto* stats = new QGridLayout;
    stats->addWidget(lblAttempts, 0, 0, 1, 2);
    stats->addWidget(lblFirstAttempt, 1, 0);
    stats->addWidget(lblFirstAttemptTime, 1, 1);
    stats->addWidget(lblLastAttempt, 2, 0);
    stats->addWidget(lblLastAttemptTime, 2, 1);
    stats->addWidget(lblTotalAttempts, 3, 0);
    stats->addWidget(lblNumOfAttempts, 3, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(instruction);
    layout->addLayout(entry);
    layout->addWidget(lblWrong);
    layout->addWidget(lblWait);
    layout->addLayout(stats);
    layout->addStretch();
    setMinimumWidth(420);

    connect(cmdOK, &QPushButton::clicked, this, &frmEnterPassword::cmdOK_Click);
    watch_.setInterval(500);
    connect(&watch_, &QTimer::timeout, this, &frmEnterPassword::checkStillShown);
    waitTick_.setInterval(250);
    connect(&waitTick_, &QTimer::timeout, this, &frmEnterPassword::showWait);

    // Loading: the lock is on from here, the attempts count from now.
    system_.SetScreenSaverRunning(true, nullptr);
    firstAttempt_ = system_.Now();
    lblWrong->hide();
    lblWait->hide();
    showStatistics(false);
}

void frmEnterPassword::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Now that the window exists, it is the one that holds the keyboard and pointer.
    system_.SetScreenSaverRunning(true, windowHandle());
    raiseAbove();
    activateWindow();
    txtPassword->setFocus();
    lost_ = false;
    unseenChecks_ = 0;
    watch_.start();
}

void frmEnterPassword::checkStillShown() {
    if (unlocked_ || !isVisible()) {
        watch_.stop();
        return;
    }
    const bool gone = system_.WindowGone(winId());
    const bool unseen = !windowHandle() || !windowHandle()->isExposed();
    // A window just shown may take a moment to be exposed: unseen counts after two looks.
    if (gone || (unseen && ++unseenChecks_ >= 2)) {
        watch_.stop();
        lost_ = true;
        hide();  // ends the modal loop
        return;
    }
    if (!unseen) unseenChecks_ = 0;
    keepOnScreen();
    raiseAbove();
    if (!isActiveWindow()) activateWindow();
}

void frmEnterPassword::raiseAbove() {
    // On a Wayland session's lock the prompt is drawn off screen, above everything already.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) raise();
}

// Another program may move the prompt off the screen or shrink it: it comes back whole, in the
// middle of the primary screen, so that nobody types blind.
void frmEnterPassword::keepOnScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    const QSize whole = sizeHint().expandedTo(minimumSize());
    const QRect now = geometry();
    if (area.contains(now) && now.width() >= whole.width() && now.height() >= whole.height())
        return;
    const QSize size = now.size().expandedTo(whole).boundedTo(area.size());
    setGeometry(QRect(area.center() - QPoint(size.width() / 2, size.height() / 2), size));
}

int64_t frmEnterPassword::waitRemainingMs() {
    return std::max<int64_t>(0, nextTryMs_ - system_.MonotonicMs());
}

// Counts down the wait before the next try, in whole seconds.
void frmEnterPassword::showWait() {
    const int64_t remaining = waitRemainingMs();
    cmdOK->setEnabled(remaining == 0);
    lblWait->setVisible(remaining > 0);
    if (remaining == 0) {
        waitTick_.stop();
        return;
    }
    const int64_t seconds = (remaining + 999) / 1000;
    lblWait->setText(seconds == 1 ? QStringLiteral("Wait 1 second before the next try.")
                                  : QStringLiteral("Wait %1 seconds before the next try.").arg(seconds));
}

void frmEnterPassword::showAgain() {
    // The old window may be destroyed or unmapped behind Qt's back: start from a new one.
    destroy();
    exec();
}

void frmEnterPassword::showStatistics(bool visible) {
    for (QLabel* label : statistics_) label->setVisible(visible);
}

void frmEnterPassword::cmdOK_Click() {
    if (waitRemainingMs() > 0) return;  // neither checked nor counted; what was typed stays
    lblWrong->hide();
    ++attempts_;
    lastAttempt_ = system_.Now();
    if (txtPassword->text() == settings_.text(key::Password)) {
        unlocked_ = true;
        system_.SetScreenSaverRunning(false);
        accept();
        return;
    }
    lblWrong->show();
    ++wrongEntries_;
    nextTryMs_ = system_.MonotonicMs() + waitAfterWrongEntries(wrongEntries_);
    showWait();
    if (waitRemainingMs() > 0) waitTick_.start();
    txtPassword->clear();
    txtPassword->setFocus();
    if (attempts_ > 2) {
        lblFirstAttemptTime->setText(timeOfDayText(firstAttempt_.time()));
        lblLastAttemptTime->setText(timeOfDayText(lastAttempt_.time()));
        lblNumOfAttempts->setText(QString::number(attempts_));
        showStatistics(true);
        adjustSize();  // room for the statistics, which were hidden when the prompt was laid out
    }
}

// Escape and the window frame's close button must not unlock.
void frmEnterPassword::reject() {}

void frmEnterPassword::closeEvent(QCloseEvent* event) {
    if (!unlocked_) event->ignore();
}

}  // namespace bw
