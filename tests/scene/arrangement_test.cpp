#include "LifeTestScene.h"
#include "scene/Arrangement.h"
#include "settings/IniSettingsStore.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace bw::life {
namespace {

constexpr int coral(int n) { return kCoral1 + n - 1; }
constexpr int cliff(int n) { return kCliff1 + n - 1; }

struct Custom : LifeTestScene {
    Arrangement arrangement{scene, display, system, settings};

    explicit Custom(int sceneWidth = 800) : LifeTestScene({}, sceneWidth) {
        system.ShowCursor(false);  // as the saver starts
        // Every object shown, as only those can be picked, and out of reach; tests put back
        // the ones they need.
        for (int object = 0; object < kSceneObjectCount; ++object) {
            scene.objects[object].Switch = object >= kBottom1 && object < kBottom1 + 6 ? -1 : 1;
            put(scene.objects[object].Surface, -400, 0);
        }
    }
    SurfaceId surface(int object) const { return scene.objects[object].Surface; }
    void press(int x, int y) {
        display.pointer = QPoint(x, y);
        arrangement.mouseDown(kLeftButton, x, y);
    }
    void drag(int x, int y) {
        display.pointer = QPoint(x, y);
        arrangement.mouseMove(kLeftButton, x, y);
    }
    void release(int x, int y) { arrangement.mouseUp(kLeftButton, x, y); }
};

TEST(CustomMode, APressOnOpenWaterPicksNothingAndItsReleaseStoresNothing) {
    Custom tank;
    tank.arrangement.keyX();
    tank.put(tank.surface(kCastle), 100, 100);
    tank.press(500, 500);
    EXPECT_FALSE(tank.arrangement.dragging());
    tank.drag(110, 110);
    tank.release(110, 110);
    EXPECT_TRUE(tank.store.writes().empty());
    EXPECT_EQ(tank.at(tank.surface(kCastle)).x, 100);
}

struct Overlap {
    int above;
    int below;
    const char* picked;
};

class CustomModeOverlap : public testing::TestWithParam<Overlap> {};

TEST_P(CustomModeOverlap, TheLaterObjectInThePickOrderWins) {
    const Overlap& row = GetParam();
    Custom tank;
    tank.arrangement.keyX();
    tank.put(tank.surface(row.below), 200, 300);
    tank.at(tank.surface(row.below)).size = QSize(600, 300);
    tank.put(tank.surface(row.above), 250, 350);
    tank.press(260, 360);
    EXPECT_TRUE(tank.arrangement.dragging());
    EXPECT_EQ(tank.arrangement.pickName(), QString::fromLatin1(row.picked));
    EXPECT_EQ(tank.arrangement.pickSurface(), tank.surface(row.above));
    // Every object is asked, whatever is hit first.
    EXPECT_EQ(tank.display.calls(QStringLiteral("IsPointerOver")).size(), kSceneObjectCount);
}

INSTANTIATE_TEST_SUITE_P(Table, CustomModeOverlap,
                         testing::Values(Overlap{coral(3), kWall, "Coral3"},
                                         Overlap{cliff(2), coral(5), "Cliff2"},
                                         Overlap{coral(11), cliff(5), "Coral11"},
                                         Overlap{kStatue1, kTotem, "Statue1"},
                                         Overlap{kTotem, kStatue2, "Totem"},
                                         Overlap{kBottom1 + 5, kBottom1, "Bottom6"}));

struct Handle {
    int object;
    int x, y;
};

class CustomModeHandle : public testing::TestWithParam<Handle> {};

TEST_P(CustomModeHandle, TheObjectJumpsSoItsHandleLiesUnderThePointer) {
    const Handle& row = GetParam();
    Custom tank;
    tank.arrangement.keyX();
    tank.put(tank.surface(row.object), 300, 200);
    tank.press(310, 210);
    tank.drag(311, 210);
    EXPECT_EQ(tank.at(tank.surface(row.object)).x, 311 - row.x);
    EXPECT_EQ(tank.at(tank.surface(row.object)).y, 210 - row.y);
    tank.drag(-5, 650);  // no limit: off the screen is allowed
    EXPECT_EQ(tank.at(tank.surface(row.object)).x, -5 - row.x);
    EXPECT_EQ(tank.at(tank.surface(row.object)).y, 650 - row.y);
}

INSTANTIATE_TEST_SUITE_P(Table, CustomModeHandle,
                         testing::Values(Handle{kWall, 400, 20}, Handle{kBottom1 + 2, 294, 25},
                                         Handle{kDarkCliff1 + 2, 65, 44}, Handle{kHorse, 135, 150},
                                         Handle{kLighthouse, 33, 109}, Handle{kStatue2, 70, 147},
                                         Handle{kTotem, 65, 75}, Handle{kStatue1, 46, 100},
                                         Handle{coral(1), 87, 46}, Handle{coral(3), 37, 25},
                                         Handle{coral(7), 75, 25}, Handle{cliff(2), 20, 40},
                                         Handle{cliff(3), 90, 100}, Handle{coral(14), 75, 25}));

TEST(CustomMode, ADropStoresTheTwoKeysOfTheObject) {
    Custom tank;
    tank.arrangement.keyX();
    tank.put(tank.surface(coral(3)), 500, 500);
    tank.press(510, 510);
    tank.drag(0, 537);
    tank.release(0, 537);
    const std::vector<SettingWrite>& writes = tank.store.writes();
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].section, QStringLiteral("Positions2"));
    EXPECT_EQ(writes[0].key, QStringLiteral("Coral3X"));
    EXPECT_EQ(writes[0].value, QStringLiteral("-37"));
    EXPECT_EQ(writes[1].section, QStringLiteral("Positions2"));
    EXPECT_EQ(writes[1].key, QStringLiteral("Coral3Y"));
    EXPECT_EQ(writes[1].value, QStringLiteral("512"));
    EXPECT_FALSE(tank.arrangement.dragging());
    EXPECT_TRUE(tank.arrangement.pickName().isEmpty());
    // After the drop the pointer moves on alone.
    tank.drag(300, 300);
    EXPECT_EQ(tank.at(tank.surface(coral(3))).x, -37);
}

