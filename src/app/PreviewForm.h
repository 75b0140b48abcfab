#pragma once

#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <cstdint>
#include <memory>

class QWindow;

namespace bw {

class SystemLayer;

// The small static picture shown inside the display settings' preview window.
class PreviewForm : public QLabel {
    Q_OBJECT
public:
    PreviewForm(const QString& picturePath, SystemLayer& system);
    ~PreviewForm() override;

    // Becomes a child of the host's window, fills it and follows its size; ends the program
    // once the host's window is gone. False (nothing shown) when `hostWindow` is 0 or no
    // window.
    bool embedInto(uint64_t hostWindow);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void followHost();

    SystemLayer& system_;
    QPixmap picture_;
    uint64_t host_ = 0;
    std::unique_ptr<QWindow> hostHandle_;
    QTimer followTimer_;
};

}  // namespace bw
