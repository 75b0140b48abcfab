#include "dialog/MusicTab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "settings/InstallFolder.h"
#include "settings/ListFiles.h"

namespace bw {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kFilledRole = Qt::UserRole + 1;

// Kernel and memory file systems hold no music; listing them would only clutter the chooser.
bool isSystemVolume(const QStorageInfo& volume) {
    static const QByteArrayList kPseudo = {
        "proc",     "sysfs",      "tmpfs",    "devtmpfs",   "devpts",      "cgroup",
        "cgroup2",  "pstore",     "debugfs",  "tracefs",    "mqueue",      "hugetlbfs",
        "configfs", "fusectl",    "bpf",      "autofs",     "binfmt_misc", "nsfs",
        "ramfs",    "rpc_pipefs", "efivarfs", "securityfs", "squashfs"};
    if (kPseudo.contains(volume.fileSystemType())) return true;
    const QString root = volume.rootPath();
    for (const char* prefix : {"/proc", "/sys", "/dev", "/boot", "/snap"}) {
        const QString p = QLatin1String(prefix);
        if (root == p || root.startsWith(p + u'/')) return true;
    }
    // Under /run only removable media mounted for the user.
    return root.startsWith(u"/run/") && !root.startsWith(u"/run/media/");
}

int selectedRow(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

void showEntries(QListWidget* list, const QStringList& entries, int selection) {
    const QSignalBlocker quiet(list);
    list->clear();
    for (const QString& entry : entries) {
        auto* item = new QListWidgetItem(entry, list);
        item->setToolTip(entry);
    }
    list->setCurrentRow(selection);
    if (selection >= 0) list->scrollToItem(list->item(selection));
}

QLabel* title(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

}  // namespace

MusicTab::MusicTab(DialogContext& context, QWidget* parent)
    : QWidget(parent), c_(context), library_(context.system) {
    Drive1 = new QComboBox(this);
    Dir1 = new QTreeWidget(this);
    Dir1->setHeaderHidden(true);
    Dir1->setColumnCount(1);
    Dir1->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Dir1->header()->setStretchLastSection(false);
    File1 = new QListWidget(this);
    File1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    File1->setToolTip(
        QStringLiteral("Select files (Ctrl or Shift for several), then \"Add to Album\""));
    lblFolderProblem = new QLabel(QStringLiteral("This folder cannot be read."), this);
    lblFolderProblem->hide();
    cmdAdd = new QPushButton(QStringLiteral("Add to Album"), this);

    Album = new QListWidget(this);
    Album->setToolTip(QStringLiteral("Double-Click a song to add to PlayList"));
    cmdDeleteAlbum = new QPushButton(QStringLiteral("Delete Album Song"), this);
    PlayList = new QListWidget(this);
    cmdDelete = new QPushButton(QStringLiteral("Delete Song"), this);
    cmdDeleteAll = new QPushButton(QStringLiteral("Delete All"), this);

    chkPlayMusic = optionCheck(QStringLiteral("Play Music"), c_.settings, key::Music, this);
    cboMusic = choiceCombo(minuteChoices(), QStringLiteral("Never"), this);

    connect(Drive1, &QComboBox::activated, this, [this] { Drive1_Change(); });
    connect(Dir1, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) { fillChildren(item); });
    connect(Dir1, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) Dir1_Change(item->data(0, kPathRole).toString());
    });
    connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(Album, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        Album->setCurrentItem(item);
        Album_DblClick();
    });
    connect(cmdDeleteAlbum, &QPushButton::clicked, this, [this] { cmdDeleteAlbum_Click(); });
    connect(cmdDelete, &QPushButton::clicked, this, [this] { cmdDelete_Click(); });
    connect(cmdDeleteAll, &QPushButton::clicked, this, [this] { cmdDeleteAll_Click(); });
    connect(cboMusic, &QComboBox::activated, this, [this] { cboMusic_Click(); });

    // The lists share whatever height the tab has, so a small screen needs no scrolling.
    for (QAbstractScrollArea* list :
         std::initializer_list<QAbstractScrollArea*>{Dir1, File1, Album, PlayList})
        list->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);

    auto* keys = new QPlainTextEdit(
        QStringLiteral("Press \"V\" key to Stop\nPress \"B\" key to Start"), this);
    keys->setReadOnly(true);
    keys->setFixedHeight(keys->fontMetrics().lineSpacing() * 2 + 14);

    auto* browser = new QVBoxLayout;
    browser->addWidget(Drive1);
    browser->addWidget(Dir1, 3);
    browser->addWidget(File1, 2);
    browser->addWidget(lblFolderProblem);
    browser->addWidget(cmdAdd);

    auto* albumColumn = new QVBoxLayout;
    albumColumn->addWidget(title(QStringLiteral("ALBUM"), this));
    albumColumn->addWidget(Album, 1);
    albumColumn->addWidget(cmdDeleteAlbum);
    albumColumn->addWidget(note(QStringLiteral("To add a file to the PlayList, double-click the "
                                               "file name in the ALBUM"),
                                this));

    auto* deleteRow = new QHBoxLayout;
    deleteRow->addWidget(cmdDelete);
    deleteRow->addWidget(cmdDeleteAll);
    auto* playColumn = new QVBoxLayout;
    playColumn->addWidget(title(QStringLiteral("PLAYLIST"), this));
    playColumn->addWidget(PlayList, 1);
    playColumn->addLayout(deleteRow);
    playColumn->addWidget(keys);

    auto* lists = new QHBoxLayout;
    lists->addLayout(browser, 1);
    lists->addLayout(albumColumn, 1);
    lists->addLayout(playColumn, 1);

    auto* options = new QHBoxLayout;
    options->addWidget(chkPlayMusic);
    options->addSpacing(24);
    options->addWidget(new QLabel(QStringLiteral("Stop music after:"), this));
    options->addWidget(cboMusic);
    options->addWidget(new QLabel(QStringLiteral("min."), this));
    options->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(options);

    fillDrives();
    showFolder(QDir::homePath());
}

