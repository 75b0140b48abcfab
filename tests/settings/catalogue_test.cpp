#include "settings/Conversions.h"
#include "settings/Settings.h"
#include "settings/SettingsCatalogue.h"
#include "fakes/MemorySettingsStore.h"
#include "fakes/FakeSystemLayer.h"

#include <QSet>
#include <gtest/gtest.h>

namespace bw {
namespace {

TEST(Catalogue, ResetWritesEveryFactoryTextInSectionOrder) {
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

    const struct {
        const char* section;
        const char* key;
        const char* value;
    } expected[] = {
        {"Settings", "Message", "Place Message Here"}, {"Settings", "Password", ""},
        {"Settings", "Volume", "-769"},                {"Settings", "Water", "cool waters.bmp"},
        {"Settings", "Bottom", "4"},                   {"Settings", "PWEnabled", "0"},
        {"Settings", "Monitor", "Never"},              {"Scenery", "OBottom1", "True"},
        {"Scenery", "OBottom6", "False"},              {"Scenery", "Cliff02", "1"},
        {"Fish", "FishFreq7", "44"},                   {"Fish", "FishSpeed9", "2"},
        {"Fish", "FreqDolphin", "27"},                 {"Artifacts", "TuneScrSvr", "False"},
        {"Artifacts", "LightHouse2", "0"},             {"Corals", "Plant13", "1"},
        {"Corals", "Plant14", "0"},                    {"Positions", "Bottom5X", "-49"},
        {"Positions2", "Coral4X", "98"},               {"Positions3", "Coral5X", "375"},
        {"Positions3", "Cliff4X", "-92"},              {"Positions2", "LighthouseY", "277"},
    };
    for (const auto& e : expected) {
        EXPECT_EQ(store.read(e.section, e.key, "<missing>"), QString::fromUtf8(e.value))
            << e.section << "/" << e.key;
    }
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
    EXPECT_EQ(seen.size(), 194);
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
