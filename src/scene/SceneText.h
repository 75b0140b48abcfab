#pragma once

#include "scene/DrawingComponent.h"

#include <QString>

namespace bw {

// The colours and face of the texts drawn over the aquarium.
inline constexpr Rgb kBlack = rgb(0, 0, 0);
inline constexpr Rgb kWhite = rgb(255, 255, 255);
inline constexpr Rgb kYellow = rgb(255, 255, 0);
inline constexpr Rgb kRed = rgb(255, 0, 0);
inline constexpr Rgb kBlue = rgb(0, 0, 255);
inline const QString kArial = QStringLiteral("Arial");

}  // namespace bw
