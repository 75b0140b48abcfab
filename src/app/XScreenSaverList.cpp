#include "app/XScreenSaverList.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>

namespace bw {

namespace {

// The lines of a resource's value: the line that names it and every line after a line that
// ends in a backslash. Returns the index past the last one.
qsizetype valueEnd(const QStringList& lines, qsizetype first) {
    qsizetype i = first;
    while (i < lines.size() && lines[i].endsWith(u'\\')) ++i;
    return i < lines.size() ? i + 1 : i;
}

// The line that starts the "programs:" resource ("*programs:" in an X resource file); -1 when
// none does.
qsizetype programsLine(const QStringList& lines, bool resourceFile) {
    static const QRegularExpression user(QStringLiteral("^programs:"));
    static const QRegularExpression system(QStringLiteral("^\\s*(\\*|XScreenSaver[.*])programs:"));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].contains(resourceFile ? system : user)) return i;
        i = valueEnd(lines, i) - 1;  // a continued value never starts a resource
    }
    return -1;
}

QString entryLine(bool more) {
    return QStringLiteral("\t\t\t\t") + QLatin1String(kXScreenSaverEntry) +
           (more ? QStringLiteral("\t\t    \\n\\") : QStringLiteral("\t\t    \\n"));
}

// The "programs:" value of the system's defaults, as lines of a user's file.
QStringList systemPrograms(const QString& systemDefaults) {
    const QStringList lines = systemDefaults.split(u'\n');
    const qsizetype first = programsLine(lines, true);
    if (first < 0) return {};
    QStringList value = lines.mid(first, valueEnd(lines, first) - first);
    value[0] = value[0].mid(value[0].indexOf(QStringLiteral("programs:")));
    return value;
}

// `value` with the entry as its first display mode.
QStringList withEntry(QStringList value) {
    if (value.isEmpty()) return {QStringLiteral("programs:\t\\"), entryLine(false)};
    const QString head = value[0];
    if (head.endsWith(u'\\')) {
        value.insert(1, entryLine(true));
        return value;
    }
    // The whole value on the naming line: give it a line of its own after the entry.
    const QString rest = head.mid(head.indexOf(u':') + 1).trimmed();
    value[0] = QStringLiteral("programs:\t\\");
    if (rest.isEmpty()) {
        value.insert(1, entryLine(false));
    } else {
        value.insert(1, entryLine(true));
        value.insert(2, QStringLiteral("\t\t\t\t") + rest);
    }
    return value;
}

}  // namespace

bool isBrinewave3Entry(const QString& programsLine) {
    // [-] [visual:] ["label"] command ...  -- the command is brinewave3, perhaps with a path.
    static const QRegularExpression entry(QStringLiteral(
        R"(^\s*(?:programs:\s*)?-?\s*(?:[A-Za-z0-9_-]+:\s*)?(?:"[^"]*"\s*)?(?:\S*/)?brinewave3(?:\s|\\|$))"));
    return programsLine.contains(entry);
}

std::optional<QString> withBrinewave3Entry(const std::optional<QString>& userFile,
                                           const QString& systemDefaults) {
    if (!userFile) {
        QStringList lines = {
            QStringLiteral("# XScreenSaver Preferences File"),
            QStringLiteral("# Started by brinewave3 --add-to-xscreensaver from the system's list."),
            QString()};
        lines += withEntry(systemPrograms(systemDefaults));
        lines += QString();
        return lines.join(u'\n');
    }
    QStringList lines = userFile->split(u'\n');
    const qsizetype first = programsLine(lines, false);
    if (first < 0) {
        // No list of the user's own yet: XScreenSaver shows the system's, so the user's starts
        // from it. The rest of the file stays as it is.
        if (!lines.isEmpty() && !lines.last().isEmpty()) lines += QString();
        lines += withEntry(systemPrograms(systemDefaults));
        lines += QString();
        return lines.join(u'\n');
    }
    const qsizetype end = valueEnd(lines, first);
    QStringList value = lines.mid(first, end - first);
    for (const QString& line : value)
        if (isBrinewave3Entry(line)) return std::nullopt;
    value = withEntry(value);
    QStringList result = lines.mid(0, first);
    result += value;
    result += lines.mid(end);
    return result.join(u'\n');
}

namespace {

bool readText(const QString& path, QString* text) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    *text = QString::fromLocal8Bit(file.readAll());
    return true;
}

bool writeText(const QString& path, const QString& text, QFileDevice::Permissions permissions) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(text.toLocal8Bit());
    if (!file.commit()) return false;
    return QFile::setPermissions(path, permissions);
}

}  // namespace

XScreenSaverListResult addToXScreenSaverList(const QString& userPath,
                                             const QString& systemDefaultsPath) {
    const bool userHasFile = QFileInfo::exists(userPath);
    QString userFile;
    if (userHasFile && !readText(userPath, &userFile))
        return {false, QStringLiteral("Cannot read %1: nothing was changed.").arg(userPath)};
    QString systemDefaults;
    const bool haveSystemList = readText(systemDefaultsPath, &systemDefaults);
    // A new file listing Brinewave3 alone would hide every other display mode once
    // XScreenSaver is installed: without its list, XScreenSaver is most likely not there.
    if (!userHasFile && !haveSystemList) {
        return {false, QStringLiteral("Neither %1 nor XScreenSaver's list of display modes (%2) "
                                      "was found: is XScreenSaver installed? Nothing was changed.")
                           .arg(userPath, systemDefaultsPath)};
    }

    const std::optional<QString> updated =
        withBrinewave3Entry(userHasFile ? std::optional(userFile) : std::nullopt, systemDefaults);
    if (!updated) {
        return {true, QStringLiteral("Brinewave3 is already in XScreenSaver's display modes (%1): "
                                     "nothing was changed.")
                          .arg(userPath)};
    }

    QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ReadGroup | QFileDevice::ReadOther;
    QString backupNote;
    if (userHasFile) {
        permissions = QFileInfo(userPath).permissions();
        const QString backup = userPath + QStringLiteral(".bak");
        if (!writeText(backup, userFile, permissions))
            return {false,
                    QStringLiteral("Cannot write the backup %1: nothing was changed.").arg(backup)};
        backupNote = QStringLiteral("\nThe file as it was is kept in %1.").arg(backup);
    } else {
        backupNote = QStringLiteral("\nIt started from the system's list in %1, so the other "
                                    "display modes stay listed.")
                         .arg(systemDefaultsPath);
    }
    if (!writeText(userPath, *updated, permissions))
        return {false, QStringLiteral("Cannot write %1: nothing was changed.").arg(userPath)};
    const QString done = userHasFile
                             ? QStringLiteral("Added \"Brinewave3\" to XScreenSaver's display modes in %1.")
                             : QStringLiteral("Made %1 with \"Brinewave3\" in XScreenSaver's display modes.");
    return {true, done.arg(userPath) + backupNote +
                      QStringLiteral("\nA running XScreenSaver picks the change up by itself; "
                                     "choose \"Brinewave3\" in xscreensaver-settings.")};
}

}  // namespace bw
