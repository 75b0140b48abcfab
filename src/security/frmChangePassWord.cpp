#include "security/frmChangePassWord.h"

namespace bw {

frmChangePassWord::frmChangePassWord(QWidget* owner) : QDialog(owner) {
    setWindowTitle(QStringLiteral("Change Password"));
}

}  // namespace bw
