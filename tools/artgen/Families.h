#pragma once

// The painters of each family. Each returns one image of `asset`, laid out in scene units and
// painted at `scale` (see newSprite); `image` counts from 1 (for a, b, c images: 1, 2, 3).

#include <QImage>
#include <QPainter>

#include "Catalogue.h"

namespace bw::art {

// Fish 1 to 9 (variant = species).
QImage paintFish(const Asset& asset, int image, double scale);
struct FishPose;
// Draws species 1 to 9 facing right in its sprite's coordinates; true when it swims left.
bool drawSpecies(QPainter& painter, int species, const FishPose& pose);
// Dolphin, shark, turtle, and the five dark background fish (variant 1 to 5).
QImage paintDolphin(const Asset& asset, int image, double scale);
QImage paintShark(const Asset& asset, int image, double scale);
QImage paintTurtle(const Asset& asset, int image, double scale);
QImage paintDarkFish(const Asset& asset, int image, double scale);
// Small plants (variant 1 to 14), large side plants (1 to 5), dark mounds (1 to 3).
QImage paintCoral(const Asset& asset, int image, double scale);
QImage paintSidePlant(const Asset& asset, int image, double scale);
QImage paintDarkMound(const Asset& asset, int image, double scale);
// Artifacts (variant = ArtifactKind).
enum ArtifactKind {
    Castle = 1,
    Anchor,
    City,
    Horse,
    Liberty,
    Lighthouse,
    Lighthouse2,
    Pyramid,
    Rome,
    Statue,
    Totem,
    Moai,
    Treasure,
    Columns
};
QImage paintArtifact(const Asset& asset, int image, double scale);
// Walls (variant 1 to 6) and ocean-bottom pieces (variant 1 to 6). The walls and the pieces as
// wide as the layout are painted across a wider frame too (see Span).
QImage paintWall(const Asset& asset, int image, double scale);
QImage paintWideWall(const Asset& asset, int image, const FrameShape& frame);
QImage paintBottom(const Asset& asset, int image, double scale);
QImage paintWideBottom(const Asset& asset, int image, const FrameShape& frame);
// Water backdrops (variant 1 to 6), for the layout's width or a wider frame.
QImage paintWater(const Asset& asset, int image, double scale);
QImage paintWideWater(const Asset& asset, int image, const FrameShape& frame);
// Calendar, bubbles, bubble curtain, first-run notices (variant 1 to 3), icon.
QImage paintCalendar(const Asset& asset, int image, double scale);
QImage paintBubble(const Asset& asset, int image, double scale);
QImage paintCurtain(const Asset& asset, int image, double scale);
QImage paintNotice(const Asset& asset, int image, double scale);
QImage paintIcon(const Asset& asset, int image, double scale);

}  // namespace bw::art
