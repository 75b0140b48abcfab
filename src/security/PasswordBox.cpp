#include "security/PasswordBox.h"

#include <QLineEdit>

namespace bw {

QLineEdit* newPasswordBox(QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setEchoMode(QLineEdit::Password);
    // 42 is '*'; the style sheet property is the one way to choose it for one widget.
    box->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42 }"));
    return box;
}

}  // namespace bw
