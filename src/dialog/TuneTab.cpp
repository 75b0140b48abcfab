#include "dialog/TuneTab.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QVBoxLayout>

namespace bw {

TuneTab::TuneTab(DialogContext& context, QWidget* parent) : QWidget(parent), c_(context) {
    auto* frame = new QGroupBox(
        QStringLiteral("Tune the Screensaver  ( If the objects are moving too fast or too slow)"),
        this);
    txtTunePC = echoBox(frame);
    hsbTunePC = optionBar(Qt::Horizontal, kMin, kMax, txtTunePC, c_.settings, key::TunePC, frame);
    connect(hsbTunePC, &QScrollBar::valueChanged, this,
            [this](int value) { TuneValue = static_cast<int16_t>(value); });
    auto* scale = note(QStringLiteral("Pentium 1, 150 MHz >>>>>>>>>>>>>>>>>>>>>>Pentium 4, 2.0 "
                                      "GHz >>>>>>>>> Dual Processors"),
                       frame);
    auto* guideTitle = new QLabel(QStringLiteral("Guide:"), frame);
    QFont bold = guideTitle->font();
    bold.setBold(true);
    guideTitle->setFont(bold);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(hsbTunePC, 0, 0);
    grid->addWidget(txtTunePC, 0, 1);
    grid->addWidget(scale, 1, 0, 1, 2);
    grid->addWidget(guideTitle, 2, 0, 1, 2);
    grid->addWidget(note(QStringLiteral("Pentium 1 , 150 MHz setting should be 0              "
                                        "Pentium 4, 1.9 GHz setting should be around 7-10"),
                         frame),
                    3, 0, 1, 2);
    grid->addWidget(note(QStringLiteral("Knowing your CPU speed (Ex: Pentium 1.9 GHz) is not "
                                        "important. Simply select a setting and run the "
                                        "screensaver.  When you find a setting pleasing, use it."),
                         frame),
                    4, 0, 1, 2);
    grid->addWidget(note(QStringLiteral("This only slows down how fast your PC reads through the "
                                        "code of THIS screen saver.  It will not effect ANY other "
                                        "part of your PC."),
                         frame),
                    5, 0, 1, 2);
    grid->setVerticalSpacing(10);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note(QStringLiteral("Not all computers are the same.  Some are old and slow, "
                                          "some are new and blazing fast!  This feature lets you "
                                          "tune the screensaver to the type of computer you have "
                                          "so the objects will move the way they were designed "
                                          "to."),
                           this));
    layout->addWidget(frame);
    layout->addStretch();
}

void TuneTab::load() {
    hsbTunePC->setValue(loadedInteger(c_.settings, key::TunePC, kMin, kMax));
    TuneValue = static_cast<int16_t>(hsbTunePC->value());
}

}  // namespace bw
