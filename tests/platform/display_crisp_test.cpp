// Crisp art: pictures made at the screen's scale, chosen over enlarging the 800 x 600 ones
// wherever the cache has them, and swapped into a running display.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QWindow>
#include <cmath>

#include "display_Images.h"
#include "display_TestApp.h"
#include "fakes/FakeSystemLayer.h"
#include "fakes/FileBytes.h"
#include "platform/ScaledPictures.h"
#include "platform/SpriteCompositor.h"
#include "platform/SpriteDisplay.h"
#include "settings/ArtCache.h"

namespace bw {
namespace {

QImage filled(QSize size, QRgb colour, QImage::Format format = QImage::Format_RGB32) {
    QImage image(size, format);
    image.fill(colour);
    return image;
}

void savePicture(const QImage& image, const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    ASSERT_TRUE(image.save(path)) << path.toStdString();
}

QImage decodeFile(const QString& path) { return QImage(path); }

using test::worstDistance;

TEST(PictureAtScale, TakesTheCrispFileOnlyWhenItDecodesAtTheSizeThePictureTakes) {
    QTemporaryDir dir;
    const QString own = dir.filePath("own.png");
    savePicture(filled({100, 50}, qRgb(200, 0, 0)), own);
    const PictureFile file{own, kOpaque, false};
    const double scale = 1.8;
    auto made = [&](const QString& crisp) {
        return pictureAtScale(file, scale, crisp, QSize(100, 50), [&] { return decodeFile(own); });
    };

    const QString good = dir.filePath("good.png");
    savePicture(filled({180, 90}, qRgb(0, 200, 0)), good);
    EXPECT_EQ(made(good).pixel(90, 45), qRgb(0, 200, 0));

    // Otherwise the file's own picture, enlarged: missing, undecodable, or of another size.
    const QString wrongSize = dir.filePath("wrong.png");
    savePicture(filled({181, 90}, qRgb(0, 200, 0)), wrongSize);
    const QString garbage = dir.filePath("garbage.png");
    writeBytes(garbage, QByteArray("\x89PNG\r\n\x1a\n broken", 16));
    for (const QString& crisp : {QString(), dir.filePath("missing.png"), wrongSize, garbage}) {
        const QImage picture = made(crisp);
        EXPECT_EQ(picture.size(), QSize(180, 90)) << crisp.toStdString();
        EXPECT_EQ(picture.pixel(90, 45), qRgb(200, 0, 0)) << crisp.toStdString();
    }
    // Nothing usable at all: nothing.
    EXPECT_TRUE(
        pictureAtScale(file, scale, garbage, QSize(100, 50), [] { return QImage(); }).isNull());

    // A backdrop's crisp file has the frame's size, whatever the file's own.
    const QString water = dir.filePath("water.png");
    savePicture(filled({1440, 1080}, qRgb(0, 0, 200)), water);
    const PictureFile backdrop{own, kOpaque, true};
    const QImage shown =
        pictureAtScale(backdrop, scale, water, QSize(100, 50), [&] { return decodeFile(own); });
    EXPECT_EQ(shown.size(), QSize(1440, 1080));
    EXPECT_EQ(shown.pixel(700, 500), qRgb(0, 0, 200));
}

TEST(PictureAtScale, EnlargedSpritesBlendIntoNothingNotIntoTheColourKey) {
    // A white disc on the colour key, as the 800 x 600 art and users' pictures have them.
    QImage sprite = filled({40, 40}, SpritePicture::kColourKey);
    {
        QPainter painter(&sprite);
        painter.setBrush(Qt::white);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QRect(5, 5, 30, 30));
    }
    for (const double scale : {1.8, 3.6}) {
        const QImage enlarged = enlargedPicture(keyedPicture(sprite, kTransparent), scale);
        ASSERT_EQ(enlarged.size(), pixelsAt(QSize(40, 40), scale));
        int partly = 0;
        for (int y = 0; y < enlarged.height(); ++y) {
            for (int x = 0; x < enlarged.width(); ++x) {
                const QRgb p = enlarged.pixel(x, y);  // premultiplied
                if (qAlpha(p) == 0) continue;
                partly += qAlpha(p) < 255;
                // White, faded: no magenta rim.
                ASSERT_GE(qGreen(p) + 3, qRed(p)) << scale << " at " << x << "," << y;
                ASSERT_GE(qGreen(p) + 3, qAlpha(p)) << scale << " at " << x << "," << y;
            }
        }
        EXPECT_GT(partly, 20) << "the edges are smooth";
    }
}

// The pixels of a row of black and white stripes that are neither: the width of the blur.
int greyPixels(const QImage& image, int y) {
    int count = 0;
    for (int x = 0; x < image.width(); ++x) {
        const int grey = qGray(image.pixel(x, y));
        count += grey > 60 && grey < 200;
    }
    return count;
}

TEST(PictureAtScale, BackdropsCoverTheFrameAndLargePhotosKeepTheirDetail) {
    // A 3840 x 2880 photo of stripes (32 pixels each) shows their edges sharp at 2160 lines;
    // made from its 800 x 600 reduction they would be blurred.
    QImage photo(3840, 2880, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x)
            line[x] = (x / 32) % 2 ? qRgb(240, 240, 240) : qRgb(20, 20, 20);
    }
    const QSize frame4k(2880, 2160);
    const QImage kept = backdropPicture(keyedPicture(photo, kOpaque), frame4k);
    ASSERT_EQ(kept.size(), frame4k);
    const QImage blurred =
        backdropPicture(backdropPicture(keyedPicture(photo, kOpaque), QSize(800, 600)), frame4k);
    EXPECT_LT(greyPixels(kept, 1000), 2 * 240 + 1);  // 240 edges of at most 2 pixels
    EXPECT_GT(greyPixels(blurred, 1000), 2 * greyPixels(kept, 1000));