// The pick order with the names under which the objects are shown and stored.
const char* const kPickNames[kSceneObjectCount] = {
    "Wall",       "Bottom1",    "Bottom2",     "Bottom3", "Bottom4", "Bottom5", "Bottom6",
    "DarkCliff1", "DarkCliff2", "DarkCliff3",  "Castle",  "Anchor",  "City",    "Horse",
    "Liberty",    "Lighthouse", "Lighthouse2", "Pyramid", "Rome",    "Statue2", "Totem",
    "Statue1",    "Treasure",   "Columns",     "Coral1",  "Coral2",  "Coral3",  "Coral4",
    "Coral5",     "Coral6",     "Coral7",      "Coral8",  "Coral9",  "Coral10", "Cliff1",
    "Cliff2",     "Cliff3",     "Cliff4",      "Cliff5",  "Coral11", "Coral12", "Coral13",
    "Coral14"};

// Where a position is stored, by the object's surface number.
QString sectionOf(SurfaceId surface) {
    if (surface <= 15) return QStringLiteral("Positions");
    if (surface <= 30) return QStringLiteral("Positions2");
    return QStringLiteral("Positions3");
}

TEST(CustomMode, EveryObjectIsStoredWhereTheNextStartReadsIt) {
    Custom tank;
    tank.arrangement.keyX();
    const auto order = Arrangement::pickOrder();
    ASSERT_EQ(order.size(), std::size_t{kSceneObjectCount});
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int object = order[i].object;
        const SurfaceId surface = tank.surface(object);
        tank.store.clearWrites();
        tank.put(surface, 300, 300);
        tank.press(301, 301);
        EXPECT_EQ(tank.arrangement.pickName(), QString::fromLatin1(kPickNames[i]));
        const int dropX = 400 + static_cast<int>(i);
        const int dropY = 200 - static_cast<int>(i);
        tank.drag(dropX + order[i].handleX, dropY + order[i].handleY);
        tank.release(0, 0);
        tank.put(surface, -400, 0);  // out of the way of the next one

        const std::vector<SettingWrite>& writes = tank.store.writes();
        ASSERT_EQ(writes.size(), 2u) << kPickNames[i];
        for (const SettingWrite& write : writes) EXPECT_EQ(write.section, sectionOf(surface));
        EXPECT_EQ(writes[0].key.compare(QString(kPickNames[i]) + "X", Qt::CaseInsensitive), 0);
        EXPECT_EQ(writes[1].key.compare(QString(kPickNames[i]) + "Y", Qt::CaseInsensitive), 0);
        EXPECT_EQ(writes[0].value, QString::number(dropX));
        EXPECT_EQ(writes[1].value, QString::number(dropY));
        EXPECT_EQ(tank.scene.objects[object].X, dropX);
    }

    SceneState nextStart;
    readSceneOptions(tank.settings, nextStart);
    for (std::size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(nextStart.objects[order[i].object].X, 400 + static_cast<int>(i)) << kPickNames[i];
        EXPECT_EQ(nextStart.objects[order[i].object].Y, 200 - static_cast<int>(i)) << kPickNames[i];
    }
}

