#include "settings/Conversions.h"
#include "settings/Settings.h"
#include "settings/SettingsCatalogue.h"
#include "fakes/MemorySettingsStore.h"
#include "fakes/FakeSystemLayer.h"

#include <QSet>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <string_view>

namespace bw {
namespace {

// Every key of the store as the program's documentation lists it: section, key, factory text,
// and the default the saver and the dialog read when the key is missing (kNotRead: that reader
// never reads the key). Written from the documentation, not from the catalogue, so that a
// change to either one shows.
constexpr const char* kNotRead = nullptr;
struct DocumentedKey {
    const char* section;
    const char* key;
    const char* factory;
    const char* saverDefault;
    const char* dialogDefault;
};
constexpr DocumentedKey kDocumentedKeys[] = {
    {"Settings", "Bottom", "4", "1", "1"},
    {"Settings", "Bubbles", "1", "1", "1"},
    {"Settings", "Calendar", "0", "1", "1"},
    {"Settings", "CalPos", "0", "1", "1"},
    {"Settings", "CheckFont", "0", "1", "1"},
    {"Settings", "FillWide", "1", "1", "1"},
    {"Settings", "FontName", "Arial", kNotRead, "1"},
    {"Settings", "FontSizeMsg", "14", "1", "1"},
    {"Settings", "HardDsk", "Never", "1", "1"},
    {"Settings", "Hibernate", "Never", "1", "1"},
    {"Settings", "Message", "Place Message Here", "1", "1"},
    {"Settings", "Monitor", "Never", "1", "1"},
    {"Settings", "MouseSens", "4", "1", "1"},
    {"Settings", "Music", "0", "", ""},
    {"Settings", "MusicOff", "0", "", ""},
    {"Settings", "Password", "", "7", "7"},
    {"Settings", "Power", "0", "1", "1"},
    {"Settings", "PWEnabled", "0", "1", "1"},
    {"Settings", "SelectedFont", "0", kNotRead, "1"},
    {"Settings", "ShowMessage", "0", "1", "1"},
    {"Settings", "Sound", "1", "1", "1"},
    {"Settings", "SoundOff", "0", "1", "1"},
    {"Settings", "Standby", "Never", "1", "1"},
    {"Settings", "TunePC", "6", "1", "1"},
    {"Settings", "Volume", "-769", "1", "1"},
    {"Settings", "Water", "cool waters.bmp", "1", ""},
    {"Settings", "WaterType", "1", "1", "1"},
    {"Fish", "ShowFish1", "1", "", ""},
    {"Fish", "ShowFish2", "1", "", ""},
    {"Fish", "ShowFish3", "1", "", ""},
    {"Fish", "ShowFish4", "1", "", ""},
    {"Fish", "ShowFish5", "1", "", ""},
    {"Fish", "ShowFish6", "1", "", ""},
    {"Fish", "ShowFish7", "1", "", ""},
    {"Fish", "ShowFish8", "1", "", ""},
    {"Fish", "ShowFish9", "1", "", ""},
    {"Fish", "FishSpeed1", "1", "1", ""},
    {"Fish", "FishSpeed2", "1", "1", ""},
    {"Fish", "FishSpeed3", "1", "1", ""},
    {"Fish", "FishSpeed4", "1", "1", ""},
    {"Fish", "FishSpeed5", "1", "1", ""},
    {"Fish", "FishSpeed6", "1", "1", ""},
    {"Fish", "FishSpeed7", "1", "1", ""},
    {"Fish", "FishSpeed8", "2", "1", ""},
    {"Fish", "FishSpeed9", "2", "1", ""},
    {"Fish", "FishFreq1", "32", "1", ""},
    {"Fish", "FishFreq2", "25", "1", ""},
    {"Fish", "FishFreq3", "29", "1", ""},
    {"Fish", "FishFreq4", "33", "1", ""},
    {"Fish", "FishFreq5", "34", "1", ""},
    {"Fish", "FishFreq6", "26", "1", ""},
    {"Fish", "FishFreq7", "44", "1", ""},
    {"Fish", "FishFreq8", "25", "1", ""},
    {"Fish", "FishFreq9", "25", "1", ""},
    {"Fish", "ShowDolphin", "1", "", ""},
    {"Fish", "ShowShark", "1", "", ""},
    {"Fish", "ShowTurtle", "1", "", ""},
    {"Fish", "Dolphin", "1", "1", ""},
    {"Fish", "Shark", "1", "1", ""},
    {"Fish", "Turtle", "1", "1", ""},
    {"Fish", "FreqDolphin", "27", "1", ""},
    {"Fish", "FreqShark", "25", "1", ""},
    {"Fish", "FreqTurtle", "33", "1", ""},
    {"Scenery", "BGRocksLeft", "1", "1", "1"},
    {"Scenery", "BGRocksCenter", "1", "1", "1"},
    {"Scenery", "BGRocksRight", "1", "1", "1"},
    {"Scenery", "Cliff01", "0", "1", "1"},
    {"Scenery", "Cliff02", "1", "1", "1"},
    {"Scenery", "Cliff03", "0", "1", "1"},
    {"Scenery", "Cliff04", "1", "1", "1"},
    {"Scenery", "Cliff05", "0", "1", "1"},
    {"Scenery", "ColorFish", "1", "", "1"},
    {"Scenery", "OBottom1", "True", "", ""},
    {"Scenery", "OBottom2", "False", "", ""},
    {"Scenery", "OBottom3", "False", "", ""},
    {"Scenery", "OBottom4", "False", "", ""},
    {"Scenery", "OBottom5", "False", "", ""},
    {"Scenery", "OBottom6", "False", "", ""},
    {"Artifacts", "TuneScrSvr", "False", "", kNotRead},
    {"Artifacts", "RunMonitor", "False", "", kNotRead},
    {"Artifacts", "PwrMsg", "False", "", kNotRead},
    {"Artifacts", "Anchor", "1", "1", "1"},
    {"Artifacts", "Liberty", "1", "1", "1"},
    {"Artifacts", "Castle", "0", "1", "1"},
    {"Artifacts", "LightHouse", "0", "1", "1"},
    {"Artifacts", "City", "0", "1", "1"},
    {"Artifacts", "LightHouse2", "0", "1", "1"},
    {"Artifacts", "Columns", "0", "1", "1"},
    {"Artifacts", "Pyramid", "1", "1", "1"},
    {"Artifacts", "Horse", "0", "1", "1"},
    {"Artifacts", "Rome", "0", "1", "1"},
    {"Artifacts", "Statue", "1", "1", "1"},
    {"Artifacts", "Statue2", "0", "1", "1"},
    {"Artifacts", "Totem", "1", "1", "1"},
    {"Artifacts", "Treasure", "1", "1", "1"},
    {"Positions", "AnchorX", "87", "1", kNotRead},
    {"Positions", "AnchorY", "381", "1", kNotRead},
    {"Positions", "Bottom1X", "68", "1", kNotRead},
    {"Positions", "Bottom1Y", "467", "1", kNotRead},
    {"Positions", "Bottom2X", "0", "1", kNotRead},
    {"Positions", "Bottom2Y", "274", "1", kNotRead},
    {"Positions", "Bottom3X", "213", "1", kNotRead},
    {"Positions", "Bottom3Y", "428", "1", kNotRead},
    {"Positions", "Bottom4X", "37", "1", kNotRead},
    {"Positions", "Bottom4Y", "365", "1", kNotRead},
    {"Positions", "Bottom5X", "-49", "1", kNotRead},
    {"Positions", "Bottom5Y", "398", "1", kNotRead},
    {"Positions", "Bottom6X", "157", "1", kNotRead},
    {"Positions", "Bottom6Y", "504", "1", kNotRead},
    {"Positions", "CastleX", "240", "1", kNotRead},
    {"Positions", "CastleY", "266", "1", kNotRead},
    {"Positions", "CityX", "127", "1", kNotRead},
    {"Positions", "CityY", "162", "1", kNotRead},
    {"Positions", "DarkCliff1X", "-89", "1", kNotRead},
    {"Positions", "DarkCliff1Y", "127", "1", kNotRead},
    {"Positions", "DarkCliff2X", "116", "1", kNotRead},
    {"Positions", "DarkCliff2Y", "252", "1", kNotRead},
    {"Positions", "DarkCliff3X", "586", "1", kNotRead},
    {"Positions", "DarkCliff3Y", "76", "1", kNotRead},
    {"Positions", "WallX", "96", "1", kNotRead},
    {"Positions", "WallY", "309", "1", kNotRead},
    {"Positions2", "ColumnsX", "582", "1", kNotRead},
    {"Positions2", "ColumnsY", "253", "1", kNotRead},
    {"Positions2", "Coral1X", "188", "1", kNotRead},
    {"Positions2", "Coral1Y", "429", "1", kNotRead},
    {"Positions2", "Coral2X", "488", "1", kNotRead},
    {"Positions2", "Coral2Y", "511", "1", kNotRead},
    {"Positions2", "Coral3X", "568", "1", kNotRead},
    {"Positions2", "Coral3Y", "523", "1", kNotRead},
    {"Positions2", "Coral4X", "98", "1", kNotRead},
    {"Positions2", "Coral4Y", "446", "1", kNotRead},
    {"Positions2", "HorseX", "439", "1", kNotRead},
    {"Positions2", "HorseY", "90", "1", kNotRead},
    {"Positions2", "LibertyX", "42", "1", kNotRead},
    {"Positions2", "LibertyY", "86", "1", kNotRead},
    {"Positions2", "Lighthouse2X", "528", "1", kNotRead},
    {"Positions2", "Lighthouse2Y", "243", "1", kNotRead},
    {"Positions2", "LighthouseX", "5", "1", kNotRead},
    {"Positions2", "LighthouseY", "277", "1", kNotRead},
    {"Positions2", "PyramidX", "357", "1", kNotRead},
    {"Positions2", "PyramidY", "208", "1", kNotRead},
    {"Positions2", "RomeX", "516", "1", kNotRead},
    {"Positions2", "RomeY", "194", "1", kNotRead},
    {"Positions2", "Statue1X", "366", "1", kNotRead},
    {"Positions2", "Statue1Y", "187", "1", kNotRead},
    {"Positions2", "Statue2X", "665", "1", kNotRead},
    {"Positions2", "Statue2Y", "78", "1", kNotRead},
    {"Positions2", "TotemX", "703", "1", kNotRead},
    {"Positions2", "TotemY", "480", "1", kNotRead},
    {"Positions2", "TreasureX", "534", "1", kNotRead},
    {"Positions2", "TreasureY", "403", "1", kNotRead},
    {"Positions3", "Cliff1X", "1", "1", kNotRead},
    {"Positions3", "Cliff1Y", "251", "1", kNotRead},
    {"Positions3", "Cliff2X", "634", "1", kNotRead},
    {"Positions3", "Cliff2Y", "263", "1", kNotRead},
    {"Positions3", "Cliff3X", "660", "1", kNotRead},
    {"Positions3", "Cliff3Y", "254", "1", kNotRead},
    {"Positions3", "Cliff4X", "-92", "1", kNotRead},
    {"Positions3", "Cliff4Y", "294", "1", kNotRead},
    {"Positions3", "Cliff5X", "-35", "1", kNotRead},
    {"Positions3", "Cliff5Y", "335", "1", kNotRead},
    {"Positions3", "Coral5X", "375", "1", kNotRead},
    {"Positions3", "Coral5Y", "464", "1", kNotRead},
    {"Positions3", "Coral6X", "159", "1", kNotRead},
    {"Positions3", "Coral6Y", "524", "1", kNotRead},
    {"Positions3", "Coral7X", "-10", "1", kNotRead},
    {"Positions3", "Coral7Y", "454", "1", kNotRead},
    {"Positions3", "Coral8X", "538", "1", kNotRead},
    {"Positions3", "Coral8Y", "282", "1", kNotRead},
    {"Positions3", "Coral9X", "649", "1", kNotRead},
    {"Positions3", "Coral9Y", "449", "1", kNotRead},
    {"Positions3", "Coral10X", "346", "1", kNotRead},
    {"Positions3", "Coral10Y", "416", "1", kNotRead},
    {"Positions3", "Coral11X", "-65", "1", kNotRead},
    {"Positions3", "Coral11Y", "481", "1", kNotRead},
    {"Positions3", "Coral12X", "22", "1", kNotRead},
    {"Positions3", "Coral12Y", "510", "1", kNotRead},
    {"Positions3", "Coral13X", "566", "1", kNotRead},
    {"Positions3", "Coral13Y", "476", "1", kNotRead},
    {"Positions3", "Coral14X", "191", "1", kNotRead},
    {"Positions3", "Coral14Y", "516", "1", kNotRead},
    {"Corals", "Plant1", "0", "1", "1"},
    {"Corals", "Plant2", "0", "1", "1"},
    {"Corals", "Plant3", "0", "1", "1"},
    {"Corals", "Plant4", "0", "1", "1"},
    {"Corals", "Plant5", "0", "1", "1"},
    {"Corals", "Plant6", "1", "1", "1"},
    {"Corals", "Plant7", "0", "1", "1"},
    {"Corals", "Plant8", "0", "1", "1"},
    {"Corals", "Plant9", "0", "1", "1"},
    {"Corals", "Plant10", "0", "1", "1"},
    {"Corals", "Plant11", "0", "1", "1"},
    {"Corals", "Plant12", "1", "1", "1"},
    {"Corals", "Plant13", "1", "1", "1"},
    {"Corals", "Plant14", "0", "1", "1"},
};

// Null and text compare as different; two nulls are equal.
bool sameDefault(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) return a == b;
    return std::string_view(a) == b;
}

std::string printable(const char* value) {
    return value == nullptr ? "<not read>" : '"' + std::string(value) + '"';
}

TEST(Catalogue, EveryKeyHasItsDocumentedSectionFactoryTextAndReadDefaults) {
    ASSERT_EQ(std::size(kDocumentedKeys), 195u);
    EXPECT_EQ(allKeys().size(), std::size(kDocumentedKeys)) << "keys the documentation lacks";

    MemorySettingsStore store;
    FakeSystemLayer system;
    factoryReset(store, system);
    for (const DocumentedKey& documented : kDocumentedKeys) {
        const std::string name = std::string(documented.section) + "/" + documented.key;
        const SettingKey* key = findKey(documented.section, documented.key);
        ASSERT_NE(key, nullptr) << name << " is missing from the catalogue";
        EXPECT_STREQ(key->section, documented.section) << name;
        EXPECT_STREQ(key->name, documented.key) << name << ": the spelling the reset writes";
        EXPECT_STREQ(key->factory, documented.factory) << name;
        EXPECT_TRUE(sameDefault(key->saverDefault, documented.saverDefault))
            << name << ": the saver reads " << printable(key->saverDefault) << ", documented "
            << printable(documented.saverDefault);
        EXPECT_TRUE(sameDefault(key->dialogDefault, documented.dialogDefault))
            << name << ": the dialog reads " << printable(key->dialogDefault) << ", documented "
            << printable(documented.dialogDefault);
        EXPECT_EQ(store.read(documented.section, documented.key, "<missing>"),
                  QString::fromUtf8(documented.factory))
            << name << " after the factory reset";
    }
}

TEST(Catalogue, ResetWritesEveryKeyInSectionOrderAndSaysSo) {
    MemorySettingsStore store;
    FakeSystemLayer system;
    factoryReset(store, system);

    const QStringList sections = {"Artifacts", "Corals",     "Fish",    "Positions",
                                  "Positions2", "Positions3", "Scenery", "Settings"};
    qsizetype lastSection = 0;
    for (const SettingWrite& write : store.writes()) {
        const qsizetype index = sections.indexOf(write.section);
        ASSERT_GE(index, lastSection) << "section order broken at " << qPrintable(write.key);
        lastSection = index;
    }
    EXPECT_EQ(store.writes().size(), allKeys().size());

    ASSERT_EQ(system.messages().size(), 1u);
    EXPECT_EQ(system.messages()[0].text, "The factory settings have been restored");
    EXPECT_EQ(system.messages()[0].title, "Reset to factory settings");
    EXPECT_EQ(system.messages()[0].icon, MessageIcon::Information);
}

TEST(Catalogue, KeysAreUniqueWithoutRegardToCase) {
    QSet<QString> seen;
    for (const SettingKey* key : allKeys()) {
        const QString id = QString("%1/%2").arg(key->section, key->name).toLower();
        EXPECT_FALSE(seen.contains(id)) << qPrintable(id);
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 195);
}

TEST(Catalogue, CoralPositionsSplitAtFour) {
    EXPECT_STREQ(findObjectPosition("Coral4")->x.section, "Positions2");
    EXPECT_STREQ(findObjectPosition("coral5")->x.section, "Positions3");
    EXPECT_EQ(findKey("positions2", "coral4x"), &findObjectPosition("Coral4")->x);
    EXPECT_EQ(findKey("Positions2", "Coral5X"), nullptr);
    ASSERT_EQ(objectPositions().size(), 43u);
    EXPECT_STREQ(objectPositions()[0].object, "Wall");
    EXPECT_STREQ(objectPositions()[42].object, "Cliff5");
}

TEST(Catalogue, FactoryValuesFitTheirForm) {
    for (const SettingKey* key : allKeys()) {
        const QString factory = QString::fromUtf8(key->factory);
        switch (key->form) {
        case ValueForm::Integer:
            EXPECT_TRUE(textToInt16(factory).has_value()) << key->name;
            break;
        case ValueForm::CheckBox:
            EXPECT_TRUE(factory == "0" || factory == "1") << key->name;
            break;
        case ValueForm::TrueFalse:
            EXPECT_TRUE(factory == "True" || factory == "False") << key->name;
            break;
        case ValueForm::Text:
            break;
        }
    }
}

TEST(SettingsReaders, MissingKeysTakeTheReadersDefaults) {
    MemorySettingsStore store;
    const Settings saver(store, Reader::Saver);
    const Settings dialog(store, Reader::Dialog);
    EXPECT_EQ(saver.text(key::PWEnabled), "1");
    EXPECT_EQ(saver.text(key::Water), "1");
    EXPECT_EQ(dialog.text(key::Water), "");
    EXPECT_EQ(saver.text(key::Music), "");
    // The saver never reads the font name; a reader without a default gets the empty text.
    EXPECT_EQ(saver.text(key::FontName), "");
    // The built-in password: one digit, the same for both readers.
    EXPECT_EQ(saver.text(key::Password).size(), 1);
    EXPECT_TRUE(saver.text(key::Password)[0].isDigit());
    EXPECT_EQ(saver.text(key::Password), dialog.text(key::Password));
    // Empty read default on a numeric key: the factory default.
    EXPECT_EQ(dialog.integer(key::FishFreq[6]), 44);
    EXPECT_EQ(saver.integer(key::MusicOff), 0);
    EXPECT_FALSE(saver.flag(key::OBottom[1]));
    EXPECT_TRUE(saver.flag(key::OBottom[0]));
}

TEST(SettingsReaders, UnusableTextsTakeTheFactoryDefaultAndOutOfRangeNumbersStay) {
    MemorySettingsStore store;
    Settings settings(store, Reader::Saver);
    const struct {
        const SettingKey& key;
        const char* stored;
        int expected;
    } cases[] = {
        {key::FontSizeMsg, "large", 14}, {key::FontSizeMsg, " 20 ", 20},
        {key::Volume, "-99999", -769},   {key::Volume, "40000", -769},
        {key::Bottom, "9", 9},           {key::CalPos, "7", 7},
        {key::TunePC, "2.5", 2},         {key::TunePC, "3.5", 4},
        {key::TunePC, "-0.5", 0},        {key::TunePC, "", 6},
        {key::TunePC, "0x10", 6},        {key::TunePC, "1e3", 6},
    };
    for (const auto& c : cases) {
        settings.write(c.key, c.stored);
        EXPECT_EQ(settings.integer(c.key), c.expected) << c.key.name << " = '" << c.stored << "'";
    }
}

TEST(Conversions, TruthValues) {
    const struct {
        const char* text;
        std::optional<bool> expected;
    } cases[] = {
        {"True", true}, {"false", false}, {"TRUE", true}, {"1", true},       {"0", false},
        {"-1", true},   {" 2 ", true},    {"", {}},       {"yes", {}},       {"1x", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(textToBool(c.text), c.expected) << c.text;
}

}  // namespace
}  // namespace bw

#include "settings/ReadOnlySettingsStore.h"

namespace bw {
namespace {

TEST(ReadOnlyStore, ReadsTheUsersValuesElseFactoryAndWritesNothing) {
    MemorySettingsStore user;
    user.write("Settings", "Water", "night.bmp");
    user.write("Artifacts", "TuneScrSvr", "False");
    user.clearWrites();
    ReadOnlySettingsStore store(&user);
    Settings settings(store, Reader::Saver);
    EXPECT_EQ(settings.text(key::Water), "night.bmp");
    EXPECT_EQ(settings.text(key::PWEnabled), "0") << "a missing key is the factory's, not the saver's";
    EXPECT_TRUE(settings.flag(key::TuneScrSvr)) << "first-run notices belong to the full saver";
    settings.write(key::Water, "other.bmp");
    EXPECT_TRUE(user.writes().empty());
    EXPECT_EQ(settings.text(key::Water), "night.bmp");

    ReadOnlySettingsStore none(nullptr);
    EXPECT_EQ(Settings(none, Reader::Saver).text(key::Water), "cool waters.bmp");
}

}  // namespace
}  // namespace bw