    // Another shape is scaled to cover the frame, centred, its overhang cut: no black bars.
    QImage wide = filled({1000, 600}, qRgb(128, 128, 128));
    QPainter(&wide).fillRect(QRect(0, 0, 90, 600), Qt::green);
    QPainter(&wide).fillRect(QRect(910, 0, 90, 600), Qt::green);
    for (const QSize frame : {QSize(800, 600), QSize(1440, 1080)}) {
        const QImage covered = backdropPicture(keyedPicture(wide, kOpaque), frame);
        ASSERT_EQ(covered.size(), frame);
        for (const QPoint at : {QPoint(0, 0), QPoint(frame.width() - 1, frame.height() / 2),
                                QPoint(frame.width() / 2, frame.height() - 1)})
            EXPECT_EQ(covered.pixel(at), qRgb(128, 128, 128)) << frame.width();
    }
}

TEST(PictureAtScale, BadBackdropsAreRefusedAtEveryScaleAsBefore) {
    test::guiApp();
    QTemporaryDir dir;
    writeBytes(dir.filePath("garbage.bmp"), QByteArray("BM not a picture at all"));
    writeBytes(dir.filePath("empty.bmp"), QByteArray());
    QDir().mkpath(dir.filePath("folder.bmp"));
    savePicture(filled({800, 600}, qRgb(0, 90, 160)), dir.filePath("good.bmp"));
    for (const double scale : {1.0, 1.8}) {
        SpriteCompositor c([] { return int64_t(0); });
        c.setScale(scale);
        const SurfaceId water = c.newSurface();
        for (const char* name : {"garbage.bmp", "empty.bmp", "folder.bmp", "missing.bmp"})
            EXPECT_FALSE(c.loadBackdrop(water, dir.filePath(name))) << name << " at " << scale;
        ASSERT_TRUE(c.loadBackdrop(water, dir.filePath("good.bmp")));
        c.draw(water);
        EXPECT_EQ(c.frame().pixel(c.frame().width() - 1, c.frame().height() - 1), qRgb(0, 90, 160));
    }
}