TEST(CustomMode, ZWhileTheButtonIsHeldStoresNothingUntilTheNextDropInTheMode) {
    Custom tank;
    tank.arrangement.keyX();
    tank.put(tank.surface(kAnchor), 100, 100);
    tank.press(110, 110);
    tank.arrangement.keyZ();
    tank.release(150, 150);
    EXPECT_TRUE(tank.store.writes().empty());
    EXPECT_EQ(tank.arrangement.pickName(), QStringLiteral("Anchor"));
    tank.drag(200, 200);  // outside the mode the pointer moves alone
    EXPECT_EQ(tank.at(tank.surface(kAnchor)).x, 100);

    tank.arrangement.keyX();
    tank.drag(174, 140);
    tank.release(174, 140);
    ASSERT_EQ(tank.store.writes().size(), 2u);
    EXPECT_EQ(tank.store.read("Positions", "AnchorX", ""), QStringLiteral("100"));
    EXPECT_EQ(tank.store.read("Positions", "AnchorY", ""), QStringLiteral("100"));
}

TEST(CustomMode, OutsideTheModeTheMouseTouchesNothing) {
    Custom tank;
    tank.put(tank.surface(kCastle), 100, 100);
    tank.press(110, 110);
    tank.drag(300, 300);
    tank.release(300, 300);
    EXPECT_TRUE(tank.display.calls(QStringLiteral("IsPointerOver")).isEmpty());
    EXPECT_TRUE(tank.store.writes().empty());
    tank.arrangement.keyX();
    tank.arrangement.keyZ();
    tank.press(110, 110);
    EXPECT_FALSE(tank.arrangement.dragging());
}

struct Keys {
    const char* keys;
    bool pointerVisible;
    bool custom;
};

class CustomModeKeys : public testing::TestWithParam<Keys> {};

TEST_P(CustomModeKeys, ShowAndHideTheCountedPointer) {
    const Keys& row = GetParam();
    Custom tank;
    for (const char* key = row.keys; *key != 0; ++key) {
        if (*key == 'X') tank.arrangement.keyX();
        if (*key == 'Z') tank.arrangement.keyZ();
    }
    EXPECT_EQ(tank.system.cursorVisible(), row.pointerVisible);
    EXPECT_EQ(tank.arrangement.customMode(), row.custom);
}

INSTANTIATE_TEST_SUITE_P(Table, CustomModeKeys,
                         testing::Values(Keys{"", false, false}, Keys{"X", true, true},
                                         Keys{"XZ", false, false}, Keys{"XXZ", true, false},
                                         Keys{"ZX", true, true}, Keys{"ZZX", true, true},
                                         Keys{"XZZX", true, true}, Keys{"XZX", true, true}));

