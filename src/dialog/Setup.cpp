#include "dialog/Setup.h"

#include <QCheckBox>
#include <QDir>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialog/ArtifactsTab.h"
#include "dialog/FishTab.h"
#include "dialog/MusicTab.h"
#include "dialog/PlantsTab.h"
#include "dialog/PowerTab.h"
#include "dialog/SceneryTab.h"
#include "dialog/SettingsTab.h"
#include "dialog/TuneTab.h"
#include "dialog/WaterTab.h"
#include "settings/InstallFolder.h"
#include "settings/Product.h"
#include "system/SystemLayer.h"

namespace bw {

namespace {
// Fits an 800 x 600 screen with its window frame; the layouts grow with the window.
constexpr QSize kPreferredSize(780, 560);
constexpr QSize kFrameAllowance(20, 50);
}  // namespace

setup::setup(SettingsStore& store, SystemLayer& system, const InstallFolder& folder,
             std::function<void()> runPreview, QWidget* owner)
    : QDialog(owner),
      settings_(store, Reader::Dialog),
      context_{settings_, system, folder},
      runPreview_(std::move(runPreview)) {
    setWindowTitle(QStringLiteral("Brinewave Control Box   ") + QLatin1String(kMakerWebAddress));
    // Modal to its owner only: the saver started by "Preview" must still get its input.
    setWindowModality(Qt::WindowModal);

    SSTab1 = new QTabWidget(this);
    SSTab1->setUsesScrollButtons(true);
    addTab(water = new WaterTab(context_, nullptr), QStringLiteral("Water"));
    addTab(fish = new FishTab(context_, nullptr), QStringLiteral("Fish"));
    addTab(scenery = new SceneryTab(context_, nullptr), QStringLiteral("Scenery"));
    addTab(options = new SettingsTab(context_, nullptr), QStringLiteral("Settings"));
    addTab(artifacts = new ArtifactsTab(context_, nullptr), QStringLiteral("Artifacts"));
    addTab(plants = new PlantsTab(context_, nullptr), QStringLiteral("Plants"));
    addTab(tune = new TuneTab(context_, nullptr), QStringLiteral("Tune Saver"));
    addTab(power = new PowerTab(context_, nullptr), QStringLiteral("Power Mgmt"));
    addTab(music = new MusicTab(context_, nullptr), QStringLiteral("Music"));

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setDefault(true);
    cmdWebsite = new QPushButton(QStringLiteral("&Our website"), this);
    Command2 = new QPushButton(QStringLiteral("&Help"), this);
    cmdAbout = new QPushButton(QStringLiteral("&About"), this);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdWebsite, &QPushButton::clicked, this, [this] { cmdWebsite_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(cmdAbout, &QPushButton::clicked, this, [this] { cmdAbout_Click(); });
    connect(water->cmdPreview, &QPushButton::clicked, this, [this] { cmdPreview_Click(); });
    connect(water->cmdColor, &QPushButton::clicked, this, [this] { cmdColor_Click(); });
    connect(water->cmdFactory, &QPushButton::clicked, this, [this] { cmdFactory_Click(); });
    connect(power->cmdSeePM, &QPushButton::clicked, this, [this] { cmdSeePM_Click(); });
    connect(power->cmdPMHelp, &QPushButton::clicked, this, [this] { cmdPMHelp_Click(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdWebsite);
    buttons->addWidget(Command2);
    buttons->addWidget(cmdAbout);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(SSTab1, 1);
    layout->addLayout(buttons);

    QSize size = kPreferredSize;
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size() - kFrameAllowance);
    resize(size);

    setup_Form_Load();
}

setup::~setup() = default;

void setup::addTab(QWidget* page, const QString& title) {
    auto* scroll = new QScrollArea(SSTab1);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(page);
    SSTab1->addTab(scroll, title);
}

void setup::setup_Form_Load() {
    options->loadFontSwitch();
    music->loadLists();
    water->Fill_List_Boxes();
    options->loadMessage();
    music->loadMusicOptions();
    options->loadSound();
    water->loadWater();
    options->loadCalendar();
    scenery->loadBottom();
    fish->loadShow();
    fish->loadSpeeds();
    fish->loadFrequencies();
    scenery->loadOceanBottoms();
    water->loadWaterType();
    scenery->loadMounds();
    artifacts->load();
    plants->loadPlants();
    plants->loadCliffs();
    power->loadTimes();
    options->loadFontChoice();
    tune->load();
    options->loadMouse();
    options->loadPassword();
    scenery->loadColorFish();
    options->loadBubbles();
    options->loadFillWide();
    power->applyPowerSwitch();
    SSTimeFunc();
    power->warnAtLoad();
}

void setup::SSTimeFunc() {
    power->setSSTime(ssTimeText(context_.system.ScreenSaveTimeOutSeconds()));
}

void setup::setup_Form_Unload() {
    const QStringList failed = music->saveLists();
    if (failed.isEmpty()) return;
    QStringList shown;
    for (const QString& path : failed) shown << QDir::toNativeSeparators(path);
    context_.system.MessageBox(
        QStringLiteral("Your music lists could not be saved to:\n") + shown.join(u'\n'),
        QString::fromLatin1(kProductName), MessageIcon::Critical, MessageButtons::Ok);
}

void setup::done(int result) {
    setup_Form_Unload();
    QDialog::done(result);
}

void setup::cmdOK_Click() { accept(); }

void setup::cmdWebsite_Click() {
    const QString address = QString::fromLatin1(kMakerWebAddress);
    context_.system.ShellOpen(address.contains(u"://") ? address
                                                       : QStringLiteral("https://") + address);
}

void setup::Command2_Click() {
    // A missing help program leaves the dialog as it is, as the shell did.
    context_.system.StartProgram(context_.installedFile(QStringLiteral("Help\\Help")), {});
}

void setup::cmdAbout_Click() {
    context_.system.MessageBox(
        QStringLiteral("%1\nVersion %2\n\nAn animated aquarium screensaver.\n%3")
            .arg(QLatin1String(kProductName), QLatin1String(kProductVersion),
                 QLatin1String(kMakerWebAddress)),
        QStringLiteral("About %1").arg(QLatin1String(kProductName)), MessageIcon::Information,
        MessageButtons::Ok);
}

void setup::cmdPreview_Click() {
    // The saver reads the playlist, so the lists are saved first. One preview at a time.
    if (previewStarted_ || !runPreview_) return;
    setup_Form_Unload();
    previewStarted_ = true;
    runPreview_();
}

void setup::cmdColor_Click() {
    context_.system.RunControlPanel(
        QStringLiteral("rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,3"));
}

void setup::cmdSeePM_Click() {
    context_.system.RunControlPanel(
        QStringLiteral("rundll32.exe shell32.dll,Control_RunDLL powercfg.cpl,,1"));
}

void setup::cmdPMHelp_Click() {
    context_.system.ShellOpen(context_.installedFile(QStringLiteral("power_help.htm")));
}

void setup::cmdFactory_Click() { factoryReset(settings_.store(), context_.system); }

}  // namespace bw
