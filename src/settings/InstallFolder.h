#pragma once

#include <QString>
#include <QStringList>

namespace bw {

// The programs name every data file by the fixed Windows-style install folder text plus a
// relative name. This maps such names to the real files: the installed data folder (the
// folder of the running program, or $BRINEWAVE3_HOME), and the user's own data folder for
// the list files and for water pictures the user added.
class InstallFolder {
public:
    // The install folder text, with its closing backslash.
    static const QString kText;

    // Uses $BRINEWAVE3_HOME, else the folder of the running program; $XDG_DATA_HOME/Brinewave3,
    // else ~/.local/share/Brinewave3.
    InstallFolder();
    InstallFolder(QString dataFolder, QString userFolder);

    const QString& dataFolder() const { return dataFolder_; }
    const QString& userFolder() const { return userFolder_; }

    // The real path of an install-folder name such as "C:\Orvanta\Brinewave3\water\x.bmp".
    // Backslashes or slashes, any letter case. A name that does not exist maps to where it
    // would lie in the data folder.
    QString map(const QString& windowsPath) const;
    // Where a list file ("List.txt", "Album.txt") is written: always the user's folder.
    QString userListPath(const QString& fileName) const;
    // The folders that hold water pictures: the installed one, then the user's own.
    QStringList waterFolders() const;

private:
    QString dataFolder_;
    QString userFolder_;
};

// `relative` ("Water/Cool Waters.BMP") under `base`, each component matched without regard
// to letter case. Components not found are kept as written.
QString resolveWithoutCase(const QString& base, const QString& relative);

// True when `path` names an existing regular file (not a folder).
bool fileExists(const QString& path);

}  // namespace bw
