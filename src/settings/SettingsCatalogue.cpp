#include "settings/SettingsCatalogue.h"

#include <QByteArray>
#include <vector>

namespace bw {

namespace {
constexpr ValueForm kInt = ValueForm::Integer;
constexpr ValueForm kCheck = ValueForm::CheckBox;
constexpr ValueForm kBool = ValueForm::TrueFalse;
constexpr ValueForm kText = ValueForm::Text;
constexpr const char* kNotRead = nullptr;
// The built-in password that applies while none is stored.
constexpr const char* kDefaultPassword = "7";
}  // namespace

namespace key {


// Settings
const SettingKey Bottom{"Settings", "Bottom", kInt, "4", "1", "1"};
const SettingKey Bubbles{"Settings", "Bubbles", kCheck, "1", "1", "1"};
const SettingKey Calendar{"Settings", "Calendar", kCheck, "0", "1", "1"};
const SettingKey CalPos{"Settings", "CalPos", kInt, "0", "1", "1"};
const SettingKey CheckFont{"Settings", "CheckFont", kCheck, "0", "1", "1"};
// On a screen wider than 4:3 the glass reaches the screen's edges; off, the 4:3 picture
// stands between black bars.
const SettingKey FillWide{"Settings", "FillWide", kCheck, "1", "1", "1"};
const SettingKey FontName{"Settings", "FontName", kText, "Arial", kNotRead, "1"};
const SettingKey FontSizeMsg{"Settings", "FontSizeMsg", kText, "14", "1", "1"};
const SettingKey HardDsk{"Settings", "HardDsk", kText, "Never", "1", "1"};
const SettingKey Hibernate{"Settings", "Hibernate", kText, "Never", "1", "1"};
const SettingKey Message{"Settings", "Message", kText, "Place Message Here", "1", "1"};
const SettingKey Monitor{"Settings", "Monitor", kText, "Never", "1", "1"};
const SettingKey MouseSens{"Settings", "MouseSens", kInt, "4", "1", "1"};
const SettingKey Music{"Settings", "Music", kCheck, "0", "", ""};
const SettingKey MusicOff{"Settings", "MusicOff", kText, "0", "", ""};
const SettingKey Password{"Settings", "Password", kText, "", kDefaultPassword, kDefaultPassword};
const SettingKey Power{"Settings", "Power", kCheck, "0", "1", "1"};
const SettingKey PWEnabled{"Settings", "PWEnabled", kCheck, "0", "1", "1"};
const SettingKey SelectedFont{"Settings", "SelectedFont", kInt, "0", kNotRead, "1"};
const SettingKey ShowMessage{"Settings", "ShowMessage", kCheck, "0", "1", "1"};
const SettingKey Sound{"Settings", "Sound", kCheck, "1", "1", "1"};
const SettingKey SoundOff{"Settings", "SoundOff", kText, "0", "1", "1"};
const SettingKey Standby{"Settings", "Standby", kText, "Never", "1", "1"};
const SettingKey TunePC{"Settings", "TunePC", kInt, "6", "1", "1"};
const SettingKey Volume{"Settings", "Volume", kInt, "-769", "1", "1"};
const SettingKey Water{"Settings", "Water", kText, "cool waters.bmp", "1", ""};
const SettingKey WaterType{"Settings", "WaterType", kInt, "1", "1", "1"};

// Fish
const std::array<SettingKey, 9> ShowFish{{
    {"Fish", "ShowFish1", kCheck, "1", "", ""},
    {"Fish", "ShowFish2", kCheck, "1", "", ""},
    {"Fish", "ShowFish3", kCheck, "1", "", ""},
    {"Fish", "ShowFish4", kCheck, "1", "", ""},
    {"Fish", "ShowFish5", kCheck, "1", "", ""},
    {"Fish", "ShowFish6", kCheck, "1", "", ""},
    {"Fish", "ShowFish7", kCheck, "1", "", ""},
    {"Fish", "ShowFish8", kCheck, "1", "", ""},
    {"Fish", "ShowFish9", kCheck, "1", "", ""},
}};
const std::array<SettingKey, 9> FishSpeed{{
    {"Fish", "FishSpeed1", kInt, "1", "1", ""},
    {"Fish", "FishSpeed2", kInt, "1", "1", ""},
    {"Fish", "FishSpeed3", kInt, "1", "1", ""},
    {"Fish", "FishSpeed4", kInt, "1", "1", ""},
    {"Fish", "FishSpeed5", kInt, "1", "1", ""},
    {"Fish", "FishSpeed6", kInt, "1", "1", ""},
    {"Fish", "FishSpeed7", kInt, "1", "1", ""},
    {"Fish", "FishSpeed8", kInt, "2", "1", ""},
    {"Fish", "FishSpeed9", kInt, "2", "1", ""},
}};
const std::array<SettingKey, 9> FishFreq{{
    {"Fish", "FishFreq1", kInt, "32", "1", ""},
    {"Fish", "FishFreq2", kInt, "25", "1", ""},
    {"Fish", "FishFreq3", kInt, "29", "1", ""},
    {"Fish", "FishFreq4", kInt, "33", "1", ""},
    {"Fish", "FishFreq5", kInt, "34", "1", ""},
    {"Fish", "FishFreq6", kInt, "26", "1", ""},
    {"Fish", "FishFreq7", kInt, "44", "1", ""},
    {"Fish", "FishFreq8", kInt, "25", "1", ""},
    {"Fish", "FishFreq9", kInt, "25", "1", ""},
}};
const SettingKey ShowDolphin{"Fish", "ShowDolphin", kCheck, "1", "", ""};
const SettingKey ShowShark{"Fish", "ShowShark", kCheck, "1", "", ""};
const SettingKey ShowTurtle{"Fish", "ShowTurtle", kCheck, "1", "", ""};
const SettingKey Dolphin{"Fish", "Dolphin", kInt, "1", "1", ""};
const SettingKey Shark{"Fish", "Shark", kInt, "1", "1", ""};
const SettingKey Turtle{"Fish", "Turtle", kInt, "1", "1", ""};
const SettingKey FreqDolphin{"Fish", "FreqDolphin", kInt, "27", "1", ""};
const SettingKey FreqShark{"Fish", "FreqShark", kInt, "25", "1", ""};
const SettingKey FreqTurtle{"Fish", "FreqTurtle", kInt, "33", "1", ""};

// Scenery
const SettingKey BGRocksLeft{"Scenery", "BGRocksLeft", kCheck, "1", "1", "1"};
const SettingKey BGRocksCenter{"Scenery", "BGRocksCenter", kCheck, "1", "1", "1"};
const SettingKey BGRocksRight{"Scenery", "BGRocksRight", kCheck, "1", "1", "1"};
const std::array<SettingKey, 5> Cliff{{
    {"Scenery", "Cliff01", kCheck, "0", "1", "1"},
    {"Scenery", "Cliff02", kCheck, "1", "1", "1"},
    {"Scenery", "Cliff03", kCheck, "0", "1", "1"},
    {"Scenery", "Cliff04", kCheck, "1", "1", "1"},
    {"Scenery", "Cliff05", kCheck, "0", "1", "1"},
}};
const SettingKey ColorFish{"Scenery", "ColorFish", kCheck, "1", "", "1"};
const std::array<SettingKey, 6> OBottom{{
    {"Scenery", "OBottom1", kBool, "True", "", ""},
    {"Scenery", "OBottom2", kBool, "False", "", ""},
    {"Scenery", "OBottom3", kBool, "False", "", ""},
    {"Scenery", "OBottom4", kBool, "False", "", ""},
    {"Scenery", "OBottom5", kBool, "False", "", ""},
    {"Scenery", "OBottom6", kBool, "False", "", ""},
}};

// Artifacts
const SettingKey TuneScrSvr{"Artifacts", "TuneScrSvr", kBool, "False", "", kNotRead};
const SettingKey RunMonitor{"Artifacts", "RunMonitor", kBool, "False", "", kNotRead};
const SettingKey PwrMsg{"Artifacts", "PwrMsg", kBool, "False", "", kNotRead};
const SettingKey Anchor{"Artifacts", "Anchor", kCheck, "1", "1", "1"};
const SettingKey Castle{"Artifacts", "Castle", kCheck, "0", "1", "1"};
const SettingKey City{"Artifacts", "City", kCheck, "0", "1", "1"};
const SettingKey Columns{"Artifacts", "Columns", kCheck, "0", "1", "1"};
const SettingKey Horse{"Artifacts", "Horse", kCheck, "0", "1", "1"};
const SettingKey Statue{"Artifacts", "Statue", kCheck, "1", "1", "1"};
const SettingKey Totem{"Artifacts", "Totem", kCheck, "1", "1", "1"};
const SettingKey Liberty{"Artifacts", "Liberty", kCheck, "1", "1", "1"};
const SettingKey LightHouse{"Artifacts", "LightHouse", kCheck, "0", "1", "1"};
const SettingKey LightHouse2{"Artifacts", "LightHouse2", kCheck, "0", "1", "1"};
const SettingKey Pyramid{"Artifacts", "Pyramid", kCheck, "1", "1", "1"};
const SettingKey Rome{"Artifacts", "Rome", kCheck, "0", "1", "1"};
const SettingKey Statue2{"Artifacts", "Statue2", kCheck, "0", "1", "1"};
const SettingKey Treasure{"Artifacts", "Treasure", kCheck, "1", "1", "1"};

// Corals
const std::array<SettingKey, 14> Plant{{
    {"Corals", "Plant1", kCheck, "0", "1", "1"},
    {"Corals", "Plant2", kCheck, "0", "1", "1"},
    {"Corals", "Plant3", kCheck, "0", "1", "1"},
    {"Corals", "Plant4", kCheck, "0", "1", "1"},
    {"Corals", "Plant5", kCheck, "0", "1", "1"},
    {"Corals", "Plant6", kCheck, "1", "1", "1"},
    {"Corals", "Plant7", kCheck, "0", "1", "1"},
    {"Corals", "Plant8", kCheck, "0", "1", "1"},
    {"Corals", "Plant9", kCheck, "0", "1", "1"},
    {"Corals", "Plant10", kCheck, "0", "1", "1"},
    {"Corals", "Plant11", kCheck, "0", "1", "1"},
    {"Corals", "Plant12", kCheck, "1", "1", "1"},
    {"Corals", "Plant13", kCheck, "1", "1", "1"},
    {"Corals", "Plant14", kCheck, "0", "1", "1"},
}};

}  // namespace key

namespace {

// Stored positions, section by section as the factory reset writes them.
const SettingKey kPositions[] = {
    {"Positions", "AnchorX", kInt, "87", "1", kNotRead},
    {"Positions", "AnchorY", kInt, "381", "1", kNotRead},
    {"Positions", "Bottom1X", kInt, "68", "1", kNotRead},
    {"Positions", "Bottom1Y", kInt, "467", "1", kNotRead},
    {"Positions", "Bottom2X", kInt, "0", "1", kNotRead},
    {"Positions", "Bottom2Y", kInt, "274", "1", kNotRead},
    {"Positions", "Bottom3X", kInt, "213", "1", kNotRead},
    {"Positions", "Bottom3Y", kInt, "428", "1", kNotRead},
    {"Positions", "Bottom4X", kInt, "37", "1", kNotRead},
    {"Positions", "Bottom4Y", kInt, "365", "1", kNotRead},
    {"Positions", "Bottom5X", kInt, "-49", "1", kNotRead},
    {"Positions", "Bottom5Y", kInt, "398", "1", kNotRead},
    {"Positions", "Bottom6X", kInt, "157", "1", kNotRead},
    {"Positions", "Bottom6Y", kInt, "504", "1", kNotRead},
    {"Positions", "CastleX", kInt, "240", "1", kNotRead},
    {"Positions", "CastleY", kInt, "266", "1", kNotRead},
    {"Positions", "CityX", kInt, "127", "1", kNotRead},
    {"Positions", "CityY", kInt, "162", "1", kNotRead},
    {"Positions", "DarkCliff1X", kInt, "-89", "1", kNotRead},
    {"Positions", "DarkCliff1Y", kInt, "127", "1", kNotRead},
    {"Positions", "DarkCliff2X", kInt, "116", "1", kNotRead},
    {"Positions", "DarkCliff2Y", kInt, "252", "1", kNotRead},
    {"Positions", "DarkCliff3X", kInt, "586", "1", kNotRead},
    {"Positions", "DarkCliff3Y", kInt, "76", "1", kNotRead},
    {"Positions", "WallX", kInt, "96", "1", kNotRead},
    {"Positions", "WallY", kInt, "309", "1", kNotRead},
};
const SettingKey kPositions2[] = {
    {"Positions2", "ColumnsX", kInt, "582", "1", kNotRead},
    {"Positions2", "ColumnsY", kInt, "253", "1", kNotRead},
    {"Positions2", "Coral1X", kInt, "188", "1", kNotRead},
    {"Positions2", "Coral1Y", kInt, "429", "1", kNotRead},
    {"Positions2", "Coral2X", kInt, "488", "1", kNotRead},
    {"Positions2", "Coral2Y", kInt, "511", "1", kNotRead},
    {"Positions2", "Coral3X", kInt, "568", "1", kNotRead},
    {"Positions2", "Coral3Y", kInt, "523", "1", kNotRead},
    {"Positions2", "Coral4X", kInt, "98", "1", kNotRead},
    {"Positions2", "Coral4Y", kInt, "446", "1", kNotRead},
    {"Positions2", "HorseX", kInt, "439", "1", kNotRead},
    {"Positions2", "HorseY", kInt, "90", "1", kNotRead},
    {"Positions2", "LibertyX", kInt, "42", "1", kNotRead},
    {"Positions2", "LibertyY", kInt, "86", "1", kNotRead},
    {"Positions2", "Lighthouse2X", kInt, "528", "1", kNotRead},
    {"Positions2", "Lighthouse2Y", kInt, "243", "1", kNotRead},
    {"Positions2", "LighthouseX", kInt, "5", "1", kNotRead},
    {"Positions2", "LighthouseY", kInt, "277", "1", kNotRead},
    {"Positions2", "PyramidX", kInt, "357", "1", kNotRead},
    {"Positions2", "PyramidY", kInt, "208", "1", kNotRead},
    {"Positions2", "RomeX", kInt, "516", "1", kNotRead},
    {"Positions2", "RomeY", kInt, "194", "1", kNotRead},
    {"Positions2", "Statue1X", kInt, "366", "1", kNotRead},
    {"Positions2", "Statue1Y", kInt, "187", "1", kNotRead},
    {"Positions2", "Statue2X", kInt, "665", "1", kNotRead},
    {"Positions2", "Statue2Y", kInt, "78", "1", kNotRead},
    {"Positions2", "TotemX", kInt, "703", "1", kNotRead},
    {"Positions2", "TotemY", kInt, "480", "1", kNotRead},
    {"Positions2", "TreasureX", kInt, "534", "1", kNotRead},
    {"Positions2", "TreasureY", kInt, "403", "1", kNotRead},
};
const SettingKey kPositions3[] = {
    {"Positions3", "Cliff1X", kInt, "1", "1", kNotRead},
    {"Positions3", "Cliff1Y", kInt, "251", "1", kNotRead},
    {"Positions3", "Cliff2X", kInt, "634", "1", kNotRead},
    {"Positions3", "Cliff2Y", kInt, "263", "1", kNotRead},
    {"Positions3", "Cliff3X", kInt, "660", "1", kNotRead},
    {"Positions3", "Cliff3Y", kInt, "254", "1", kNotRead},
    {"Positions3", "Cliff4X", kInt, "-92", "1", kNotRead},
    {"Positions3", "Cliff4Y", kInt, "294", "1", kNotRead},
    {"Positions3", "Cliff5X", kInt, "-35", "1", kNotRead},
    {"Positions3", "Cliff5Y", kInt, "335", "1", kNotRead},
    {"Positions3", "Coral5X", kInt, "375", "1", kNotRead},
    {"Positions3", "Coral5Y", kInt, "464", "1", kNotRead},
    {"Positions3", "Coral6X", kInt, "159", "1", kNotRead},
    {"Positions3", "Coral6Y", kInt, "524", "1", kNotRead},
    {"Positions3", "Coral7X", kInt, "-10", "1", kNotRead},
    {"Positions3", "Coral7Y", kInt, "454", "1", kNotRead},
    {"Positions3", "Coral8X", kInt, "538", "1", kNotRead},
    {"Positions3", "Coral8Y", kInt, "282", "1", kNotRead},
    {"Positions3", "Coral9X", kInt, "649", "1", kNotRead},
    {"Positions3", "Coral9Y", kInt, "449", "1", kNotRead},
    {"Positions3", "Coral10X", kInt, "346", "1", kNotRead},
    {"Positions3", "Coral10Y", kInt, "416", "1", kNotRead},
    {"Positions3", "Coral11X", kInt, "-65", "1", kNotRead},
    {"Positions3", "Coral11Y", kInt, "481", "1", kNotRead},
    {"Positions3", "Coral12X", kInt, "22", "1", kNotRead},
    {"Positions3", "Coral12Y", kInt, "510", "1", kNotRead},
    {"Positions3", "Coral13X", kInt, "566", "1", kNotRead},
    {"Positions3", "Coral13Y", kInt, "476", "1", kNotRead},
    {"Positions3", "Coral14X", kInt, "191", "1", kNotRead},
    {"Positions3", "Coral14Y", kInt, "516", "1", kNotRead},
};

const ObjectPosition kObjectPositions[] = {
    {"Wall", kPositions[24], kPositions[25]},
    {"Bottom1", kPositions[2], kPositions[3]},
    {"Bottom2", kPositions[4], kPositions[5]},
    {"Bottom3", kPositions[6], kPositions[7]},
    {"Bottom4", kPositions[8], kPositions[9]},
    {"Bottom5", kPositions[10], kPositions[11]},
    {"Bottom6", kPositions[12], kPositions[13]},
    {"DarkCliff1", kPositions[18], kPositions[19]},
    {"DarkCliff2", kPositions[20], kPositions[21]},
    {"DarkCliff3", kPositions[22], kPositions[23]},
    {"Castle", kPositions[14], kPositions[15]},
    {"Anchor", kPositions[0], kPositions[1]},
    {"City", kPositions[16], kPositions[17]},
    {"Horse", kPositions2[10], kPositions2[11]},
    {"Liberty", kPositions2[12], kPositions2[13]},
    {"Lighthouse", kPositions2[16], kPositions2[17]},
    {"Lighthouse2", kPositions2[14], kPositions2[15]},
    {"Pyramid", kPositions2[18], kPositions2[19]},
    {"Rome", kPositions2[20], kPositions2[21]},
    {"Statue1", kPositions2[22], kPositions2[23]},
    {"Totem", kPositions2[26], kPositions2[27]},
    {"Statue2", kPositions2[24], kPositions2[25]},
    {"Treasure", kPositions2[28], kPositions2[29]},
    {"Columns", kPositions2[0], kPositions2[1]},
    {"Coral1", kPositions2[2], kPositions2[3]},
    {"Coral2", kPositions2[4], kPositions2[5]},
    {"Coral3", kPositions2[6], kPositions2[7]},
    {"Coral4", kPositions2[8], kPositions2[9]},
    {"Coral5", kPositions3[10], kPositions3[11]},
    {"Coral6", kPositions3[12], kPositions3[13]},
    {"Coral7", kPositions3[14], kPositions3[15]},
    {"Coral8", kPositions3[16], kPositions3[17]},
    {"Coral9", kPositions3[18], kPositions3[19]},
    {"Coral10", kPositions3[20], kPositions3[21]},
    {"Coral11", kPositions3[22], kPositions3[23]},
    {"Coral12", kPositions3[24], kPositions3[25]},
    {"Coral13", kPositions3[26], kPositions3[27]},
    {"Coral14", kPositions3[28], kPositions3[29]},
    {"Cliff1", kPositions3[0], kPositions3[1]},
    {"Cliff2", kPositions3[2], kPositions3[3]},
    {"Cliff3", kPositions3[4], kPositions3[5]},
    {"Cliff4", kPositions3[6], kPositions3[7]},
    {"Cliff5", kPositions3[8], kPositions3[9]},
};

template <std::size_t N>
void appendAll(std::vector<const SettingKey*>& keys, const std::array<SettingKey, N>& numbered) {
    for (const SettingKey& k : numbered) keys.push_back(&k);
}

template <std::size_t N>
void appendAll(std::vector<const SettingKey*>& keys, const SettingKey (&table)[N]) {
    for (const SettingKey& k : table) keys.push_back(&k);
}

std::vector<const SettingKey*> makeResetOrder() {
    using namespace key;
    std::vector<const SettingKey*> keys;
    for (const SettingKey* k : {&TuneScrSvr, &RunMonitor, &PwrMsg, &Anchor, &Castle, &City, &Columns,
                                &Horse, &Statue, &Totem, &Liberty, &LightHouse, &LightHouse2,
                                &Pyramid, &Rome, &Statue2, &Treasure})
        keys.push_back(k);
    appendAll(keys, Plant);
    appendAll(keys, ShowFish);
    appendAll(keys, FishSpeed);
    appendAll(keys, FishFreq);
    for (const SettingKey* k : {&ShowDolphin, &ShowShark, &ShowTurtle, &Dolphin, &Shark, &Turtle,
                                &FreqDolphin, &FreqShark, &FreqTurtle})
        keys.push_back(k);
    appendAll(keys, kPositions);
    appendAll(keys, kPositions2);
    appendAll(keys, kPositions3);
    for (const SettingKey* k : {&BGRocksLeft, &BGRocksCenter, &BGRocksRight})
        keys.push_back(k);
    appendAll(keys, Cliff);
    keys.push_back(&ColorFish);
    appendAll(keys, OBottom);
    for (const SettingKey* k :
         {&Bottom, &Bubbles, &Calendar, &CalPos, &CheckFont, &FillWide, &FontName, &FontSizeMsg,
          &HardDsk, &Hibernate, &Message, &Monitor, &MouseSens, &Music, &MusicOff, &Password,
          &Power, &PWEnabled, &SelectedFont, &ShowMessage, &Sound, &SoundOff, &Standby, &TunePC,
          &Volume, &Water, &WaterType})
        keys.push_back(k);
    return keys;
}

}  // namespace

std::span<const ObjectPosition> objectPositions() { return kObjectPositions; }

const ObjectPosition* findObjectPosition(const char* object) {
    for (const ObjectPosition& position : kObjectPositions) {
        if (qstricmp(position.object, object) == 0) return &position;
    }
    return nullptr;
}

std::span<const SettingKey* const> allKeys() {
    static const std::vector<const SettingKey*> keys = makeResetOrder();
    return keys;
}

const SettingKey* findKey(const char* section, const char* name) {
    for (const SettingKey* k : allKeys()) {
        if (qstricmp(k->section, section) == 0 && qstricmp(k->name, name) == 0) return k;
    }
    return nullptr;
}

}  // namespace bw
