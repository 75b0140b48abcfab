#include "scene/SurfaceLoading.h"

#include "scene/Arrangement.h"
#include "scene/Creatures.h"
#include "scene/DrawingComponent.h"
#include "scene/SceneState.h"
#include "settings/InstallFolder.h"
#include "settings/Settings.h"
#include "system/Random.h"
#include "system/SystemLayer.h"

#include <QHash>
#include <cmath>

namespace bw {

namespace {

struct CreatureStart {
    const char* stem;
    int images;
    int16_t x;
    int16_t y;
};

// Fish 1 to 9, dolphin, shark, turtle: their images and where they wait at start, outside
// the 4:3 screen (see outside()).
constexpr CreatureStart kCreatureStarts[kCreatureCount] = {
    {"1Angel", 10, -151, 30},   {"1ClownFish", 10, -151, 430}, {"2butterfly", 10, 805, 80},
    {"1MyFish", 10, -150, 300}, {"2MyFish", 10, -150, 50},     {"3MyFish", 10, 805, 380},
    {"4MyFish", 10, 805, 15},   {"Fisheat", 10, 805, 500},     {"2Fisheat", 10, -150, 480},
    {"Dolphin", 10, 805, 450},  {"Shark", 10, -260, 270},      {"Turtle", 8, 805, 200},
};

constexpr struct {
    int16_t x;
    int16_t y;
} kDarkFishStarts[kDarkFish] = {{-151, 30}, {850, 90}, {850, 290}, {-151, 130}, {-101, 330}};

constexpr int kDarkFishDelay = 150;

// The artifacts in creation order, with their files.
constexpr struct {
    int object;
    const char* file;
} kArtifacts[] = {
    {kCastle, "Artifacts\\castle.bmp"},      {kAnchor, "Artifacts\\Anchor.bmp"},
    {kCity, "Artifacts\\City.bmp"},          {kHorse, "Artifacts\\Horse.bmp"},
    {kLiberty, "Artifacts\\Liberty.bmp"},    {kLighthouse, "Artifacts\\Litehous.bmp"},
    {kLighthouse2, "Artifacts\\Lighthouse.bmp"}, {kPyramid, "Artifacts\\pyramid.bmp"},
    {kRome, "Artifacts\\Rome.bmp"},          {kStatue1, "Artifacts\\Statue.bmp"},
    {kTotem, "Artifacts\\Statue2.bmp"},      {kStatue2, "Artifacts\\Statue3.bmp"},
    {kTreasure, "Artifacts\\Treasure.bmp"},  {kColumns, "Artifacts\\Columns.bmp"},
};

const char* wallFile(const QString& kind) {
    if (kind == u"1") return "Bottom/brickwall.bmp";
    if (kind == u"2") return "Bottom/rockwall.bmp";
    if (kind == u"3") return "Bottom/pebbles2.bmp";
    if (kind == u"4" || kind == u"6") return "Bottom/oldwall.bmp";
    if (kind == u"5") return "Bottom/JaggedBottom.bmp";
    return "Bottom/Shellbottom.bmp";
}

class Loader {
public:
    Loader(SceneState& scene, const SurfaceLoading& with) : scene_(scene), w_(with) {}

    SurfaceId create(const QString& relative, int transparency) {
        const SurfaceId surface = w_.display.NewSurface();
        load(surface, 1, relative, transparency);
        return surface;
    }
    bool load(SurfaceId surface, int frame, const QString& relative, int transparency) {
        return w_.display.LoadFrame(surface, frame, realPath(relative), transparency);
    }
    // A back wall or a floor: it runs across the whole width of a wide scene.
    SurfaceId createGlass(const QString& relative) {
        const SurfaceId surface = w_.display.NewSurface();
        w_.display.LoadGlass(surface, realPath(relative));
        return surface;
    }
    // Many surfaces share a file (400 bubbles, three files): look each up on disk once.
    const QString& realPath(const QString& relative) {
        auto found = realPaths_.find(relative);
        if (found == realPaths_.end())
            found = realPaths_.insert(relative, w_.folder.map(InstallFolder::kText + relative));
        return *found;
    }
    void place(SurfaceId surface, int16_t x, int16_t y) {
        w_.display.SetSurfaceY(surface, y);
        w_.display.SetSurfaceX(surface, x);
    }
    // Where a switched-on object (SceneObjectIndex) stands: its stored place, kept within reach.
    int16_t placeX(int object) const {
        return Arrangement::reachableX(object, scene_.objects[object].X, scene_.span);
    }
    // A switched-off object is parked left of the span, as far out as it is left of a 4:3
    // screen: no picture it may have is wider than that.
    int16_t parkX() const { return static_cast<int16_t>(scene_.span.left - 400); }
    void placeOrPark(int object) {
        const SceneObject& o = scene_.objects[object];
        if (o.Switch != 0)
            place(o.Surface, placeX(object), o.Y);
        else
            w_.display.SetSurfaceX(o.Surface, parkX());
    }
    // A start x left of 0 or right of 800 for a 4:3 screen, as far outside this span's edge.
    int16_t outside(int16_t x) const {
        const SceneSpan& span = scene_.span;
        return static_cast<int16_t>(x < 0 ? span.left + x : span.right + (x - 800));
    }
    SurfaceId createAnimated(const QStringList& frames, int delay, int16_t x, int16_t y) {
        const SurfaceId surface = w_.display.NewSurface();
        for (int frame = 1; frame <= frames.size(); ++frame)
            load(surface, frame, frames[frame - 1], kTransparent);
        w_.display.SetCurrentFrame(surface, 1);
        w_.display.SetFrameDelay(surface, delay);
        w_.display.SetSurfaceX(surface, x);
        w_.display.SetSurfaceY(surface, y);
        return surface;
    }
    int16_t randomX(int spread) { return static_cast<int16_t>(w_.random.next(spread, 50)); }

