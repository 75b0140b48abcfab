#include "scene/SceneOptions.h"

#include "scene/SceneState.h"
#include "settings/Settings.h"

#include <QRegularExpression>

namespace bw {

namespace {

int16_t delayFor(int16_t speed, std::array<int16_t, 4> delays) {
    return speed >= 1 && speed <= 4 ? delays[speed - 1] : delays[0];
}

void readPosition(const Settings& settings, SceneObject& object, const ObjectPosition& keys) {
    object.X = settings.integer(keys.x);
    object.Y = settings.integer(keys.y);
}

}  // namespace

int16_t fishDelay(int16_t speed) { return delayFor(speed, {50, 40, 30, 20}); }
int16_t dolphinDelay(int16_t speed) { return delayFor(speed, {30, 25, 20, 15}); }
int16_t sharkDelay(int16_t speed) { return delayFor(speed, {80, 70, 60, 50}); }
int16_t turtleDelay(int16_t speed) { return delayFor(speed, {120, 110, 100, 90}); }

QString leadingNumberText(const QString& text) {
    static const QRegularExpression kLeadingNumber(
        QStringLiteral("^\\s*([-+]?(\\d+\\.?\\d*|\\.\\d+))"));
    const QRegularExpressionMatch match = kLeadingNumber.match(text);
    if (!match.hasMatch()) return QStringLiteral("0");
    const double value = match.captured(1).toDouble();
    return QString::number(value, 'g', 15);
}

void readSceneOptions(const Settings& settings, SceneState& scene) {
    const std::span<const ObjectPosition> positions = objectPositions();
    auto& objects = scene.objects;
    auto& creatures = scene.creatures;

    scene.ShowMessage = settings.integer(key::ShowMessage);
    scene.Message = settings.text(key::Message);
    scene.FontSizeMsg = settings.integer(key::FontSizeMsg);
    scene.Bubbles = settings.integer(key::Bubbles);
    scene.CalPos = settings.integer(key::CalPos);
    scene.Calendar = settings.integer(key::Calendar);
    scene.FillWide = settings.integer(key::FillWide);
    scene.Water = settings.text(key::Water);
    scene.WaterType = settings.text(key::WaterType);

    for (int i = 0; i < 6; ++i) readPosition(settings, objects[kBottom1 + i], positions[kBottom1 + i]);
    scene.Bottom = leadingNumberText(settings.text(key::Bottom));
    readPosition(settings, objects[kWall], positions[kWall]);

    for (int i = 0; i < 9; ++i) creatures[kFish1 + i].Shown = settings.integer(key::ShowFish[i]);
    creatures[kDolphin].Shown = settings.integer(key::ShowDolphin);
    creatures[kShark].Shown = settings.integer(key::ShowShark);
    creatures[kTurtle].Shown = settings.integer(key::ShowTurtle);
    scene.ColorFish = settings.integer(key::ColorFish);

    for (int i = 0; i < 9; ++i) {
        CreatureSettings& fish = creatures[kFish1 + i];
        fish.Speed = settings.integer(key::FishSpeed[i]);
        fish.Delay = fishDelay(fish.Speed);
    }
    creatures[kDolphin].Speed = settings.integer(key::Dolphin);
    creatures[kDolphin].Delay = dolphinDelay(creatures[kDolphin].Speed);
    creatures[kShark].Speed = settings.integer(key::Shark);
    creatures[kShark].Delay = sharkDelay(creatures[kShark].Speed);
    creatures[kTurtle].Speed = settings.integer(key::Turtle);
    creatures[kTurtle].Delay = turtleDelay(creatures[kTurtle].Speed);

    for (int i = 0; i < 9; ++i) creatures[kFish1 + i].WaitLimit = settings.integer(key::FishFreq[i]);
    creatures[kDolphin].WaitLimit = settings.integer(key::FreqDolphin);
    creatures[kShark].WaitLimit = settings.integer(key::FreqShark);
    creatures[kTurtle].WaitLimit = settings.integer(key::FreqTurtle);

    // Ocean-bottom switches are truth values: held as -1 (True) and 0 (False).
    for (int i = 0; i < 6; ++i)
        objects[kBottom1 + i].Switch = settings.flag(key::OBottom[i]) ? -1 : 0;
    objects[kDarkCliff1].Switch = settings.integer(key::BGRocksLeft);
    objects[kDarkCliff1 + 1].Switch = settings.integer(key::BGRocksCenter);
    objects[kDarkCliff1 + 2].Switch = settings.integer(key::BGRocksRight);
    for (int i = 0; i < 3; ++i)
        readPosition(settings, objects[kDarkCliff1 + i], positions[kDarkCliff1 + i]);

    for (int object : {kCastle, kAnchor, kCity, kTreasure, kLighthouse, kColumns, kStatue1,
                       kStatue2, kLighthouse2, kLiberty, kPyramid, kTotem, kHorse, kRome})
        readPosition(settings, objects[object], positions[object]);

    // The artifact switches in the saver's order; "Horse" is read twice.
    const std::pair<int, const SettingKey*> switches[] = {
        {kHorse, &key::Horse},     {kLighthouse, &key::LightHouse}, {kColumns, &key::Columns},
        {kCastle, &key::Castle},   {kTreasure, &key::Treasure},     {kAnchor, &key::Anchor},
        {kStatue1, &key::Statue},  {kStatue2, &key::Statue2},       {kLighthouse2, &key::LightHouse2},
        {kCity, &key::City},       {kLiberty, &key::Liberty},       {kPyramid, &key::Pyramid},
        {kTotem, &key::Totem},     {kHorse, &key::Horse},           {kRome, &key::Rome},
    };
    for (const auto& [object, switchKey] : switches)
        objects[object].Switch = settings.integer(*switchKey);

    for (int i = 0; i < 5; ++i) objects[kCliff1 + i].Switch = settings.integer(key::Cliff[i]);
    for (int i = 0; i < 5; ++i) readPosition(settings, objects[kCliff1 + i], positions[kCliff1 + i]);
    for (int i = 0; i < 14; ++i) objects[kCoral1 + i].Switch = settings.integer(key::Plant[i]);
    for (int i = 0; i < 14; ++i) readPosition(settings, objects[kCoral1 + i], positions[kCoral1 + i]);

    scene.TunePC = settings.integer(key::TunePC);
}

}  // namespace bw
