#include "security/frmChangePassWord.h"

#include "security/PasswordBox.h"
#include "settings/Product.h"
#include "settings/Settings.h"
#include "system/SystemLayer.h"

#include <QFocusEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace bw {

frmChangePassWord::frmChangePassWord(Settings& settings, SystemLayer& system, QWidget* owner)
    : QDialog(owner), settings_(settings), system_(system) {
    setWindowTitle(QStringLiteral("Change Password"));
    txtOldPW = newPasswordBox();
    txtNewPW = newPasswordBox();
    txtVerifyPW = newPasswordBox();
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"));
    cmdOK = new QPushButton(QStringLiteral("&OK"));
    cmdOK->setDefault(true);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Old Password:"), txtOldPW);
    fields->addRow(QStringLiteral("New Password:"), txtNewPW);
    fields->addRow(QStringLiteral("Verify:"), txtVerifyPW);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    setTabOrder(txtOldPW, txtNewPW);
    setTabOrder(txtNewPW, txtVerifyPW);
    setTabOrder(txtVerifyPW, cmdCancel);
    setTabOrder(cmdCancel, cmdOK);
    setMinimumWidth(340);

    connect(cmdOK, &QPushButton::clicked, this, &frmChangePassWord::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmChangePassWord::cmdCancel_Click);
    txtOldPW->installEventFilter(this);

    storedPassword_ = settings_.text(key::Password);
    // Without a password there is no old one to confirm.
    if (storedPassword_.isEmpty()) txtOldPW->setEnabled(false);
}

bool frmChangePassWord::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtOldPW && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Another window taking over (a message box, the desktop) is not leaving the box.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            txtOldPW_LostFocus();
    }
    return QDialog::eventFilter(watched, event);
}

bool frmChangePassWord::oldPasswordMatches() const {
    return storedPassword_.isEmpty() || txtOldPW->text() == storedPassword_;
}

void frmChangePassWord::txtOldPW_LostFocus() {
    if (oldPasswordMatches()) return;
    const MessageAnswer answer =
        system_.MessageBox(QStringLiteral("Do you want to try again?"),
                           QStringLiteral("WRONG PASSWORD"), MessageIcon::None,
                           MessageButtons::YesNo);
    if (answer == MessageAnswer::No) {
        reject();
        return;
    }
    txtOldPW->setFocus();
}

void frmChangePassWord::cmdOK_Click() {
    // Enter pressed in the old-password box never leaves it: check the old password here too.
    if (!oldPasswordMatches()) {
        txtOldPW_LostFocus();
        return;
    }
    if (txtNewPW->text() == txtVerifyPW->text()) {
        settings_.write(key::Password, txtNewPW->text());
        accept();
        return;
    }
    system_.MessageBox(QStringLiteral("Please verify again."), QLatin1String(kProductName),
                       MessageIcon::Exclamation, MessageButtons::Ok);
    txtVerifyPW->setFocus();
}

void frmChangePassWord::cmdCancel_Click() { reject(); }

}  // namespace bw