// A small aquarium of files: a water picture, an animated fish, an opaque stone, with crisp
// versions of the water and the fish's first frame.
struct ArtFiles {
    QTemporaryDir dir;
    QString data = dir.filePath("data");
    QString crisp = dir.filePath("crisp");
    QString path(const QString& name) const { return data + "/" + name; }

    explicit ArtFiles(double scale) {
        QImage water(800, 600, QImage::Format_RGB32);
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x) water.setPixel(x, y, qRgb(x / 4, y / 3, 120));
        savePicture(water, path("Water/water.bmp"));
        QImage fish = filled({60, 30}, qRgba(0, 0, 0, 0), QImage::Format_ARGB32);
        QPainter(&fish).fillRect(QRect(5, 5, 50, 20), QColor(250, 150, 0));
        savePicture(fish, path("fish/fish1.png"));
        QPainter(&fish).fillRect(QRect(5, 5, 50, 20), QColor(250, 250, 0));
        savePicture(fish, path("fish/fish2.png"));
        savePicture(filled({40, 40}, qRgb(90, 90, 90)), path("Bottom/stone.bmp"));

        QImage crispWater(frameSizeAt(scale), QImage::Format_RGB32);
        crispWater.fill(qRgb(10, 60, 200));
        savePicture(crispWater, crisp + "/Water/water.png");
        QImage crispFish = filled(pixelsAt({60, 30}, scale), 0u, QImage::Format_ARGB32);
        QPainter(&crispFish).fillRect(QRect(QPoint(9, 9), pixelsAt({50, 20}, scale)), Qt::red);
        savePicture(crispFish, crisp + "/fish/fish1.png");
    }
    CrispSource source() const {
        return [this](const QString& path) {
            const QString relative = QDir(data).relativeFilePath(path);
            return crisp + "/" + ArtCache::cachedPictureName(relative);
        };
    }
};

struct SceneSurfaces {
    SurfaceId water, fish, stone, made;
};

SceneSurfaces loadScene(SpriteCompositor& c, const ArtFiles& art) {
    SceneSurfaces s{c.newSurface(), c.newSurface(), c.newSurface(), c.newSurface()};
    EXPECT_TRUE(c.loadBackdrop(s.water, art.path("Water/water.bmp")));
    EXPECT_TRUE(c.loadFrame(s.fish, 1, art.path("fish/fish1.png"), kTransparent));
    EXPECT_TRUE(c.loadFrame(s.fish, 2, art.path("fish/fish2.png"), kTransparent));
    EXPECT_TRUE(c.loadFrame(s.stone, 1, art.path("Bottom/stone.bmp"), kOpaque));
    c.setX(s.fish, 300);
    c.setY(s.fish, 200);
    c.setX(s.stone, 500);
    c.setY(s.stone, 500);
    c.setX(s.made, 50);
    c.setY(s.made, 60);
    return s;
}

void drawScene(SpriteCompositor& c, const SceneSurfaces& s) {
    for (SurfaceId id : {s.water, s.fish, s.stone, s.made}) c.draw(id);
    c.setTextFont("Arial", 16, 700, false, false, false);
    c.drawText(QStringLiteral("Crisp 12:30"), 600, 40, rgb(255, 255, 255));
}

