#pragma once

// A bendable fish body for side-view creatures. The body runs along a spine from the tail
// base (u = 0) to the nose (u = 1); v runs from the back (-1) to the belly (+1). The swimming
// beat bends the spine and swings the tail fin from its base, so every marking, fin root and
// eye placed through the rig moves with the body.

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <functional>
#include <vector>

namespace bw::art {

// Half-height of the body along u, through control points (u, pixels).
class Profile {
  public:
    Profile(std::initializer_list<QPointF> points) : points_(points) {}
    double at(double u) const;

  private:
    std::vector<QPointF> points_;
};

struct FishPose {
    double beat = 0;     // -1 .. 1: tail to one side .. the other
    double flutter = 0;  // -1 .. 1: pectoral fin stroke
};

// Frame `image` of `count` covers half a swimming cycle, so the saver's ping-pong order
// (1..N..2) plays one smooth full cycle.
FishPose poseForImage(int image, int count);

class FishRig {
  public:
    FishRig(double tailBaseX, double noseX, double spineY, Profile top, Profile bottom,
            FishPose pose, double bend, double tailSwingDegrees, double foreshortening = 0.3);

    QPointF at(double u, double v) const;
    QPointF spine(double u, double dy = 0) const;  // dy pixels below the spine
    double halfTop(double u) const { return top_.at(u); }
    double halfBottom(double u) const { return bottom_.at(u); }
    double length() const { return noseX_ - tailBaseX_; }
    const FishPose& pose() const { return pose_; }

    QPainterPath outline() const;
    // Band of the body between u1 and u2 (drawn beyond the outline; clip to the outline).
    QPainterPath strip(double u1, double u2, double v1 = -1.5, double v2 = 1.5) const;
    // Tail fin coordinates: dx pixels behind the tail base, dy below; swung and foreshortened.
    QPointF tail(double dx, double dy) const;
    double tailAngle() const { return tailAngle_; }

  private:
    double spineYAt(double u) const;
    double tailBaseX_, noseX_, spineY_;
    Profile top_, bottom_;
    FishPose pose_;
    double bend_, tailAngle_, tailScale_;
};

struct Fin {
    std::vector<QPointF> root;  // along the body, inside the outline, first to last
    std::vector<QPointF> edge;  // the free edge, from the first root point's side
};

struct FinStyle {
    QColor colour;
    QColor tip;
    QColor ray;
    int rays = 8;
    double alpha = 0.85;
    double rayWidth = 0.7;
};

QPainterPath finPath(const Fin& fin);
void drawFin(QPainter& painter, const Fin& fin, const FinStyle& style);

struct BodyStyle {
    QColor back, flank, belly;
    QColor outline;
    double scales = 0.0;  // strength of the scale pattern
    QColor scaleColour = QColor(0, 0, 0);
    double rim = 0.5;  // strength of the rim light along the back
    bool gill = true;
};

// Body with gradient, markings (painted clipped to the body), scales, light and rim light.
void drawBody(QPainter& painter, const FishRig& rig, const BodyStyle& style,
              const std::function<void(QPainter&)>& markings);
void drawEye(QPainter& painter, QPointF centre, double radius, const QColor& iris);

}  // namespace bw::art
