#pragma once

#include <QString>
#include <cstdint>

namespace bw {

class Settings;
struct SceneState;

// Reads every scene option and stored position into the scene state, in the saver's order.
void readSceneOptions(const Settings& settings, SceneState& scene);

// The frame delay of a creature for its speed 1 to 4 (the slowest for any other speed).
int16_t fishDelay(int16_t speed);
int16_t dolphinDelay(int16_t speed);
int16_t sharkDelay(int16_t speed);
int16_t turtleDelay(int16_t speed);

// The numeric value at the start of a text, written back as text: "4" and "4.0" give "4",
// " 5x" gives "5", text without a leading number gives "0".
QString leadingNumberText(const QString& text);

}  // namespace bw
