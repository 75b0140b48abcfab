#pragma once

#include <array>
#include <span>

namespace bw {

// How a value is written in the store.
enum class ValueForm {
    Integer,   // plain decimal, 16-bit signed when read
    CheckBox,  // "1" or "0"
    TrueFalse, // "True" or "False"
    Text,      // as typed or as shown in a list ("10 Minutes", "Never", a file name)
};

// One option of the store. A null read default means that reader never reads the key.
struct SettingKey {
    const char* section;
    const char* name;  // the spelling the factory reset writes
    ValueForm form;
    const char* factory;
    const char* saverDefault;
    const char* dialogDefault;
};

// The stored top-left corner of one movable scene object.
struct ObjectPosition {
    const char* object;
    const SettingKey& x;
    const SettingKey& y;
};

// Every key of the program, named as in the store. Numbered keys are arrays indexed from 0
// (ShowFish[0] is "ShowFish1").
namespace key {
// Settings
extern const SettingKey Bottom, Bubbles, Calendar, CalPos, CheckFont, FillWide, FontName,
    FontSizeMsg, HardDsk, Hibernate, Message, Monitor, MouseSens, Music, MusicOff, Password, Power,
    PWEnabled, SelectedFont, ShowMessage, Sound, SoundOff, Standby, TunePC, Volume, Water,
    WaterType;
// Fish
extern const std::array<SettingKey, 9> ShowFish, FishSpeed, FishFreq;
extern const SettingKey ShowDolphin, ShowShark, ShowTurtle, Dolphin, Shark, Turtle, FreqDolphin,
    FreqShark, FreqTurtle;
// Scenery
extern const SettingKey BGRocksLeft, BGRocksCenter, BGRocksRight, ColorFish;
extern const std::array<SettingKey, 5> Cliff;
extern const std::array<SettingKey, 6> OBottom;
// Artifacts: the first-run message flags, then the artifact switches
extern const SettingKey TuneScrSvr, RunMonitor, PwrMsg;
extern const SettingKey Anchor, Castle, City, Columns, Horse, Statue, Totem, Liberty, LightHouse,
    LightHouse2, Pyramid, Rome, Statue2, Treasure;
// Corals
extern const std::array<SettingKey, 14> Plant;
}  // namespace key

// The stored positions of the 43 scenery objects, in the order of the scene's object table:
// Wall, Bottom1..6, DarkCliff1..3, Castle, Anchor, City, Horse, Liberty, Lighthouse,
// Lighthouse2, Pyramid, Rome, Statue1, Totem, Statue2, Treasure, Columns, Coral1..14, Cliff1..5.
std::span<const ObjectPosition> objectPositions();
// The position keys of one object by its name (case-insensitive); null when unknown.
const ObjectPosition* findObjectPosition(const char* object);

// Every key, in the order the factory reset writes them: section by section "Artifacts",
// "Corals", "Fish", "Positions", "Positions2", "Positions3", "Scenery", "Settings".
std::span<const SettingKey* const> allKeys();

// A key by section and name, without regard to letter case; null when there is none.
const SettingKey* findKey(const char* section, const char* name);

}  // namespace bw
