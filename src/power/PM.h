#pragma once

#include <QDialog>
#include <QTimer>

class QLabel;

namespace bw {

class SystemLayer;

// The notice shown when the saver steps aside for power management. The user's first key,
// mouse movement or click over it ends the saver.
class PM : public QDialog {
    Q_OBJECT
public:
    explicit PM(SystemLayer& system, QWidget* owner = nullptr);

    QLabel* Label1;
    QLabel* Label2;

    void Timer1_Timer();
    int ticks() const { return ticks_; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void userCameBack();

    SystemLayer& system_;
    QTimer Timer1;
    int ticks_ = 0;
    bool done_ = false;
};

}  // namespace bw