    void run();

private:
    SceneState& scene_;
    const SurfaceLoading& w_;
    QHash<QString, QString> realPaths_;
};

void Loader::run() {
    auto& objects = scene_.objects;
    DrawingComponent& display = w_.display;

    scene_.CalendarSurface = create(QStringLiteral("Misc\\Calendar.bmp"), kTransparent);
    constexpr struct {
        int16_t x, y;
    } kCalendarPlaces[] = {{5, 5}, {5, 510}, {730, 5}, {730, 510}};
    if (scene_.CalPos >= 0 && scene_.CalPos <= 3)
        place(scene_.CalendarSurface,
              scene_.calendarShift() + kCalendarPlaces[scene_.CalPos].x,
              kCalendarPlaces[scene_.CalPos].y);

    scene_.WaterSurface = display.NewSurface();
    scene_.waterHasPicture =
        scene_.WaterType == u"1" && !scene_.Water.isEmpty() &&
        display.LoadBackdrop(scene_.WaterSurface, realPath(QStringLiteral("water\\") + scene_.Water));
    place(scene_.WaterSurface, 0, 0);

    SceneObject& wall = objects[kWall];
    wall.Surface = createGlass(QString::fromLatin1(wallFile(scene_.Bottom)));
    if (scene_.noWall())
        place(wall.Surface, 0, -300);
    else
        place(wall.Surface, placeX(kWall), wall.Y);

    for (int i = 0; i < 6; ++i) {
        SceneObject& bottom = objects[kBottom1 + i];
        bottom.Surface = createGlass(QStringLiteral("Bottom\\bottom0%1.bmp").arg(i + 1));
        if (bottom.Switch != 0)
            place(bottom.Surface, placeX(kBottom1 + i), bottom.Y);
        else
            place(bottom.Surface, 0, 700);
    }
    for (int i = 0; i < 3; ++i) {
        SceneObject& cliff = objects[kDarkCliff1 + i];
        cliff.Surface = create(QStringLiteral("Plants\\darkcliff0%1b.bmp").arg(i + 1), kTransparent);
        if (cliff.Switch != 0) {
            display.SetSurfaceX(cliff.Surface, placeX(kDarkCliff1 + i));
            display.SetSurfaceY(cliff.Surface, cliff.Y);
        } else {
            display.SetSurfaceX(cliff.Surface, parkX());
        }
    }
    for (const auto& artifact : kArtifacts) {
        SceneObject& object = objects[artifact.object];
        object.Surface = create(QString::fromLatin1(artifact.file), kTransparent);
        placeOrPark(artifact.object);
    }
    for (int i = 0; i < 14; ++i) {
        SceneObject& coral = objects[kCoral1 + i];
        coral.Surface = create(QStringLiteral("Plants\\coral%1.bmp").arg(i + 1), kTransparent);
        placeOrPark(kCoral1 + i);
    }
    for (int i = 0; i < 5; ++i) {
        SceneObject& cliff = objects[kCliff1 + i];
        cliff.Surface = create(QStringLiteral("Plants\\cliff0%1.bmp").arg(i + 1), kTransparent);
        placeOrPark(kCliff1 + i);
    }

    for (int i = 1; i <= kSmallBubbles; ++i) {
        const SurfaceId bubble = create(QStringLiteral("Misc\\b2x2.bmp"), kTransparent);
        scene_.SmallBubbleSurface[i - 1] = bubble;
        scene_.SmallBubbleX = randomX(11);
        place(bubble, scene_.SmallBubbleX, static_cast<int16_t>(std::nearbyint(i / 2.0 + i + 601)));
    }
    for (int i = 1; i <= kMediumBubbles; ++i) {
        const SurfaceId bubble = create(QStringLiteral("Misc\\b4x4.bmp"), kTransparent);
        scene_.MediumBubbleSurface[i - 1] = bubble;
        scene_.MediumBubbleX = randomX(16);
        place(bubble, scene_.MediumBubbleX, static_cast<int16_t>(4 * i + 601));
    }
    for (int i = 1; i <= kLargeBubbles; ++i) {
        const SurfaceId bubble = create(QStringLiteral("Misc\\b6x6.bmp"), kTransparent);
        scene_.LargeBubbleSurface[i - 1] = bubble;
        scene_.LargeBubbleX = randomX(11);
        place(bubble, scene_.LargeBubbleX, static_cast<int16_t>(10 * i + 601));
    }
    for (int i = 0; i < 2; ++i) {
        const SurfaceId curtain = create(QStringLiteral("Misc\\BB1.bmp"), kTransparent);
        scene_.CurtainSurface[i] = static_cast<int16_t>(curtain);
        place(curtain, 15, i == 0 ? 400 : 1000);
    }

    for (int c = 0; c < kCreatureCount; ++c) {
        const CreatureStart& start = kCreatureStarts[c];
        CreatureSettings& creature = scene_.creatures[c];
        creature.Surface = createAnimated(pingPongFrames(QString::fromLatin1(start.stem), start.images),
                                          creature.Delay, outside(start.x), start.y);
    }
    for (int k = 0; k < kDarkFish; ++k)
        scene_.DarkFishSurface[k] =
            createAnimated(darkFishFrames(k + 1), kDarkFishDelay, outside(kDarkFishStarts[k].x),
                           kDarkFishStarts[k].y);

    const Settings& settings = w_.settings;
    scene_.RunMonitor = settings.flag(key::RunMonitor);
    if (!scene_.RunMonitor) {
        scene_.MonitorNoticeSurface = create(QStringLiteral("Misc\\monitor.bmp"), kOpaque);
        place(scene_.MonitorNoticeSurface, 150, 70);
    }
    scene_.TuneScrSvr = settings.flag(key::TuneScrSvr);
    if (!scene_.TuneScrSvr) {
        scene_.TuneNoticeSurface = create(QStringLiteral("Misc\\TuneMsg.bmp"), kOpaque);
        place(scene_.TuneNoticeSurface, 150, 70);
    }
    scene_.PwrMsg = settings.flag(key::PwrMsg);
    if (!scene_.PwrMsg) {
        scene_.PowerNoticeSurface = create(QStringLiteral("Misc\\PwrMsg.bmp"), kOpaque);
        place(scene_.PowerNoticeSurface, 150, 70);
    }

    // Last, so that every other surface keeps its number whatever the screen.
    const int spares = Creatures::spareBodies(scene_.span);
    for (int c = 0; c < kCreatureCount; ++c) {
        const CreatureStart& start = kCreatureStarts[c];
        const QStringList frames = pingPongFrames(QString::fromLatin1(start.stem), start.images);
        auto& surfaces = scene_.spareCreatureSurfaces[c];
        surfaces.clear();
        for (int i = 0; i < spares; ++i)
            surfaces.push_back(
                createAnimated(frames, scene_.creatures[c].Delay, outside(start.x), start.y));
    }
    for (int k = 0; k < kDarkFish; ++k) {
        auto& surfaces = scene_.spareDarkFishSurfaces[k];
        surfaces.clear();
        for (int i = 0; i < spares; ++i)
            surfaces.push_back(createAnimated(darkFishFrames(k + 1), kDarkFishDelay,
                                              outside(kDarkFishStarts[k].x), kDarkFishStarts[k].y));
    }
}

}  // namespace

QStringList pingPongFrames(const QString& stem, int images) {
    QStringList frames;
    for (int frame = 1; frame <= 2 * images - 2; ++frame) {
        const int image = frame <= images ? frame : 2 * images - frame;
        frames.append(QStringLiteral("fish\\%1%2.bmp").arg(stem).arg(image));
    }
    return frames;
}

QStringList darkFishFrames(int fish) {
    QStringList frames;
    for (const char* suffix : {"a", "b", "a", "c"})
        frames.append(QStringLiteral("fish\\DarkFish%1%2.bmp").arg(fish).arg(QLatin1String(suffix)));
    return frames;
}

bool OpenDirectDrawSession(SceneState& scene, const SurfaceLoading& with) {
    with.display.setFillsWideScreens(scene.FillWide != 0);
    if (!with.display.OpenDisplay(800, 600, 32, QString())) {
        // A session lock that could not be taken has said why on standard error; nothing of a
        // box would be seen.
        if (with.display.LocksSession()) return false;
        with.system.MessageBox(
            QStringLiteral("This screensaver requires your color setting to be 32-bit(Highest)\r\n"
                           "\r\nPlease look in our help file or website if you do not know how "
                           "to change this setting"),
            QStringLiteral("Error opening Direct Draw!"), MessageIcon::Critical,
            MessageButtons::Ok);
        return false;
    }
    scene.span = SceneSpan::forWidth(with.display.SceneWidth());
    Loader(scene, with).run();
    return true;
}

}  // namespace bw
