#include "app/PreviewForm.h"

#include "system/SystemLayer.h"

#include <QCoreApplication>
#include <QWindow>

namespace bw {

PreviewForm::PreviewForm(const QString& picturePath, SystemLayer& system)
    : system_(system), picture_(picturePath) {
    setWindowTitle(QStringLiteral("Preview"));
    setAlignment(Qt::AlignCenter);
    setStyleSheet(QStringLiteral("background: black"));
    // The host closes the preview by destroying its window: check now and then that it is there.
    followTimer_.setInterval(500);
    connect(&followTimer_, &QTimer::timeout, this, &PreviewForm::followHost);
}

PreviewForm::~PreviewForm() {
    // The host's handle must not take our window with it.
    if (hostHandle_ && windowHandle()) windowHandle()->setParent(nullptr);
}

bool PreviewForm::embedInto(uint64_t hostWindow) {
    host_ = hostWindow;
    const QSize size = hostWindow ? system_.ForeignWindowSize(hostWindow) : QSize();
    if (!size.isValid()) {
        setGeometry(0, 0, 0, 0);
        return false;
    }
    setAttribute(Qt::WA_NativeWindow);
    setWindowFlags(Qt::FramelessWindowHint);
    winId();
    hostHandle_.reset(QWindow::fromWinId(static_cast<WId>(hostWindow)));
    if (!hostHandle_) return false;
    windowHandle()->setParent(hostHandle_.get());
    setGeometry(0, 0, size.width(), size.height());
    show();
    followTimer_.start();
    return true;
}

void PreviewForm::followHost() {
    const QSize size = system_.ForeignWindowSize(host_);
    if (!size.isValid()) {
        QCoreApplication::exit(0);  // quit() may be refused by windows that cannot close
        return;
    }
    if (size != this->size()) resize(size);
}

void PreviewForm::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    if (!picture_.isNull())
        setPixmap(picture_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

}  // namespace bw
