#include "settings/IniSettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QStringList>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bw {

namespace {

// The spelling already used in `names` for `wanted`, or `wanted` itself when there is none.
QString existingSpelling(const QStringList& names, const QString& wanted) {
    for (const QString& name : names) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0) return name;
    }
    return wanted;
}

QString homeRelative(const char* variable, const char* fallback) {
    const QByteArray value = qgetenv(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(QString::fromLocal8Bit(value)))
        return QString::fromLocal8Bit(value);
    return QDir::homePath() + QLatin1Char('/') + QLatin1String(fallback);
}

}  // namespace

IniSettingsStore::IniSettingsStore(const QString& filePath) : filePath_(filePath) {
    const QByteArray nativePath = QFile::encodeName(filePath_);
    struct stat info {};
    if (::stat(nativePath.constData(), &info) == 0 && S_ISREG(info.st_mode) &&
        (info.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        ::chmod(nativePath.constData(), S_IRUSR | S_IWUSR);
    }
    settings_ = std::make_unique<QSettings>(filePath_, QSettings::IniFormat);
}

IniSettingsStore::~IniSettingsStore() = default;

QString IniSettingsStore::defaultPath() {
    return homeRelative("XDG_CONFIG_HOME", ".config") + QStringLiteral("/Brinewave3/Brinewave3.ini");
}

bool IniSettingsStore::exists() const { return QFileInfo(filePath_).isFile(); }

bool IniSettingsStore::readable() const { return settings_->status() != QSettings::FormatError; }

QVariant IniSettingsStore::value(const QString& section, const QString& key) const {
    // Nearly always the file spells the name as asked: one look-up. Listing the file's names
    // for a match without regard to case costs a pass over every key.
    const QString exact = section + QLatin1Char('/') + key;
    if (settings_->contains(exact)) return settings_->value(exact);
    const QString group = existingSpelling(settings_->childGroups(), section);
    settings_->beginGroup(group);
    const QVariant value = settings_->value(existingSpelling(settings_->childKeys(), key));
    settings_->endGroup();
    return value;
}

bool IniSettingsStore::contains(const QString& section, const QString& key) const {
    return value(section, key).isValid();
}

QString IniSettingsStore::read(const QString& section, const QString& key,
                               const QString& fallback) const {
    const QVariant value = this->value(section, key);
    if (!value.isValid()) return fallback;
    // An unquoted hand-written value with commas comes back as a list: it is still one text.
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(u',');
    return value.toString();
}

void IniSettingsStore::write(const QString& section, const QString& key, const QString& value) {
    writeAll({{section, key, value}});
}

void IniSettingsStore::writeAll(const std::vector<SettingWrite>& writes) {
    if (!readable()) {
        std::fprintf(stderr, "Brinewave3: %s cannot be read; settings are not saved.\n",
                     qPrintable(filePath_));
        return;
    }
    prepareFile();
    // Pick up what other processes wrote, so that their keys' spellings are reused.
    settings_->sync();
    // The names the file already has, by their lower-case form, so that a write keeps an
    // existing spelling; gathered once for all the writes.
    QHash<QString, QString> groups;
    QHash<QString, QString> keys;
    for (const QString& name : settings_->allKeys()) {
        const qsizetype slash = name.indexOf(QLatin1Char('/'));
        if (slash < 0) continue;
        groups.insert(name.left(slash).toLower(), name.left(slash));
        keys.insert(name.toLower(), name);
    }
    for (const SettingWrite& w : writes) {
        const QString group = groups.value(w.section.toLower(), w.section);
        const QString wanted = group + QLatin1Char('/') + w.key;
        const QString name = keys.value(wanted.toLower(), wanted);
        settings_->setValue(name, w.value);
        groups.insert(group.toLower(), group);
        keys.insert(name.toLower(), name);
    }
    sync();
}

void IniSettingsStore::sync() {
    settings_->sync();
    if (settings_->status() == QSettings::AccessError)
        std::fprintf(stderr, "Brinewave3: cannot write %s\n", qPrintable(filePath_));
}

// The file is created private before anything is written into it; later saves keep its mode.
void IniSettingsStore::prepareFile() {
    if (exists()) return;
    QDir().mkpath(QFileInfo(filePath_).absolutePath());
    const int fd = ::open(QFile::encodeName(filePath_).constData(), O_WRONLY | O_CREAT | O_CLOEXEC,
                          S_IRUSR | S_IWUSR);
    if (fd >= 0) ::close(fd);
}

}  // namespace bw