void MusicTab::fillDrives() {
    QStringList roots;
    for (const QFileInfo& drive : QDir::drives()) roots << drive.absoluteFilePath();
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !isSystemVolume(volume))
            roots << volume.rootPath();
    }
    roots.removeDuplicates();
    if (roots.size() > 1) std::sort(roots.begin() + 1, roots.end());  // the root stays first
    for (const QString& root : roots) {
        const QString name = QStorageInfo(root).displayName();
        const QString shown =
            name.isEmpty() || name == root ? root : root + QStringLiteral("  (") + name + u')';
        Drive1->addItem(shown, root);
    }
}

QString MusicTab::driveOf(const QString& path) const {
    // The deepest volume that holds the path.
    QString best;
    for (int i = 0; i < Drive1->count(); ++i) {
        const QString root = Drive1->itemData(i).toString();
        const bool holds = root == u"/" || path == root || path.startsWith(root + u'/');
        if (holds && root.size() > best.size()) best = root;
    }
    return best.isEmpty() ? QStringLiteral("/") : best;
}

void MusicTab::showFolder(const QString& path) {
    const QString folder = QDir::cleanPath(QDir(path).absolutePath());
    const QString root = driveOf(folder);
    int index = Drive1->findData(root);
    if (index < 0) {
        Drive1->addItem(root, root);
        index = Drive1->count() - 1;
    }
    Drive1->setCurrentIndex(index);
    showDrive(root, folder);
}

void MusicTab::Drive1_Change() {
    const QString root = Drive1->currentData().toString();
    const QString remembered = driveFolders_.value(root, root);
    showDrive(root, QDir(remembered).exists() ? remembered : root);
}

QTreeWidgetItem* MusicTab::folderItem(const QString& path, const QString& name,
                                      QTreeWidgetItem* parent) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(Dir1);
    item->setText(0, name);
    item->setToolTip(0, path);
    item->setData(0, kPathRole, path);
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return item;
}

