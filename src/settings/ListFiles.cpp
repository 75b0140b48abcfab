#include "settings/ListFiles.h"

#include "settings/InstallFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace bw {

namespace {

// A list of a few thousand songs is well under this; anything bigger is not a list file.
constexpr qint64 kMaxListFileBytes = 16 * 1024 * 1024;

}  // namespace

QStringList parseListText(const QByteArray& bytes) {
    const QString text = QString::fromUtf8(bytes);
    QStringList entries;
    QString field;
    bool inQuotes = false;
    bool quoted = false;  // the current field had quotes: an empty "" is still an entry
    auto endField = [&] {
        const QString value = quoted ? field : field.trimmed();
        if (quoted || !value.isEmpty()) entries.append(value);
        field.clear();
        quoted = false;
    };
    for (QChar c : text) {
        if (c == u'\0') continue;  // no path holds a NUL
        if (c == u'\r' || c == u'\n') {
            // A quote left open ends with its line.
            inQuotes = false;
            endField();
        } else if (inQuotes) {
            if (c == u'"')
                inQuotes = false;
            else
                field += c;
        } else if (c == u'"') {
            inQuotes = true;
            quoted = true;
        } else if (c == u',') {
            endField();
        } else if (!quoted) {
            field += c;  // text after a closing quote belongs to no field
        }
    }
    endField();
    return entries;
}

QStringList readListFile(const QString& path) {
    if (!fileExists(path)) return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return parseListText(file.read(kMaxListFileBytes));
}

bool listFileCanHold(const QString& path) {
    return !path.contains(u'"') && !path.contains(u'\r') && !path.contains(u'\n') &&
           !path.contains(QChar(0));
}

bool writeListFile(const QString& path, const QStringList& entries) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    for (const QString& entry : entries) {
        if (!listFileCanHold(entry)) continue;
        file.write("\"" + entry.toUtf8() + "\"\r\n");
    }
    return file.commit();
}

}  // namespace bw