TEST(ChangingScale, KeepsEverySurfaceAndComposesAsAStartAtThatScaleWould) {
    test::guiApp();
    const double scale = 1.8;
    ArtFiles art(scale);
    const QImage made = filled({20, 20}, qRgb(0, 200, 100));

    SpriteCompositor swapped([] { return int64_t(0); });
    const SceneSurfaces s = loadScene(swapped, art);
    swapped.setFrameImage(s.made, 1, made, kOpaque);
    swapped.setCurrentFrame(s.fish, 2);
    drawScene(swapped, s);
    const QImage before = swapped.frame();
    swapped.takeChanges();

    QHash<QString, std::shared_ptr<const SpritePicture>> pictures;
    const int tileShift = TileGrid::forFrame(frameSizeAt(scale)).shift;
    for (const SpriteCompositor::LoadedFile& f : swapped.loadedFiles()) {
        const QString crisp = art.source()(f.file.path);
        const QImage picture = pictureAtScale(f.file, scale, crisp, f.picture.get()->image.size(),
                                              [&] { return QImage(f.file.path); });
        pictures.insert(f.key,
                        SpritePicture::prepareKeyed(picture, tileShift));
    }
    EXPECT_EQ(pictures.size(), 4);
    swapped.setCrispSource(art.source());
    swapped.changeScale(scale, pictures);

    // Until the next frame is drawn, the last one enlarged stands in, all of it changed.
    ASSERT_EQ(swapped.frame().size(), QSize(1440, 1080));
    EXPECT_LE(worstDistance(swapped.frame(), before.scaled(1440, 1080, Qt::IgnoreAspectRatio,
                                                           Qt::SmoothTransformation)),
              2);
    EXPECT_TRUE(swapped.takeChanges().all());
    EXPECT_EQ(swapped.x(s.fish), 300);
    EXPECT_EQ(swapped.currentFrame(s.fish), 2);

    // The same scene loaded afresh at the scale.
    SpriteCompositor fresh([] { return int64_t(0); });
    fresh.setCrispSource(art.source());
    fresh.setScale(scale);
    const SceneSurfaces f = loadScene(fresh, art);
    fresh.setFrameImage(f.made, 1, enlargedPicture(made, scale), kOpaque);
    fresh.setCurrentFrame(f.fish, 2);
    for (int frame = 0; frame < 4; ++frame) {  // ends with the fish's first frame drawn
        SCOPED_TRACE(frame);
        drawScene(swapped, s);
        drawScene(fresh, f);
        EXPECT_EQ(worstDistance(swapped.frame(), fresh.frame()), 0);
        swapped.advanceFrame(s.fish);
        fresh.advanceFrame(f.fish);
    }
    // Crisp where the set has the picture (water, the fish's first frame), enlarged elsewhere.
    const QImage& frame = swapped.frame();
    EXPECT_EQ(frame.pixel(5, 1075), qRgb(10, 60, 200));
    EXPECT_EQ(frame.pixel(std::lround(330 * scale), std::lround(215 * scale)), qRgb(255, 0, 0));
    EXPECT_EQ(frame.pixel(std::lround(520 * scale), std::lround(520 * scale)), qRgb(90, 90, 90));
    EXPECT_EQ(frame.pixel(std::lround(60 * scale), std::lround(70 * scale)), qRgb(0, 200, 100));
    // A file loaded after the change comes at the scale too.
    const SurfaceId late = swapped.newSurface();
    ASSERT_TRUE(swapped.loadFrame(late, 1, art.path("Bottom/stone.bmp"), kOpaque));
    swapped.setCurrentFrame(late, 1);
    swapped.clear(rgb(0, 0, 0));
    swapped.draw(late);
    EXPECT_EQ(swapped.frame().pixel(71, 71), qRgb(90, 90, 90));
    EXPECT_EQ(swapped.frame().pixel(73, 73), qRgb(0, 0, 0));
}

// Draws a fish-sized object every frame, as the scene would.
class OneObjectScene : public DrawingEvents {
  public:
    explicit OneObjectScene(SpriteDisplay& display) : display_(display) {}
    SurfaceId object = 0;
    std::vector<QPoint> presses;  // in scene units

    void RenderFrame() override {
        display_.ClearFrame(rgb(0, 0, 40));
        display_.DrawSurface(object);
        display_.PresentFrame();
    }
    void KeyDown(int) override {}
    void KeyUp(int) override {}
    void MouseDown(int, int x, int y) override { presses.push_back({x, y}); }
    void MouseMove(int, int, int) override {}
    void MouseUp(int, int, int) override {}
    void Deactivated() override {}

  private:
    SpriteDisplay& display_;
};

