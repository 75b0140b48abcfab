#include "fakes/FakeSystemLayer.h"
#include "fakes/MemorySettingsStore.h"
#include "fakes/QtApp.h"
#include "fakes/ScopedLocale.h"
#include "security/frmChangePassWord.h"
#include "security/frmEnterPassword.h"
#include "settings/Settings.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace bw {
namespace {

class PasswordTest : public ::testing::Test {
protected:
    PasswordTest() { ensureQtApp(); }
    void store(const QString& password) { Settings(memory, Reader::Dialog).write(key::Password, password); }
    MemorySettingsStore memory;
    Settings saver{memory, Reader::Saver};
    Settings dialog{memory, Reader::Dialog};
    FakeSystemLayer system;
};

TEST_F(PasswordTest, PromptMatchesExactlyAndEndsTheRunningState) {
    const struct {
        const char* stored;
        const char* typed;
        bool opens;
    } cases[] = {{"", "", true}, {"Secret", "Secret", true}, {"Secret", "secret", false},
                 {"Secret", "", false}, {"", " ", false}};
    for (const auto& c : cases) {
        store(c.stored);
        frmEnterPassword prompt(saver, system);
        EXPECT_TRUE(system.ScreenSaverRunning());
        prompt.txtPassword->setText(c.typed);
        prompt.cmdOK_Click();
        EXPECT_EQ(prompt.unlocked(), c.opens) << c.stored << " / " << c.typed;
        EXPECT_EQ(system.ScreenSaverRunning(), !c.opens);
        EXPECT_EQ(prompt.lblWrong->isHidden(), c.opens);
        if (!c.opens) {
            EXPECT_TRUE(prompt.txtPassword->text().isEmpty());
        }
    }
}

TEST_F(PasswordTest, APromptTakenAwayComesBackWithItsAttempts) {
    store("right");
    frmEnterPassword prompt(saver, system);
    prompt.show();
    for (int i = 0; i < 3; ++i) {
        prompt.txtPassword->setText("wrong");
        prompt.cmdOK_Click();
    }
    prompt.checkStillShown();
    EXPECT_FALSE(prompt.lost());
    EXPECT_TRUE(prompt.isVisible());

    system.setWindowGone(true);  // another program destroyed its window
    prompt.checkStillShown();
    EXPECT_TRUE(prompt.lost());
    EXPECT_FALSE(prompt.isVisible());
    EXPECT_TRUE(system.ScreenSaverRunning());
    system.setWindowGone(false);

    // Shown anew: the statistics go on, and the password still opens it.
    bool shownAgain = false;
    QTimer::singleShot(0, [&] {
        shownAgain = prompt.isVisible() && !prompt.lost();
        prompt.txtPassword->setText("right");
        prompt.cmdOK_Click();
    });
    prompt.showAgain();
    EXPECT_TRUE(shownAgain);
    EXPECT_TRUE(prompt.unlocked());
    EXPECT_EQ(prompt.attempts(), 4);
    EXPECT_EQ(prompt.lblNumOfAttempts->text(), "3");
    EXPECT_FALSE(system.ScreenSaverRunning());
}

TEST_F(PasswordTest, BuiltInPasswordWhenNoneIsStored) {
    frmEnterPassword prompt(saver, system);
    const QString builtIn = saver.text(key::Password);
    ASSERT_EQ(builtIn.size(), 1);
    prompt.txtPassword->setText(builtIn);
    prompt.cmdOK_Click();
    EXPECT_TRUE(prompt.unlocked());
}

TEST_F(PasswordTest, StatisticsFromTheThirdWrongEntry) {
    store("right");
    const ScopedDefaultLocale english(QLocale(QLocale::English, QLocale::UnitedStates));
    system.setNow(QDateTime(QDate(2026, 12, 8), QTime(14, 0, 9)));
    frmEnterPassword prompt(saver, system);
    prompt.show();
    for (int attempt = 1; attempt <= 3; ++attempt) {
        system.advanceMs(60'000);
        prompt.txtPassword->setText("wrong");
        prompt.cmdOK_Click();
        EXPECT_EQ(prompt.lblAttempts->isVisible(), attempt >= 3) << "attempt " << attempt;
    }
    EXPECT_EQ(prompt.lblNumOfAttempts->text(), "3");
    // The prompt grows to show the statistics whole.
    QCoreApplication::processEvents();
    EXPECT_GE(prompt.height(), prompt.sizeHint().height());
    // Times of day as the system writes them, with seconds and without a time-zone name.
    EXPECT_EQ(withPlainSpaces(prompt.lblFirstAttemptTime->text()), "2:00:09 PM");
    EXPECT_EQ(withPlainSpaces(prompt.lblLastAttemptTime->text()), "2:03:09 PM");
    EXPECT_FALSE(prompt.unlocked());
}

TEST_F(PasswordTest, ManyWrongEntriesMakeEachNextTryWaitLonger) {
    store("right");
    frmEnterPassword prompt(saver, system);
    auto enter = [&](const char* text) {
        prompt.txtPassword->setText(text);
        prompt.cmdOK_Click();
    };
    for (int mistake = 0; mistake < 4; ++mistake) enter("wrong");
    EXPECT_EQ(prompt.waitRemainingMs(), 0) << "a few typing mistakes cost nothing";
    enter("wrong");
    EXPECT_EQ(prompt.waitRemainingMs(), 1000);
    EXPECT_FALSE(prompt.cmdOK->isEnabled());
    EXPECT_EQ(prompt.lblWait->text(), "Wait 1 second before the next try.");
    EXPECT_TRUE(prompt.lblWait->isVisibleTo(&prompt));
    // A try while waiting is neither checked nor counted, and keeps what was typed.
    enter("right");
    EXPECT_FALSE(prompt.unlocked());
    EXPECT_EQ(prompt.attempts(), 5);
    EXPECT_EQ(prompt.txtPassword->text(), "right");
    int64_t wait = 1000;
    for (int64_t next : {2000, 4000, 8000, 16000, 30000, 30000}) {
        system.advanceMs(wait);
        enter("wrong");
        EXPECT_EQ(prompt.waitRemainingMs(), next);
        wait = next;
    }
    EXPECT_EQ(prompt.lblWait->text(), "Wait 30 seconds before the next try.");
    system.advanceMs(wait);
    enter("right");
    EXPECT_TRUE(prompt.unlocked()) << "never shut out for good";
}

TEST_F(PasswordTest, EveryPasswordBoxShowsStars) {
    frmEnterPassword prompt(saver, system);
    frmChangePassWord change(dialog, system);
    for (QLineEdit* box :
         {prompt.txtPassword, change.txtOldPW, change.txtNewPW, change.txtVerifyPW}) {
        box->setText(QStringLiteral("s3cret"));
        EXPECT_EQ(box->displayText(), QStringLiteral("******")) << box->objectName().toStdString();
    }
}

TEST_F(PasswordTest, PromptCannotBeClosedWithoutThePassword) {
    store("right");
    frmEnterPassword prompt(saver, system);
    prompt.show();
    EXPECT_FALSE(prompt.close());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&prompt, &escape);
    prompt.reject();
    EXPECT_TRUE(prompt.isVisible());
    EXPECT_FALSE(prompt.unlocked());
    EXPECT_TRUE(system.ScreenSaverRunning());
    prompt.txtPassword->setText("right");
    prompt.cmdOK_Click();
    EXPECT_FALSE(prompt.isVisible());
}

TEST_F(PasswordTest, ChangeWithoutStoredKeyRequiresTheBuiltInPassword) {
    frmChangePassWord change(dialog, system);
    EXPECT_TRUE(change.txtOldPW->isEnabled());
    change.txtOldPW->setText("not it");
    system.queueAnswer(MessageAnswer::Yes);
    change.txtOldPW_LostFocus();
    ASSERT_EQ(system.messages().size(), 1u);
    EXPECT_EQ(system.messages()[0].text, "Do you want to try again?");
    EXPECT_EQ(system.messages()[0].title, "WRONG PASSWORD");
    EXPECT_EQ(system.messages()[0].buttons, MessageButtons::YesNo);
    // OK does not get past a wrong old password either.
    change.txtNewPW->setText("new");
    change.txtVerifyPW->setText("new");
    system.queueAnswer(MessageAnswer::Yes);
    change.cmdOK_Click();
    EXPECT_FALSE(memory.contains("Settings", "Password"));

    change.txtOldPW->setText(dialog.text(key::Password));
    change.cmdOK_Click();
    EXPECT_EQ(dialog.text(key::Password), "new");
    EXPECT_EQ(change.result(), QDialog::Accepted);
}

TEST_F(PasswordTest, ChangeWithEmptyPasswordAndVerifyRules) {
    store("");
    frmChangePassWord change(dialog, system);
    EXPECT_FALSE(change.txtOldPW->isEnabled());
    change.txtNewPW->setText("Abc");
    change.txtVerifyPW->setText("abc");
    change.cmdOK_Click();
    ASSERT_EQ(system.messages().size(), 1u);
    EXPECT_EQ(system.messages()[0].text, "Please verify again.");
    EXPECT_EQ(system.messages()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(dialog.text(key::Password), "");

    change.txtNewPW->clear();
    change.txtVerifyPW->clear();
    change.cmdOK_Click();
    EXPECT_EQ(dialog.text(key::Password), "");
    EXPECT_EQ(change.result(), QDialog::Accepted);
}

TEST_F(PasswordTest, NoToTryAgainClosesWithoutChange) {
    store("old");
    frmChangePassWord change(dialog, system);
    change.show();
    change.txtOldPW->setText("wrong");
    change.txtNewPW->setText("x");
    change.txtVerifyPW->setText("x");
    system.queueAnswer(MessageAnswer::No);
    change.txtOldPW_LostFocus();
    EXPECT_FALSE(change.isVisible());
    EXPECT_EQ(change.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.text(key::Password), "old");
}

}  // namespace
}  // namespace bw