void MusicTab::fillChildren(QTreeWidgetItem* item) {
    if (item->data(0, kFilledRole).toBool()) return;
    item->setData(0, kFilledRole, true);
    const QDir dir(item->data(0, kPathRole).toString());
    const QStringList names =
        dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) folderItem(dir.filePath(name), name, item);
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void MusicTab::showDrive(const QString& root, const QString& folder) {
    const QSignalBlocker quiet(Dir1);
    Dir1->clear();
    QTreeWidgetItem* item = folderItem(root, root, nullptr);
    const QString relative = QDir(root).relativeFilePath(folder);
    if (relative != u"." && !relative.startsWith(u"..")) {
        for (const QString& part : relative.split(u'/', Qt::SkipEmptyParts)) {
            fillChildren(item);
            item->setExpanded(true);
            QTreeWidgetItem* next = nullptr;
            for (int i = 0; i < item->childCount() && !next; ++i) {
                if (item->child(i)->text(0) == part) next = item->child(i);
            }
            // A hidden or unreadable folder on the way is still shown.
            if (!next)
                next = folderItem(QDir(item->data(0, kPathRole).toString()).filePath(part), part,
                                  item);
            item = next;
        }
    }
    fillChildren(item);
    item->setExpanded(true);
    Dir1->setCurrentItem(item);
    Dir1->scrollToItem(item);
    Dir1_Change(item->data(0, kPathRole).toString());
}

void MusicTab::Dir1_Change(const QString& path) {
    folder_ = path;
    driveFolders_[driveOf(path)] = path;
    File1->clear();
    const QDir dir(path);
    const bool readable = dir.exists() && dir.isReadable();
    lblFolderProblem->setVisible(!readable);
    if (!readable) return;
    File1->addItems(dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));
}

void MusicTab::takeSelections() {
    library_.selectAlbum(selectedRow(Album));
    library_.selectPlayList(selectedRow(PlayList));
}

void MusicTab::showLists() {
    showEntries(Album, library_.album(), library_.albumSelection());
    showEntries(PlayList, library_.playList(), library_.playListSelection());
}

void MusicTab::cmdAdd_Click() {
    QStringList names;
    for (int i = 0; i < File1->count(); ++i) {
        if (File1->item(i)->isSelected()) names << File1->item(i)->text();
    }
    takeSelections();
    library_.addToAlbum(folder_, names);
    showLists();
}

void MusicTab::Album_DblClick() {
    takeSelections();
    library_.addSelectedToPlayList();
    showLists();
}

void MusicTab::cmdDeleteAlbum_Click() {
    takeSelections();
    library_.deleteAlbumSong();
    showLists();
}

void MusicTab::cmdDelete_Click() {
    takeSelections();
    library_.deleteSong();
    showLists();
}

void MusicTab::cmdDeleteAll_Click() {
    takeSelections();
    library_.deleteAll();
    showLists();
}

void MusicTab::cboMusic_Click() {
    c_.settings.write(key::MusicOff, minutesToStore(cboMusic->currentText()));
}

void MusicTab::loadLists() {
    library_.setLists(readListFile(c_.installedFile(QStringLiteral("List.txt"))),
                      readListFile(c_.installedFile(QStringLiteral("Album.txt"))));
    showLists();
}

QStringList MusicTab::saveLists() {
    QStringList failed;
    for (auto [name, entries] :
         {std::pair{"List.txt", &library_.playList()}, std::pair{"Album.txt", &library_.album()}}) {
        const QString path = c_.folder.userListPath(QString::fromLatin1(name));
        if (!writeListFile(path, *entries)) failed << path;
    }
    return failed;
}

void MusicTab::loadMusicOptions() {
    setComboText(cboMusic, minutesToShow(c_.settings.text(key::MusicOff)));
    chkPlayMusic->setChecked(loadedCheck(c_.settings, key::Music));
}

}  // namespace bw
