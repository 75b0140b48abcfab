#pragma once

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>
#include <optional>

namespace bw {

class SystemLayer;

// What a cached set of pictures holds, written into the set as its last file. A set is used
// only when its stamp reads back whole, names the current art version and the set's frame,
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
    // The width of a wide frame; 0 for the 4:3 one, whose stamp has no width line (so the sets
    // painted before there were wide frames stay valid).
    int width = 0;
    QList<File> files;

    QByteArray toText() const;
    // nullopt for any text toText() would not have written.
    static std::optional<ArtCacheStamp> fromText(const QByteArray& text);
    // The current art version's stamp of the files now below `folder` (its stamp excluded),
    // painted for `frame`.
    static ArtCacheStamp describe(const QString& folder, QSize frame);
};

// The pictures painted at a screen's own scale, one set per frame (see FrameShape): W x H
// pixels, the scale H / 600, the 800 x 600 layout's block in the middle and the pictures of the
// glass as wide as the frame. A 4:3 frame's set is kept in $XDG_CACHE_HOME/Brinewave3/<H>/,
// a wide frame's in <W>x<H>/. The installed art generator fills a set
// (`brinewave3-artgen --cache-fill H ROOT`, or `--cache-fill WxH ROOT`): it paints aside, stamps
// the set and renames it into place only when complete; one fill per frame runs at a time.
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
    // The 4:3 frame `height` pixels high: the layout's block alone (1440 x 1080 for 1080).
    static QSize blockFrame(int height);
    // True when a set is made for `frame`: its height is valid and its width from the 4:3
    // frame's up to FrameShape::kMaxBlocks times that.
    static bool frameIsValid(QSize frame);
    // The frame's name on the command line and in the cache: "<H>" for a 4:3 frame, "<W>x<H>"
    // for a wide one; and the valid frame a name stands for (nullopt for any other text).
    static QString frameName(QSize frame);
    static std::optional<QSize> parseFrame(const QString& name);

    // Where the set for `frame` lives once complete.
    QString folderFor(QSize frame) const;
    // The lock a fill of `frame` holds while it runs.
    QString lockPathFor(QSize frame) const;
    // The prefix of the folders a fill of `frame` paints into before the set is complete,
    // and of a replaced set on its way out; hidden, so they never pass for a set.
    QString fillingPrefixFor(QSize frame) const;
    QString discardedPrefixFor(QSize frame) const;

    // The folder of the complete, current set for `frame`; empty when there is none (missing,
    // partial, stale, damaged or painted for another frame). `why`, when given, says why not.
    QString completeSet(QSize frame, QString* why = nullptr) const;

    // Starts `generator` detached to fill the set for `frame`; it paints at idle priority,
    // outlives the caller, and does nothing when another fill of that frame runs. False when
    // no set is made for the frame or the generator cannot be started.
    bool startFilling(QSize frame, const QString& generator, SystemLayer& system) const;
    // The name in a set of the data folder's picture `name` ("fish/Fish1a.bmp"): the same
    // folders and name, as PNG ("fish/Fish1a.png").
    static QString cachedPictureName(const QString& name);
    // The generator installed in `dataFolder`, beside the saver.
    static QString generatorIn(const QString& dataFolder);

  private:
    QString root_;
};

}  // namespace bw
