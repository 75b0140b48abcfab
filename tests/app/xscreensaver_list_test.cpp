#include "app/XScreenSaverList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace bw {
namespace {

// A ~/.xscreensaver as xscreensaver-settings 6.06 writes it (shortened list of display modes):
// disabled modes ("-"), visuals ("GL:"), a label in quotes and a mode continued on a second line.
const char* const kUserFile = R"xss(# XScreenSaver Preferences File
# Written by xscreensaver-settings 6.06 for alice on desk.
# https://www.jwz.org/xscreensaver/

timeout:	0:10:00
cycle:		0:10:00
lock:		True
lockTimeout:	0:00:00
mode:		one
selected:	2
textMode:	date
textProgram:	fortune
settingsGeom:	477,178 -1,-1

programs:								      \
				maze --root				    \n\
- GL: 				superquadrics --root			    \n\
	  "Qix (solid)" 	qix -root -solid -segments 100		    \n\
				attraction -root -mode lines -points 3	      \
				  -segments 200				    \n\
  GL: 				hextrail --root				    \n\


pointerHysteresis:	10
authWarningSlack:	20
)xss";

// The start of the system's X resource file, where every resource starts with "*".
const char* const kSystemDefaults = R"xss(! XScreenSaver app-defaults
*mode:			random
*timeout:		0:10:00

*programs:								      \
				maze --root				    \n\
- GL: 				superquadrics --root			    \n\
				blitspin --root				    \n\
- GL: 				squirtorus --root			    \n


!=============================================================================
*hacks.maze.name:	Maze
)xss";

// The display modes XScreenSaver reads from a file: the "programs:" value with its continued
// lines joined and split at each "\n".
QStringList listedModes(const QString& file) {
    const QStringList lines = file.split(u'\n');
    qsizetype i = 0;
    while (i < lines.size() && !lines[i].contains(QRegularExpression("^\\*?programs:"))) ++i;
    if (i == lines.size()) return {};
    QString value = lines[i].mid(lines[i].indexOf(u':') + 1);
    while (value.endsWith(u'\\') && ++i < lines.size()) value = value.chopped(1) + lines[i];
    QStringList modes;
    for (const QString& mode : value.split(QStringLiteral("\\n")))
        if (!mode.simplified().isEmpty()) modes.append(mode.simplified());
    return modes;
}

QStringList nonEmptyLinesWithout(const QString& file, const QString& dropped) {
    QStringList kept;
    for (const QString& line : file.split(u'\n'))
        if (!line.trimmed().isEmpty() && !line.contains(dropped)) kept.append(line);
    return kept;
}

const QString kEntry = QString::fromLatin1(kXScreenSaverEntry).simplified();

TEST(XScreenSaverList, AddsTheEntryFirstAndKeepsEveryOtherLine) {
    const std::optional<QString> updated = withBrinewave3Entry(QString(kUserFile), kSystemDefaults);
    ASSERT_TRUE(updated);
    QStringList expected = listedModes(kUserFile);
    ASSERT_EQ(expected.size(), 5);
    expected.prepend(kEntry);
    EXPECT_EQ(listedModes(*updated), expected);
    EXPECT_EQ(nonEmptyLinesWithout(*updated, "brinewave3"),
              nonEmptyLinesWithout(kUserFile, "brinewave3"));
    EXPECT_EQ(updated->count(u'\n'), QString(kUserFile).count(u'\n') + 1);

    // A second run changes nothing.
    EXPECT_FALSE(withBrinewave3Entry(*updated, kSystemDefaults));
}

TEST(XScreenSaverList, AnEntryOfAnyFormCountsAsListed) {
    for (const char* line : {"\t\t\t\t\"Brinewave3\"  brinewave3 -root\t\t    \\n\\",
                             "-\t\t\t\tbrinewave3 -root -sound    \\n\\",
                             "  GL: \"Aquarium\" /usr/local/libexec/xscreensaver/brinewave3 -root \\n\\",
                             "programs: brinewave3 --root"}) {
        EXPECT_TRUE(isBrinewave3Entry(line)) << line;
        const QString file = QString("programs:\t\\\n\t\tmaze -root \\n\\\n%1\n").arg(line);
        EXPECT_FALSE(withBrinewave3Entry(file, kSystemDefaults)) << line;
    }
    for (const char* line : {"\t\t\t\tbrinewave3x -root    \\n\\",
                             "\t\"Brinewave3\" maze -root \\n\\",
                             "\t\t\t\tmaze -root -text brinewave3 \\n\\"}) {
        EXPECT_FALSE(isBrinewave3Entry(line)) << line;
    }
}

