#pragma once

#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <cstdint>

namespace bw {

class SystemLayer;

// The small static picture shown inside the display settings' preview window.
class PreviewForm : public QLabel {
    Q_OBJECT
public:
    PreviewForm(const QString& picturePath, SystemLayer& system);

    // Becomes a child of the host's window and fills it; with no window (0) it is placed with
    // zero size and shows nothing.
    void embedInto(uint64_t hostWindow);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void followHost();

    SystemLayer& system_;
    QPixmap picture_;
    uint64_t host_ = 0;
    QTimer followTimer_;
};

}  // namespace bw