bool runEventsUntil(const std::function<bool()>& done, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

TEST(CrispDisplay, MakesAMissingSetOnceSwapsItInWhenCompleteAndPicksInSceneUnits) {
    test::guiApp();
    QTemporaryDir dir;
    const QString data = dir.filePath("data");
    // A 100 x 50 object, orange at 800 x 600; the set for 1080 lines has it red.
    savePicture(filled({100, 50}, qRgb(250, 150, 0)), data + "/Artifacts/block.bmp");
    const ArtCache cache(dir.filePath("cache"));
    FakeSystemLayer system;
    SpriteDisplay display;
    OneObjectScene scene(display);
    display.setEventSink(&scene);
    display.useArtCache(cache, data, system);
    ASSERT_TRUE(display.OpenDisplay(800, 600, 32, ""));
    QWindow* window = display.sceneWindow();
    if (window->size() != QSize(1920, 1080))
        GTEST_SKIP() << "the application was made elsewhere without the 1920 x 1080 screen";
    scene.object = display.NewSurface();
    ASSERT_TRUE(display.LoadFrame(scene.object, 1, data + "/Artifacts/block.bmp", kTransparent));
    display.SetSurfaceX(scene.object, 100);
    display.SetSurfaceY(scene.object, 100);

    // No set yet: the generator is asked for one, once, and the frame stays 800 x 600.
    const QString fill = QStringLiteral("StartProgram(%1, --cache-fill, 1080, %2)")
                             .arg(ArtCache::generatorIn(data), cache.root());
    ASSERT_TRUE(runEventsUntil([&] { return !system.calls().isEmpty(); }, 2000));
    EXPECT_EQ(system.calls(), QStringList{fill});
    EXPECT_EQ(display.composedHeight(), 600);

    // The generator's set appears: it is swapped in while the display runs.
    const QString set = cache.folderFor(QSize(1440, 1080));
    savePicture(filled({180, 90}, qRgb(220, 0, 0)), set + "/Artifacts/block.png");
    writeBytes(set + "/" + ArtCache::kStampName,
               ArtCacheStamp::describe(set, QSize(1440, 1080)).toText());
    ASSERT_TRUE(runEventsUntil([&] { return display.composedHeight() == 1080; }, 8000));
    runEventsUntil([] { return false; }, 100);
    QTemporaryDir shots;
    ASSERT_TRUE(display.saveLastFrame(shots.filePath("frame.png")));
    const QImage frame(shots.filePath("frame.png"));
    ASSERT_EQ(frame.size(), QSize(1440, 1080));
    EXPECT_EQ(frame.pixel(180, 180), qRgb(220, 0, 0));
    EXPECT_EQ(frame.pixel(178, 178), qRgb(0, 0, 40));

    // Picking in screen pixels, 1:1 with the frame: the scene hears scene units, and the
    // object is under the pointer exactly where it is at 800 x 600.
    auto press = [&](QPoint screen) {
        QMouseEvent event(QEvent::MouseButtonPress, QPointF(screen), QPointF(screen),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &event);
        return display.IsPointerOver(scene.object);
    };
    // The scene area starts at x = 240; scene unit u covers screen pixels 240 + 1.8 u...
    EXPECT_TRUE(press({240 + 180, 180}));
    EXPECT_TRUE(press({240 + 359, 269}));
    EXPECT_FALSE(press({240 + 178, 180}));
    EXPECT_FALSE(press({240 + 361, 180}));
    const std::vector<QPoint> heard = {{100, 100}, {199, 149}, {98, 100}, {200, 100}};
    EXPECT_EQ(scene.presses, heard);

    // Opening again finds the set at once and asks the generator for nothing more.
    display.CloseDisplay();
    ASSERT_TRUE(display.OpenDisplay(800, 600, 32, ""));
    scene.object = display.NewSurface();
    ASSERT_TRUE(display.LoadFrame(scene.object, 1, data + "/Artifacts/block.bmp", kTransparent));
    EXPECT_TRUE(runEventsUntil([&] { return display.composedHeight() == 1080; }, 4000));
    display.CloseDisplay();
    EXPECT_EQ(system.calls(), QStringList{fill});
}

}  // namespace
}  // namespace bw