TEST(XScreenSaverList, WithoutAUserFileStartsFromTheSystemList) {
    const std::optional<QString> made = withBrinewave3Entry(std::nullopt, kSystemDefaults);
    ASSERT_TRUE(made);
    QStringList expected = listedModes(kSystemDefaults);
    ASSERT_EQ(expected.size(), 4);
    expected.prepend(kEntry);
    EXPECT_EQ(listedModes(*made), expected);
    // Only the list is the user's own: other resources stay the system's.
    EXPECT_FALSE(made->contains("mode:"));
    EXPECT_FALSE(made->contains("*"));
    EXPECT_FALSE(withBrinewave3Entry(*made, kSystemDefaults));

    // No system list either: the entry alone.
    const std::optional<QString> alone = withBrinewave3Entry(std::nullopt, QString());
    ASSERT_TRUE(alone);
    EXPECT_EQ(listedModes(*alone), QStringList{kEntry});
}

TEST(XScreenSaverList, AUserFileWithoutAListGetsTheSystemListAtItsEnd) {
    const QString file = "timeout:\t0:05:00\nlock:\t\tTrue\n";
    const std::optional<QString> updated = withBrinewave3Entry(file, kSystemDefaults);
    ASSERT_TRUE(updated);
    EXPECT_TRUE(updated->startsWith(file));
    QStringList expected = listedModes(kSystemDefaults);
    expected.prepend(kEntry);
    EXPECT_EQ(listedModes(*updated), expected);
}

TEST(XScreenSaverList, AListOnOneLineKeepsItsModes) {
    for (const auto& [file, modes] :
         {std::pair{QString("programs: maze -root\nlock: True\n"), QStringList{kEntry, "maze -root"}},
          std::pair{QString("programs:\nlock: True\n"), QStringList{kEntry}}}) {
        const std::optional<QString> updated = withBrinewave3Entry(file, kSystemDefaults);
        ASSERT_TRUE(updated);
        EXPECT_EQ(listedModes(*updated), modes) << qPrintable(*updated);
        EXPECT_TRUE(updated->contains("\nlock: True\n")) << qPrintable(*updated);
    }
}

QString readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void writeAll(const QString& path, const QString& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

TEST(XScreenSaverList, EditsTheFileOnceAndKeepsABackup) {
    QTemporaryDir home;
    const QString user = home.filePath(".xscreensaver");
    const QString system = home.filePath("XScreenSaver");
    writeAll(user, kUserFile);
    writeAll(system, kSystemDefaults);
    QFile::setPermissions(user, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    const XScreenSaverListResult first = addToXScreenSaverList(user, system);
    EXPECT_TRUE(first.ok);
    EXPECT_TRUE(first.message.contains(user)) << qPrintable(first.message);
    EXPECT_TRUE(first.message.contains(user + ".bak")) << qPrintable(first.message);
    const QString added = readAll(user);
    EXPECT_EQ(listedModes(added).value(0), kEntry);
    EXPECT_EQ(readAll(user + ".bak"), kUserFile);
    // The file stays readable by its owner only, as it was.
    const QFileDevice::Permissions permissions = QFileInfo(user).permissions();
    EXPECT_TRUE(permissions & QFileDevice::ReadOwner);
    EXPECT_FALSE(permissions & (QFileDevice::ReadGroup | QFileDevice::ReadOther));

    const XScreenSaverListResult second = addToXScreenSaverList(user, system);
    EXPECT_TRUE(second.ok);
    EXPECT_TRUE(second.message.contains("already")) << qPrintable(second.message);
    EXPECT_EQ(readAll(user), added);
    EXPECT_EQ(readAll(user + ".bak"), kUserFile);
}

TEST(XScreenSaverList, MakesTheFileWhenTheUserHasNone) {
    QTemporaryDir home;
    const QString user = home.filePath(".xscreensaver");
    const QString system = home.filePath("XScreenSaver");
    writeAll(system, kSystemDefaults);

    const XScreenSaverListResult result = addToXScreenSaverList(user, system);
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.message.contains(system)) << qPrintable(result.message);
    EXPECT_EQ(listedModes(readAll(user)).size(), listedModes(kSystemDefaults).size() + 1);
    EXPECT_FALSE(QFileInfo::exists(user + ".bak"));
}

TEST(XScreenSaverList, WithoutXScreenSaverNoFileIsMade) {
    // No user file and no system list: a file of Brinewave3 alone would hide every other
    // display mode of an XScreenSaver installed later.
    QTemporaryDir home;
    const QString user = home.filePath(".xscreensaver");
    const XScreenSaverListResult result = addToXScreenSaverList(user, home.filePath("none"));
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.message.contains("XScreenSaver installed")) << qPrintable(result.message);
    EXPECT_FALSE(QFileInfo::exists(user));
}

TEST(XScreenSaverList, AFileItCannotWriteIsLeftAsItWas) {
    QTemporaryDir home;
    const QString folder = home.filePath("locked");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString user = folder + "/.xscreensaver";
    writeAll(user, kUserFile);
    // Root writes anyway: the folder is made a file's name instead, so no backup can be made.
    ASSERT_TRUE(QDir().mkpath(user + ".bak"));

    const XScreenSaverListResult result = addToXScreenSaverList(user, home.filePath("none"));
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.message.contains("nothing was changed")) << qPrintable(result.message);
    EXPECT_EQ(readAll(user), kUserFile);
}

}  // namespace
}  // namespace bw
