#include "dialog/Setup.h"

#include "settings/Product.h"

#include <QTabWidget>
#include <QVBoxLayout>

namespace bw {

setup::setup(QWidget* owner) : QDialog(owner), SSTab1(new QTabWidget(this)) {
    setWindowTitle(QStringLiteral("Brinewave Control Box   ") + QLatin1String(kMakerWebAddress));
    for (const char* tab : {"Water", "Fish", "Scenery", "Settings", "Artifacts", "Plants",
                            "Tune Saver", "Power Mgmt", "Music"})
        SSTab1->addTab(new QWidget(SSTab1), QString::fromLatin1(tab));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    resize(760, 540);
}

}  // namespace bw
