#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace bw {

class SystemLayer;

// What a cached set of pictures holds, written into the set as its last file. A set is used
// only when its stamp reads back whole, names the current art version and the set's height,
// and every file it lists is there with the size it was written with: a set without a stamp
// is partial, one of another version stale, and one whose files differ damaged.
struct ArtCacheStamp {
    struct File {
        QString path;  // relative to the set's folder, with slashes
        qint64 bytes = 0;
        bool operator==(const File&) const = default;
    };

    int version = 0;
    int height = 0;
    QList<File> files;

    QByteArray toText() const;
    // nullopt for any text toText() would not have written.
    static std::optional<ArtCacheStamp> fromText(const QByteArray& text);
    // The current art version's stamp of the files now below `folder` (its stamp excluded).
    static ArtCacheStamp describe(const QString& folder, int height);
};

// The pictures painted at a screen's own scale, kept in $XDG_CACHE_HOME/Brinewave3/<H>/, where
// H is the height in screen pixels of the 4:3 scene area (the scale is H / 600). The installed
// art generator fills a set (`brinewave3-artgen --cache-fill H ROOT`): it paints aside, stamps
// the set and renames it into place only when complete; one fill per height runs at a time.
// Any set may be deleted at any time.
class ArtCache {
  public:
    static constexpr const char* kStampName = "art.stamp";
    static constexpr const char* kGeneratorName = "brinewave3-artgen";
    // The scales the generator paints at: 1 to 8.
    static constexpr int kMinimumHeight = 600;
    static constexpr int kMaximumHeight = 4800;

    // $XDG_CACHE_HOME/Brinewave3, else ~/.cache/Brinewave3.
    static QString defaultRoot();
    explicit ArtCache(QString root = defaultRoot());

    const QString& root() const { return root_; }
    static bool heightIsValid(int height);
    static double scaleFor(int height) { return height / 600.0; }

    // Where the set for `height` lives once complete.
    QString folderFor(int height) const;
    // The lock a fill of `height` holds while it runs.
    QString lockPathFor(int height) const;
    // The prefix of the folders a fill of `height` paints into before the set is complete,
    // and of a replaced set on its way out; hidden, so they never pass for a set.
    QString fillingPrefixFor(int height) const;
    QString discardedPrefixFor(int height) const;

    // The folder of the complete, current set for `height`; empty when there is none (missing,
    // partial, stale or damaged). `why`, when given, says why not.
    QString completeSet(int height, QString* why = nullptr) const;

    // Starts `generator` detached to fill the set for `height`; it paints at idle priority,
    // outlives the caller, and does nothing when another fill of that height runs. False when
    // the height is out of range or the generator cannot be started.
    bool startFilling(int height, const QString& generator, SystemLayer& system) const;
    // The name in a set of the data folder's picture `name` ("fish/Fish1a.bmp"): the same
    // folders and name, as PNG ("fish/Fish1a.png").
    static QString cachedPictureName(const QString& name);
    // The generator installed in `dataFolder`, beside the saver.
    static QString generatorIn(const QString& dataFolder);

  private:
    QString root_;
};

}  // namespace bw
