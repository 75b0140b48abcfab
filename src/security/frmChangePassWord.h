#pragma once

#include <QDialog>

namespace bw {

// The password change dialog.
class frmChangePassWord : public QDialog {
    Q_OBJECT
public:
    explicit frmChangePassWord(QWidget* owner = nullptr);
};

}  // namespace bw
