#pragma once

#include <QDialog>

class QTabWidget;

namespace bw {

// The settings dialog.
class setup : public QDialog {
    Q_OBJECT
public:
    explicit setup(QWidget* owner = nullptr);

private:
    QTabWidget* SSTab1;
};

}  // namespace bw
