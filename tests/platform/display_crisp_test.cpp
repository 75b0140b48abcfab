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
    const FrameShape frame = FrameShape::block(1.8);
    auto made = [&](const QString& crisp) {
        return pictureAtScale(file, frame, crisp, QSize(100, 50), [&] { return decodeFile(own); });
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
        pictureAtScale(file, frame, garbage, QSize(100, 50), [] { return QImage(); }).isNull());

    // A backdrop's crisp file has the frame's size, whatever the file's own.
    const QString water = dir.filePath("water.png");
    savePicture(filled({1440, 1080}, qRgb(0, 0, 200)), water);
    const PictureFile backdrop{own, kOpaque, true};
    const QImage shown =
        pictureAtScale(backdrop, frame, water, QSize(100, 50), [&] { return decodeFile(own); });
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

        QImage crispWater(FrameShape::block(scale).size, QImage::Format_RGB32);
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
    const int tileShift = TileGrid::forFrame(FrameShape::block(scale).size).shift;
    for (const SpriteCompositor::LoadedFile& f : swapped.loadedFiles()) {
        const QString crisp = art.source()(f.file.path);
        const QImage picture = pictureAtScale(f.file, FrameShape::block(scale), crisp,
                                              f.picture.get()->image.size(),
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

// On a wide frame the layout stands in the middle: every position, pick and text keeps its
// units, while the water, and a wall or floor as wide as the layout, reach both edges.
TEST(WideFrame, TheLayoutStandsInTheMiddleAndTheGlassReachesBothEdges) {
    test::guiApp();
    QTemporaryDir dir;
    const QString data = dir.filePath("data"), crisp = dir.filePath("crisp");
    savePicture(filled({800, 600}, qRgb(0, 60, 120)), data + "/water.bmp");
    // A wall: its left half grey, its right half brown, clear above row 40.
    QImage wall = filled({800, 100}, 0u, QImage::Format_ARGB32);
    QPainter(&wall).fillRect(QRect(0, 40, 400, 60), QColor(120, 120, 120));
    QPainter(&wall).fillRect(QRect(400, 40, 400, 60), QColor(140, 90, 40));
    savePicture(wall, data + "/wall.png");
    savePicture(filled({300, 50}, qRgb(200, 180, 140)), data + "/floor.bmp");  // not as wide
    savePicture(filled({60, 30}, qRgb(250, 150, 0)), data + "/fish.bmp");
    // The set for 1920 x 1080: the water and the wall painted across it.
    savePicture(filled({1920, 1080}, qRgb(0, 90, 160)), crisp + "/water.png");
    // (The wall as wide as the frame and 120 units beyond each edge: 1920 + 2 x 216 pixels.)
    QImage wideWall = filled({2352, 180}, 0u, QImage::Format_ARGB32);
    QPainter(&wideWall).fillRect(QRect(0, 72, 2352, 108), QColor(30, 160, 60));
    savePicture(wideWall, crisp + "/wall.png");

    const struct {
        FrameShape shape;
        CrispSource source;
        QRgb water, wallLeft, wallRight;
    } shapes[] = {
        // The first frames of a 1920 x 1080 screen, from the data folder: the wall widened.
        {FrameShape::across(600, 16.0 / 9), {}, qRgb(0, 60, 120), qRgb(120, 120, 120),
         qRgb(140, 90, 40)},
        {FrameShape::across(1080, 16.0 / 9),
         [&](const QString& path) { return crisp + "/" + QFileInfo(path).baseName() + ".png"; },
         qRgb(0, 90, 160), qRgb(30, 160, 60), qRgb(30, 160, 60)},
    };
    for (const auto& k : shapes) {
        const FrameShape& shape = k.shape;
        SCOPED_TRACE(shape.size.width());
        SpriteCompositor c([] { return int64_t(0); });
        c.setCrispSource(k.source);
        c.setShape(shape);
        const SurfaceId water = c.newSurface(), wallSurface = c.newSurface(),
                        floor = c.newSurface(), fish = c.newSurface();
        ASSERT_TRUE(c.loadBackdrop(water, data + "/water.bmp"));
        ASSERT_TRUE(c.loadGlass(wallSurface, data + "/wall.png"));
        ASSERT_TRUE(c.loadGlass(floor, data + "/floor.bmp"));
        ASSERT_TRUE(c.loadFrame(fish, 1, data + "/fish.bmp", kOpaque));
        c.setY(wallSurface, 500);
        c.setX(floor, 100);
        c.setY(floor, 300);
        c.setX(fish, -100);  // in the left side area
        c.setY(fish, 100);
        c.clear(rgb(0, 0, 0));
        for (SurfaceId id : {water, wallSurface, floor, fish}) c.draw(id);
        const QImage& frame = c.frame();
        ASSERT_EQ(frame.size(), shape.size);
        const int right = shape.size.width() - 1;
        auto at = [&](int x, int y) { return frame.pixel(c.toColumn(x), c.toPixels(y)); };

        EXPECT_EQ(frame.pixel(0, 0), k.water);
        EXPECT_EQ(frame.pixel(right, c.toPixels(400)), k.water);
        EXPECT_EQ(frame.pixel(0, c.toPixels(570)), k.wallLeft);
        EXPECT_EQ(frame.pixel(right, c.toPixels(570)), k.wallRight);
        EXPECT_EQ(at(10, 570), k.wallLeft);
        EXPECT_EQ(at(790, 570), k.wallRight);
        EXPECT_EQ(frame.pixel(right, c.toPixels(520)), k.water);  // the wall's clear top
        EXPECT_EQ(at(101, 301), qRgb(200, 180, 140));
        EXPECT_EQ(at(98, 301), k.water);
        EXPECT_EQ(at(-99, 101), qRgb(250, 150, 0));
        EXPECT_EQ(at(-102, 101), k.water);

        // Picks in layout units, wherever the picture reaches.
        EXPECT_TRUE(c.isPointOver(fish, {-70, 115}));
        EXPECT_FALSE(c.isPointOver(fish, {-101, 115}));
        EXPECT_TRUE(c.isPointOver(wallSurface, {-120, 570}));
        EXPECT_TRUE(c.isPointOver(wallSurface, {900, 570}));
        EXPECT_FALSE(c.isPointOver(wallSurface, {900, 520}));
        EXPECT_FALSE(c.isPointOver(floor, {50, 310}));
    }
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

// On the 1920 x 1080 screen of the tests: the frame as wide as the screen, or with wide screens
// not filled, the 4:3 one. Either way the layout starts 240 pixels in.
TEST(CrispDisplay, MakesAMissingSetOnceSwapsItInWhenCompleteAndPicksInSceneUnits) {
    test::guiApp();
    const struct {
        bool fill;
        QSize frame;
        const char* name;  // on the generator's command line
    } cases[] = {{false, {1440, 1080}, "1080"}, {true, {1920, 1080}, "1920x1080"}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        QTemporaryDir dir;
        const QString data = dir.filePath("data");
        // A 100 x 50 object, orange at 800 x 600; the set for the frame has it red.
        savePicture(filled({100, 50}, qRgb(250, 150, 0)), data + "/Artifacts/block.bmp");
        const ArtCache cache(dir.filePath("cache"));
        FakeSystemLayer system;
        SpriteDisplay display;
        OneObjectScene scene(display);
        display.setEventSink(&scene);
        display.useArtCache(cache, data, system);
        display.setFillsWideScreens(k.fill);
        ASSERT_TRUE(display.OpenDisplay(800, 600, 32, ""));
        QWindow* window = display.sceneWindow();
        if (window->size() != QSize(1920, 1080))
            GTEST_SKIP() << "the application was made elsewhere without the 1920 x 1080 screen";
        EXPECT_EQ(display.SceneWidth(), k.fill ? 1068 : 800);
        scene.object = display.NewSurface();
        ASSERT_TRUE(display.LoadFrame(scene.object, 1, data + "/Artifacts/block.bmp", kTransparent));
        display.SetSurfaceX(scene.object, 100);
        display.SetSurfaceY(scene.object, 100);

        // No set yet: the generator is asked for one, once, and the frame stays 600 lines.
        const QString fill = QStringLiteral("StartProgram(%1, --cache-fill, %2, %3)")
                                 .arg(ArtCache::generatorIn(data), k.name, cache.root());
        ASSERT_TRUE(runEventsUntil([&] { return !system.calls().isEmpty(); }, 2000));
        EXPECT_EQ(system.calls(), QStringList{fill});
        EXPECT_EQ(display.composedHeight(), 600);

        // The generator's set appears: it is swapped in while the display runs.
        const QString set = cache.folderFor(k.frame);
        savePicture(filled({180, 90}, qRgb(220, 0, 0)), set + "/Artifacts/block.png");
        writeBytes(set + "/" + ArtCache::kStampName,
                   ArtCacheStamp::describe(set, k.frame).toText());
        ASSERT_TRUE(runEventsUntil([&] { return display.composedHeight() == 1080; }, 8000));
        runEventsUntil([] { return false; }, 100);
        QTemporaryDir shots;
        ASSERT_TRUE(display.saveLastFrame(shots.filePath("frame.png")));
        const QImage frame(shots.filePath("frame.png"));
        ASSERT_EQ(frame.size(), k.frame);
        const int block = (k.frame.width() - 1440) / 2;
        EXPECT_EQ(frame.pixel(block + 180, 180), qRgb(220, 0, 0));
        EXPECT_EQ(frame.pixel(block + 178, 178), qRgb(0, 0, 40));

        // Picking in screen pixels, 1:1 with the frame: the scene hears scene units, and the
        // object is under the pointer exactly where it is at 800 x 600.
        auto press = [&](QPoint screen) {
            QMouseEvent event(QEvent::MouseButtonPress, QPointF(screen), QPointF(screen),
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(window, &event);
            return display.IsPointerOver(scene.object);
        };
        // The layout starts at x = 240; scene unit u covers screen pixels 240 + 1.8 u...
        EXPECT_TRUE(press({240 + 180, 180}));
        EXPECT_TRUE(press({240 + 359, 269}));
        EXPECT_FALSE(press({240 + 178, 180}));
        EXPECT_FALSE(press({240 + 361, 180}));
        // ...and left of it lie units below 0.
        press({6, 180});
        const std::vector<QPoint> heard = {{100, 100}, {199, 149}, {98, 100}, {200, 100},
                                           {-130, 100}};
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
}

}  // namespace
}  // namespace bw
