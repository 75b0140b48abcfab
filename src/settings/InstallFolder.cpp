#include "settings/InstallFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace bw {

const QString InstallFolder::kText = QStringLiteral("C:\\Orvanta\\Brinewave3\\");

namespace {

QString envFolder(const char* variable) {
    const QString value = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : QString();
}

QString defaultDataFolder() {
    const QString home = envFolder("BRINEWAVE3_HOME");
    if (!home.isEmpty()) return home;
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                        : QDir::currentPath();
}

QString defaultUserFolder() {
    QString base = envFolder("XDG_DATA_HOME");
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/Brinewave3");
}

// The name relative to the install folder: no drive, slashes, no install folder prefix.
QString relativeName(const QString& windowsPath) {
    QString path = windowsPath;
    path.replace(u'\\', u'/');
    if (path.size() >= 2 && path[1] == u':') path.remove(0, 2);
    static const QString kPrefix = QStringLiteral("/Orvanta/Brinewave3/");
    if (path.startsWith(kPrefix, Qt::CaseInsensitive)) path.remove(0, kPrefix.size());
    while (path.startsWith(u'/')) path.remove(0, 1);
    return path;
}

bool isListFile(const QString& relative) {
    return relative.compare(u"List.txt", Qt::CaseInsensitive) == 0 ||
           relative.compare(u"Album.txt", Qt::CaseInsensitive) == 0;
}

}  // namespace

InstallFolder::InstallFolder() : InstallFolder(defaultDataFolder(), defaultUserFolder()) {}

InstallFolder::InstallFolder(QString dataFolder, QString userFolder)
    : dataFolder_(std::move(dataFolder)), userFolder_(std::move(userFolder)) {}

QString InstallFolder::map(const QString& windowsPath) const {
    const QString relative = relativeName(windowsPath);
    if (isListFile(relative)) {
        const QString own = resolveWithoutCase(userFolder_, relative);
        if (fileExists(own)) return own;
        const QString installed = resolveWithoutCase(dataFolder_, relative);
        return fileExists(installed) ? installed : userListPath(relative);
    }
    const QString installed = resolveWithoutCase(dataFolder_, relative);
    if (QFileInfo::exists(installed)) return installed;
    const QString own = resolveWithoutCase(userFolder_, relative);
    return QFileInfo::exists(own) ? own : installed;
}

QString InstallFolder::userListPath(const QString& fileName) const {
    return resolveWithoutCase(userFolder_, relativeName(fileName));
}

QStringList InstallFolder::waterFolders() const {
    return {resolveWithoutCase(dataFolder_, QStringLiteral("Water")),
            resolveWithoutCase(userFolder_, QStringLiteral("Water"))};
}

QString resolveWithoutCase(const QString& base, const QString& relative) {
    QString path = base;
    const QStringList parts = relative.split(u'/', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        const QString exact = path + u'/' + part;
        if (part == u"." || part == u".." || QFileInfo::exists(exact)) {
            path = exact;
            continue;
        }
        const QStringList entries =
            QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        QString match = part;
        for (const QString& entry : entries) {
            if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                match = entry;
                break;
            }
        }
        path += u'/' + match;
    }
    return path;
}

bool fileExists(const QString& path) {
    if (path.isEmpty()) return false;
    return QFileInfo(path).isFile();
}

}  // namespace bw
