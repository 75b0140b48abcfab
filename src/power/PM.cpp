#include "power/PM.h"

#include "system/SystemLayer.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace bw {

PM::PM(SystemLayer& system, QWidget* owner) : QDialog(owner), system_(system) {
    setWindowTitle(QStringLiteral("Power Management"));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint);
    setMouseTracking(true);
    Label1 = new QLabel(QStringLiteral("Power Management is set to come on shortly."));
    Label2 = new QLabel(QStringLiteral(
        "If you would like to stop this from happening please press a key or move the mouse."));
    for (QLabel* label : {Label1, Label2}) {
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignCenter);
        label->setMouseTracking(true);
    }
    QFont heading = Label1->font();
    heading.setPointSizeF(heading.pointSizeF() * 1.4);
    heading.setBold(true);
    Label1->setFont(heading);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    setMinimumSize(460, 180);

    system_.SetScreenSaverRunning(true, nullptr);
    Timer1.setInterval(1000);
    connect(&Timer1, &QTimer::timeout, this, &PM::Timer1_Timer);
    Timer1.start();
}

void PM::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    system_.SetScreenSaverRunning(true, windowHandle());
    raise();
    activateWindow();
}

void PM::Timer1_Timer() {
    ++ticks_;
    if (ticks_ > 60) {
        Label1->setText(QStringLiteral("Power Management was activated"));
        Label2->setText(QStringLiteral("Simply move the mouse or hit a key to return to your work"));
    }
}

void PM::keyPressEvent(QKeyEvent* event) {
    if (!event->text().isEmpty()) userCameBack();
}

void PM::mouseMoveEvent(QMouseEvent*) { userCameBack(); }
void PM::mouseReleaseEvent(QMouseEvent*) { userCameBack(); }

// Closing from the frame counts as coming back too: there is nothing to protect here.
void PM::closeEvent(QCloseEvent* event) {
    userCameBack();
    event->accept();
}

void PM::userCameBack() {
    if (done_) return;
    done_ = true;
    Timer1.stop();
    system_.SetScreenSaverRunning(false);
    accept();
}

}  // namespace bw