QStringList captions(const QString& name) {
    const QString black = QString::number(rgb(0, 0, 0));
    const QString yellow = QString::number(rgb(255, 255, 0));
    const QString white = QString::number(rgb(255, 255, 255));
    const QString selected = "Selected Object: " + name;
    return {"SetTextFont(Arial,46,30)",
            "DrawText(Custom Mode,225,4," + black + ")",
            "SetTextFont(Arial,46,30)",
            "DrawText(Custom Mode,225,2," + yellow + ")",
            "SetTextFont(Arial,24,30)",
            "DrawText(" + selected + ",225,42," + black + ")",
            "SetTextFont(Arial,24,30)",
            "DrawText(" + selected + ",225,40," + yellow + ")",
            "SetTextFont(Arial,18,30)",
            "DrawText(Press the 'z' key to exit custom mode,225,65," + black + ")",
            "SetTextFont(Arial,20,30)",
            "DrawText(Caution: Do not move completely off the screen!,225,84," + white + ")"};
}

TEST(CustomMode, CaptionsNameThePickedObjectOnlyWhileItIsHeld) {
    Custom tank;
    tank.arrangement.keyX();
    tank.put(tank.surface(kLighthouse2), 100, 100);
    tank.arrangement.drawCaptions();
    EXPECT_EQ(tank.display.log, captions(QString()));

    tank.press(110, 110);
    tank.display.clearLog();
    tank.arrangement.drawCaptions();
    EXPECT_EQ(tank.display.log, captions(QStringLiteral("Lighthouse2")));

    tank.release(110, 110);
    tank.display.clearLog();
    tank.arrangement.drawCaptions();
    EXPECT_EQ(tank.display.log, captions(QString()));
}

TEST(CustomMode, ADropKeepsWhatTheSettingsDialogWroteMeanwhile) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("Brinewave3.ini"));
    {
        IniSettingsStore before(path);
        before.write("Positions2", "Coral3X", "568");
        before.write("Positions2", "HorseX", "439");
    }
    IniSettingsStore saverStore(path);
    Settings saverSettings(saverStore, Reader::Saver);
    Custom tank;
    Arrangement arrangement(tank.scene, tank.display, tank.system, saverSettings);

    // The dialog writes while the saver runs.
    IniSettingsStore dialogStore(path);
    dialogStore.write("Settings", "Message", "Hello");
    dialogStore.write("Positions2", "HorseX", "12");

    arrangement.keyX();
    tank.put(tank.surface(coral(3)), 500, 500);
    tank.display.pointer = QPoint(510, 510);
    arrangement.mouseDown(kLeftButton, 510, 510);
    arrangement.mouseMove(kLeftButton, 0, 537);
    arrangement.mouseUp(kLeftButton, 0, 537);

    IniSettingsStore after(path);
    EXPECT_EQ(after.read("Positions2", "Coral3X", ""), QStringLiteral("-37"));
    EXPECT_EQ(after.read("Positions2", "Coral3Y", ""), QStringLiteral("512"));
    EXPECT_EQ(after.read("Settings", "Message", ""), QStringLiteral("Hello"));
    EXPECT_EQ(after.read("Positions2", "HorseX", ""), QStringLiteral("12"));
}

struct Hidden {
    int object;
    int16_t switchValue;
    const char* wallKind;
    const char* picked;  // what a press on it picks: the shown wall beneath, or nothing
};

TEST(CustomMode, AnObjectThatIsNotDrawnIsNeverPickedWhereverItStands) {
    const Hidden rows[] = {
        {kCastle, 0, "4", "Wall"},          {coral(3), 0, "4", "Wall"},
        {coral(3), 2, "4", "Wall"},         {cliff(2), 0, "4", "Wall"},
        {kDarkCliff1 + 1, 0, "4", "Wall"},  {kBottom1 + 5, 0, "4", "Wall"},
        {kWall, 1, "6", ""},
    };
    for (const Hidden& row : rows) {
        Custom tank(2133);
        tank.scene.Bottom = QString::fromLatin1(row.wallKind);
        tank.scene.objects[row.object].Switch = row.switchValue;
        tank.arrangement.keyX();
        // Over the whole scene, as it would stand parked in a side area of a wide one.
        for (int object : {int{kWall}, row.object}) {
            tank.put(tank.surface(object), -700, 0);
            tank.at(tank.surface(object)).size = QSize(2200, 600);
        }
        tank.press(-500, 300);
        tank.drag(-450, 310);
        EXPECT_EQ(tank.arrangement.pickName(), QString::fromLatin1(row.picked)) << row.object;
        tank.release(-450, 310);
        if (row.object != kWall) {
            EXPECT_EQ(tank.at(tank.surface(row.object)).x, -700);
        }
        for (const SettingWrite& write : tank.store.writes())
            EXPECT_EQ(write.key.left(4), QStringLiteral("Wall")) << row.object;
    }
}

TEST(CustomMode, ADropInASideAreaIsStoredInLayoutUnitsAndComesBackThere) {
    for (int width : {1067, 2133}) {
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        const QString path = folder.filePath(QStringLiteral("Brinewave3.ini"));
        IniSettingsStore file(path);
        Settings fileSettings(file, Reader::Saver);
        Custom tank(width);
        Arrangement arrangement(tank.scene, tank.display, tank.system, fileSettings);
        arrangement.keyX();
        const SceneSpan span = tank.scene.span;
        for (int pointerX : {span.left + 60, span.right - 60}) {
            tank.put(tank.surface(coral(3)), 300, 300);
            tank.display.pointer = QPoint(310, 310);
            arrangement.mouseDown(kLeftButton, 310, 310);
            arrangement.mouseMove(kLeftButton, pointerX, 420);
            arrangement.mouseUp(kLeftButton, pointerX, 420);

            const IniSettingsStore stored(path);
            const QString x = stored.read("Positions2", "Coral3X", "");
            EXPECT_EQ(x, QString::number(pointerX - 37)) << width;
            LifeTestScene next(
                [&](MemorySettingsStore& store) {
                    store.write("Corals", "Plant3", "1");
                    store.write("Positions2", "Coral3X", x);
                    store.write("Positions2", "Coral3Y", stored.read("Positions2", "Coral3Y", ""));
                },
                width);
            const auto& shown = next.at(next.scene.objects[coral(3)].Surface);
            EXPECT_EQ(QPoint(shown.x, shown.y), QPoint(pointerX - 37, 420 - 25)) << width;
        }
    }
}

struct Stored {
    int width;
    int object;
    int storedX;
    int shownX;
};

TEST(CustomMode, AnObjectStoredOutsideTheScreenLoadsWithinReachAndKeepsItsStoredPlace) {
    // At least 40 units stay within the span; handles lie mid-width (Cliff2's further left).
    const Stored rows[] = {
        {800, coral(3), -700, 40 - 74},          {800, coral(3), 1400, 760},
        {800, coral(3), -30, -30},               {800, cliff(2), -500, 0},
        {800, kWall, 1200, 760},                 {800, kWall, -900, 40 - 800},
        {1067, coral(3), -700, -133 + 40 - 74},  {1067, coral(3), 1400, 934 - 40},
        {2133, coral(3), -643, -643},
        {2133, kCastle, 240, -666 - 400},  // switched off: parked wholly left of the span
    };
    for (const Stored& row : rows) {
        const SettingKey& key = objectPositions()[row.object].x;
        LifeTestScene tank(
            [&](MemorySettingsStore& store) {
                store.write("Corals", "Plant3", "1");
                store.write(key.section, key.name, QString::number(row.storedX));
            },
            row.width);
        EXPECT_EQ(tank.at(tank.scene.objects[row.object].Surface).x, row.shownX)
            << row.width << " " << key.name << " " << row.storedX;
        EXPECT_EQ(tank.store.read(key.section, key.name, ""), QString::number(row.storedX));
        EXPECT_EQ(tank.scene.objects[row.object].X, row.storedX);
    }
}

}  // namespace
}  // namespace bw::life
