// The nine fish species, drawn facing right and mirrored for those that swim left.

#include <cmath>
#include <numbers>

#include "Families.h"
#include "FishRig.h"
#include "Paint.h"

namespace bw::art {

namespace {

// A fin along the back (top) or belly from u1 (rear) to u2 (front). `heights` gives the fin's
// height above the body from rear to front; `sweep` moves each edge point back, in pixels.
Fin crestFin(const FishRig& rig, double u1, double u2, std::initializer_list<double> heights,
             std::initializer_list<double> sweep, bool top) {
    Fin fin;
    const double side = top ? -1.0 : 1.0;
    for (int i = 0; i <= 4; ++i) {
        fin.root.push_back(rig.at(u1 + (u2 - u1) * i / 4.0, side * 0.78));
    }
    const std::vector<double> h(heights), s(sweep);
    for (size_t k = 0; k < h.size(); ++k) {
        const double u = u1 + (u2 - u1) * static_cast<double>(k) / (h.size() - 1);
        const double half = top ? rig.halfTop(u) : rig.halfBottom(u);
        QPointF p = rig.spine(u, side * (half + h[k]));
        p.rx() -= k < s.size() ? s[k] : 0.0;
        fin.edge.push_back(p);
    }
    return fin;
}

// A paddle fin (pectoral or pelvic) from a short root, pointing at `angle` degrees (180 = back).
Fin paddleFin(QPointF root, double rootSpan, double length, double angle, double spread) {
    Fin fin;
    fin.root = {root + QPointF(1.5, -rootSpan / 2), root + QPointF(-1.5, rootSpan / 2)};
    for (int i = 0; i <= 4; ++i) {
        const double t = i / 4.0;
        const double a = (angle - spread / 2 + spread * t) * kDegree;
        const double l = length * (0.82 + 0.18 * std::sin(t * std::numbers::pi));
        fin.edge.push_back(root + QPointF(std::cos(a), std::sin(a)) * l);
    }
    return fin;
}

enum class TailShape { Rounded, Fan, Forked, Lunate, Lyre };

Fin tailFin(const FishRig& rig, TailShape shape, double length, double height) {
    Fin fin;
    const double base = std::max(3.0, std::min(rig.halfTop(0.0), rig.halfBottom(0.0)));
    fin.root = {rig.tail(-3, -base), rig.tail(-3, base)};
    const double L = length, H = height / 2;
    std::vector<QPointF> e;
    switch (shape) {
        case TailShape::Rounded:
            e = {{L * 0.55, -H * 0.9},
                 {L * 0.92, -H * 0.55},
                 {L, 0},
                 {L * 0.92, H * 0.55},
                 {L * 0.55, H * 0.9}};
            break;
        case TailShape::Fan:
            e = {{L * 0.7, -H},
                 {L * 0.98, -H * 0.7},
                 {L * 1.02, 0},
                 {L * 0.98, H * 0.7},
                 {L * 0.7, H}};
            break;
        case TailShape::Forked:
            e = {{L * 0.6, -H * 0.7}, {L * 1.05, -H}, {L * 0.78, -H * 0.2}, {L * 0.62, 0},
                 {L * 0.78, H * 0.2}, {L * 1.05, H},  {L * 0.6, H * 0.7}};
            break;
        case TailShape::Lunate:
            e = {{L * 0.6, -H * 0.75}, {L * 1.05, -H * 1.05}, {L * 0.8, -H * 0.35}, {L * 0.72, 0},
                 {L * 0.8, H * 0.35},  {L * 1.05, H * 1.05},  {L * 0.6, H * 0.75}};
            break;
        case TailShape::Lyre:
            e = {{L * 0.55, -H * 0.75}, {L * 1.3, -H * 1.1}, {L * 0.85, -H * 0.4}, {L * 0.8, 0},
                 {L * 0.85, H * 0.4},   {L * 1.3, H * 1.1},  {L * 0.55, H * 0.75}};
            break;
    }
    for (const QPointF& p : e) {
        fin.edge.push_back(rig.tail(p.x(), p.y()));
    }
    return fin;
}

// A band across the body around uCentre; `bulge` bows its middle towards the head.
QPainterPath band(const FishRig& rig, double uCentre, double width, double bulge) {
    std::vector<QPointF> points;
    const int steps = 10;
    for (int i = 0; i <= steps; ++i) {
        const double v = -1.5 + 3.0 * i / steps;
        const double u = uCentre - width / 2 + bulge * (1 - v * v / 2.25);
        points.push_back(rig.at(u, v));
    }
    for (int i = steps; i >= 0; --i) {
        const double v = -1.5 + 3.0 * i / steps;
        const double u = uCentre + width / 2 + bulge * (1 - v * v / 2.25);
        points.push_back(rig.at(u, v));
    }
    return smoothPath(points, true);
}

void fillPath(QPainter& p, const QPainterPath& path, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(path);
}

void mouthLine(QPainter& p, const FishRig& rig, double v, double length) {
    const QPointF tip = rig.at(1.0, 0) + QPointF(-0.5, v);
    p.setPen(QPen(QColor(40, 20, 20, 140), 0.9, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(tip, tip + QPointF(-length, 0.6));
}

// ---- species -------------------------------------------------------------------------------

// Fish 1: angelfish, silver disc with black bands and tall swept fins.
void angelfish(QPainter& p, FishPose pose) {
    FishRig rig(
        34, 104, 67,
        Profile{{0, 5}, {0.15, 12}, {0.45, 27}, {0.65, 29}, {0.82, 22}, {0.93, 12}, {1.0, 2}},
        Profile{{0, 5}, {0.15, 12}, {0.45, 26}, {0.65, 27}, {0.82, 20}, {0.95, 8}, {1.0, 2}}, pose,
        3.0, 10);
    const QColor silver(214, 218, 214), ink(28, 30, 34);
    const FinStyle finStyle{QColor(200, 205, 205), QColor(235, 240, 240), QColor(90, 90, 90), 12,
                            0.7};
    Fin dorsal = crestFin(rig, 0.05, 0.72, {2, 20, 40, 52, 40, 16}, {2, 22, 30, 26, 16, 5}, true);
    Fin anal = crestFin(rig, 0.05, 0.7, {2, 20, 40, 50, 38, 14}, {2, 22, 30, 26, 16, 5}, false);
    drawFin(p, dorsal, finStyle);
    drawFin(p, anal, finStyle);
    // The bands run on into the tall fins.
    p.save();
    p.setClipPath(finPath(dorsal).united(finPath(anal)));
    fillPath(p, band(rig, 0.44, 0.11, 0.02), withAlpha(ink, 0.7));
    fillPath(p, band(rig, 0.12, 0.08, 0.0), withAlpha(ink, 0.6));
    p.restore();
    drawFin(p, tailFin(rig, TailShape::Lyre, 30, 44), finStyle);
    drawBody(p, rig,
             {QColor(150, 158, 160), silver, QColor(242, 240, 232), QColor(70, 76, 80), 0.06},
             [&](QPainter& q) {
                 fillPath(q, band(rig, 0.83, 0.07, 0.015), ink);
                 fillPath(q, band(rig, 0.44, 0.11, 0.02), ink);
                 fillPath(q, band(rig, 0.12, 0.08, 0.0), withAlpha(ink, 0.85));
                 fillPath(q, band(rig, 0.63, 0.035, 0.01), withAlpha(ink, 0.35));
             });
    // Long pelvic streamers from the throat.
    p.setPen(QPen(withAlpha(QColor(200, 200, 190), 0.8), 2.0, Qt::SolidLine, Qt::RoundCap));
    QPainterPath streamer;
    const QPointF throat = rig.at(0.7, 0.8);
    streamer.moveTo(throat);
    streamer.cubicTo(throat + QPointF(-4, 16), throat + QPointF(-12, 34 + 3 * pose.flutter),
                     throat + QPointF(-24, 56));
    p.drawPath(streamer);
    drawFin(p, paddleFin(rig.at(0.72, 0.1), 6, 17, 160 + 18 * pose.flutter, 40),
            {QColor(225, 228, 225), QColor(240, 245, 245), QColor(150, 150, 150), 6, 0.55});
    drawEye(p, rig.at(0.86, -0.28), 4.6, QColor(200, 60, 40));
    mouthLine(p, rig, 1.5, 5);
}

// Fish 2: clownfish, orange with three white bands edged in black.
void clownfish(QPainter& p, FishPose pose) {
    FishRig rig(24, 90, 31, Profile{{0, 6}, {0.2, 10}, {0.5, 16}, {0.75, 15}, {0.92, 9}, {1.0, 2}},
                Profile{{0, 6}, {0.2, 9}, {0.5, 14}, {0.75, 14}, {0.92, 9}, {1.0, 3}}, pose, 2.5,
                12);
    const QColor orange(246, 118, 20), black(18, 14, 12), white(252, 250, 244);
    const FinStyle finStyle{QColor(245, 120, 30), QColor(30, 20, 15), QColor(160, 60, 10), 8, 0.9};
    drawFin(p, crestFin(rig, 0.1, 0.72, {2, 10, 8, 11, 9, 3}, {1, 4, 3, 3, 2, 0}, true), finStyle);
    drawFin(p, crestFin(rig, 0.1, 0.42, {2, 9, 10, 3}, {1, 5, 4, 0}, false), finStyle);
    drawFin(p, tailFin(rig, TailShape::Rounded, 20, 26), finStyle);
    drawBody(
        p, rig, {QColor(214, 84, 10), orange, QColor(255, 172, 70), QColor(90, 30, 5), 0.05},
        [&](QPainter& q) {
            for (auto [u, w, bulge] : {std::tuple{0.78, 0.11, 0.03}, std::tuple{0.47, 0.12, 0.07},
                                       std::tuple{0.06, 0.09, 0.0}}) {
                fillPath(q, band(rig, u, w + 0.055, bulge), black);
                fillPath(q, band(rig, u, w, bulge), white);
            }
        });
    drawFin(p, paddleFin(rig.at(0.6, 0.55), 5, 11, 135 + 10 * pose.flutter, 40), finStyle);
    drawFin(p, paddleFin(rig.at(0.7, 0.1), 5, 12, 165 + 25 * pose.flutter, 45),
            {QColor(250, 140, 40), QColor(255, 190, 90), QColor(180, 80, 20), 6, 0.8});
    drawEye(p, rig.at(0.88, -0.25), 3.6, QColor(230, 120, 30));
    mouthLine(p, rig, 1.5, 4);
}

// Fish 3: butterflyfish, yellow, black eye band, eye spot near the tail, pointed snout.
void butterflyfish(QPainter& p, FishPose pose) {
    FishRig rig(26, 106, 48,
                Profile{{0, 6}, {0.2, 20}, {0.45, 30}, {0.65, 28}, {0.82, 17}, {0.93, 6}, {1.0, 2}},
                Profile{{0, 6}, {0.2, 19}, {0.45, 28}, {0.65, 25}, {0.82, 14}, {0.93, 5}, {1.0, 2}},
                pose, 2.5, 10);
    const QColor yellow(250, 212, 40), black(22, 20, 22);
    const FinStyle finStyle{QColor(248, 205, 40), QColor(255, 236, 150), QColor(170, 120, 20), 12,
                            0.92};
    drawFin(p, crestFin(rig, 0.02, 0.7, {2, 12, 14, 11, 6, 2}, {2, 4, 3, 2, 1, 0}, true), finStyle);
    drawFin(p, crestFin(rig, 0.02, 0.55, {2, 12, 12, 7, 2}, {2, 4, 3, 1, 0}, false), finStyle);
    // Thin dark seam along the soft fins' edge.
    drawFin(p, tailFin(rig, TailShape::Fan, 18, 28),
            {QColor(240, 225, 170), QColor(250, 250, 240), QColor(170, 150, 100), 8, 0.7});
    drawBody(p, rig,
             {QColor(232, 170, 20), yellow, QColor(255, 244, 170), QColor(120, 80, 10), 0.0},
             [&](QPainter& q) {
                 // Fine diagonal lines on the flank.
                 q.setPen(QPen(QColor(200, 140, 20, 90), 1.0));
                 for (int i = -6; i < 10; ++i) {
                     const QPointF a = rig.at(0.1 + i * 0.08, -1.2);
                     q.drawLine(a, a + QPointF(30, 70));
                 }
                 fillPath(q, band(rig, 0.84, 0.075, 0.015), withAlpha(QColor(250, 250, 240), 0.9));
                 fillPath(q, band(rig, 0.84, 0.05, 0.015), black);
                 // The false eye on the rear of the back.
                 const QPointF spot = rig.at(0.2, -0.45);
                 q.setPen(Qt::NoPen);
                 q.setBrush(QColor(255, 255, 240));
                 q.drawEllipse(spot, 7.2, 7.2);
                 q.setBrush(black);
                 q.drawEllipse(spot, 5.8, 5.8);
                 q.setBrush(QColor(255, 255, 255, 60));
                 q.drawEllipse(spot + QPointF(1.2, -1.6), 1.8, 1.8);
             });
    drawFin(p, paddleFin(rig.at(0.7, 0.15), 6, 14, 160 + 22 * pose.flutter, 40),
            {QColor(255, 235, 150), QColor(255, 250, 220), QColor(190, 160, 60), 6, 0.6});
    drawEye(p, rig.at(0.86, -0.3), 3.8, QColor(40, 36, 36));
    mouthLine(p, rig, 0.6, 3);
}

// Fish 4: blue tang, royal blue with the black palette mark and a yellow tail.
void blueTang(QPainter& p, FishPose pose) {
    FishRig rig(
        30, 126, 42,
        Profile{{0, 5}, {0.15, 12}, {0.4, 23}, {0.65, 26}, {0.85, 19}, {0.95, 10}, {1.0, 3}},
        Profile{{0, 5}, {0.15, 12}, {0.4, 22}, {0.65, 24}, {0.85, 16}, {0.95, 8}, {1.0, 3}}, pose,
        3.0, 11);
    const QColor blue(28, 78, 214), black(10, 14, 30), yellow(250, 214, 30);
    const FinStyle finStyle{QColor(30, 70, 190), QColor(10, 20, 60), QColor(10, 30, 90), 14, 0.9};
    drawFin(p, crestFin(rig, 0.05, 0.8, {2, 9, 10, 9, 7, 3}, {1, 3, 2, 2, 1, 0}, true), finStyle);
    drawFin(p, crestFin(rig, 0.05, 0.55, {2, 9, 9, 6, 2}, {1, 3, 2, 1, 0}, false), finStyle);
    drawFin(p, tailFin(rig, TailShape::Lunate, 24, 34),
            {yellow, QColor(255, 240, 120), QColor(190, 140, 10), 10, 0.95});
    drawBody(p, rig, {QColor(16, 46, 150), blue, QColor(90, 150, 240), QColor(8, 20, 70), 0.05},
             [&](QPainter& q) {
                 // The palette: a dark band from the eye along the back, looping over the flank.
                 QPainterPath palette;
                 palette.moveTo(rig.at(0.92, -0.5));
                 palette.cubicTo(rig.at(0.7, -1.3), rig.at(0.3, -1.1), rig.at(0.05, -0.2));
                 palette.cubicTo(rig.at(0.15, 0.2), rig.at(0.25, -0.1), rig.at(0.35, -0.25));
                 palette.cubicTo(rig.at(0.5, -0.2), rig.at(0.7, -0.1), rig.at(0.86, -0.1));
                 palette.closeSubpath();
                 QPainterPath hole;
                 hole.addEllipse(QRectF(rig.at(0.5, -0.75), rig.at(0.72, -0.3)).normalized());
                 fillPath(q, palette.subtracted(hole), black);
                 fillPath(q, band(rig, 0.02, 0.06, 0.0), yellow);
             });
    drawFin(p, paddleFin(rig.at(0.74, 0.15), 6, 16, 165 + 20 * pose.flutter, 40),
            {QColor(250, 210, 60), QColor(255, 240, 140), QColor(150, 110, 20), 6, 0.75});
    drawEye(p, rig.at(0.88, -0.28), 4.0, QColor(30, 40, 60));
    mouthLine(p, rig, 1.5, 3);
}

// Fish 5: royal gramma, violet front fading into a yellow rear.
void royalGramma(QPainter& p, FishPose pose) {
    FishRig rig(20, 90, 26, Profile{{0, 5}, {0.2, 8}, {0.5, 12}, {0.75, 12}, {0.92, 8}, {1.0, 2}},
                Profile{{0, 5}, {0.2, 8}, {0.5, 11}, {0.75, 11}, {0.92, 6}, {1.0, 2}}, pose, 2.0,
                12);
    const QColor violet(150, 40, 200), yellow(252, 200, 30);
    drawFin(p, crestFin(rig, 0.02, 0.7, {2, 9, 8, 8, 7, 2}, {1, 3, 2, 2, 1, 0}, true),
            {QColor(200, 120, 120), QColor(250, 220, 120), QColor(120, 60, 80), 12, 0.85});
    drawFin(p, crestFin(rig, 0.02, 0.4, {2, 9, 7, 2}, {1, 3, 2, 0}, false),
            {yellow, QColor(255, 240, 140), QColor(160, 120, 20), 8, 0.85});
    drawFin(p, tailFin(rig, TailShape::Fan, 16, 20),
            {yellow, QColor(255, 240, 160), QColor(170, 130, 20), 8, 0.9});
    drawBody(p, rig,
             {QColor(110, 30, 160), violet, QColor(200, 120, 230), QColor(60, 20, 60), 0.05},
             [&](QPainter& q) {
                 QLinearGradient fade(rig.at(0.58, 0), rig.at(0.4, 0));
                 fade.setColorAt(0.0, withAlpha(yellow, 0.0));
                 fade.setColorAt(1.0, yellow);
                 q.setPen(Qt::NoPen);
                 q.setBrush(fade);
                 q.drawPath(rig.strip(-0.1, 0.6));
                 q.setPen(QPen(QColor(255, 220, 90, 170), 0.9));
                 q.drawLine(rig.at(1.0, -0.1), rig.at(0.8, -0.7));
                 q.drawLine(rig.at(1.0, 0.3), rig.at(0.78, 0.1));
             });
    // The black spot at the front of the back fin.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 10, 30, 230));
    p.drawEllipse(rig.spine(0.62, -rig.halfTop(0.62) - 3.5), 2.6, 2.6);
    drawFin(p, paddleFin(rig.at(0.7, 0.15), 5, 10, 165 + 22 * pose.flutter, 40),
            {QColor(220, 150, 240), QColor(250, 220, 250), QColor(120, 60, 140), 5, 0.6});
    drawEye(p, rig.at(0.88, -0.25), 3.2, QColor(210, 160, 40));
    mouthLine(p, rig, 1.0, 3);
}

// Fish 6: parrotfish, sea-green with pink-edged scales and a beak.
void parrotfish(QPainter& p, FishPose pose) {
    FishRig rig(32, 144, 38,
                Profile{{0, 7}, {0.15, 12}, {0.45, 21}, {0.7, 22}, {0.88, 17}, {0.97, 9}, {1.0, 3}},
                Profile{{0, 7}, {0.15, 11}, {0.45, 19}, {0.7, 19}, {0.88, 14}, {0.97, 7}, {1.0, 3}},
                pose, 3.0, 10);
    const QColor green(44, 176, 150), pink(242, 128, 150);
    const FinStyle finStyle{QColor(60, 160, 170), QColor(240, 140, 170), QColor(30, 90, 100), 14,
                            0.85};
    drawFin(p, crestFin(rig, 0.05, 0.75, {2, 7, 8, 8, 7, 3}, {1, 3, 2, 2, 1, 0}, true), finStyle);
    drawFin(p, crestFin(rig, 0.05, 0.45, {2, 8, 7, 2}, {1, 3, 2, 0}, false), finStyle);
    drawFin(p, tailFin(rig, TailShape::Lunate, 26, 38), finStyle);
    drawBody(p, rig,
             {QColor(24, 124, 116), green, QColor(170, 226, 190), QColor(10, 60, 50), 0.3, pink},
             [&](QPainter& q) {
                 q.setPen(QPen(withAlpha(pink, 0.85), 1.6, Qt::SolidLine, Qt::RoundCap));
                 q.setBrush(Qt::NoBrush);
                 QPainterPath stripe;
                 stripe.moveTo(rig.at(1.0, 0.2));
                 stripe.quadTo(rig.at(0.9, 0.5), rig.at(0.78, 0.3));
                 q.drawPath(stripe);
                 q.drawLine(rig.at(0.98, -0.45), rig.at(0.8, -0.5));
                 fillPath(q, band(rig, 0.05, 0.06, 0.0), withAlpha(pink, 0.5));
             });
    // The beak.
    p.setPen(QPen(QColor(120, 140, 130), 0.8));
    p.setBrush(QColor(236, 236, 220));
    QPainterPath beak;
    const QPointF tip = rig.at(1.0, 0) + QPointF(1.0, 0);
    beak.moveTo(tip + QPointF(-9, -5));
    beak.quadTo(tip + QPointF(1, -4), tip + QPointF(1, 0));
    beak.quadTo(tip + QPointF(0, 4), tip + QPointF(-8, 4));
    beak.quadTo(tip + QPointF(-5, 0), tip + QPointF(-9, -5));
    p.drawPath(beak);
    p.drawLine(tip + QPointF(-7, 0), tip + QPointF(0.5, 0));
    drawFin(p, paddleFin(rig.at(0.76, 0.15), 7, 17, 165 + 20 * pose.flutter, 40),
            {QColor(240, 150, 180), QColor(255, 210, 220), QColor(150, 70, 100), 7, 0.7});
    drawEye(p, rig.at(0.87, -0.35), 3.8, QColor(240, 200, 60));
}

// Fish 7: lionfish, striped, with a crown of long spines and fan-like pectoral fins.
void lionfish(QPainter& p, FishPose pose) {
    FishRig rig(34, 128, 64, Profile{{0, 5}, {0.2, 10}, {0.5, 19}, {0.75, 20}, {0.9, 15}, {1.0, 4}},
                Profile{{0, 5}, {0.2, 9}, {0.5, 16}, {0.75, 16}, {0.9, 12}, {1.0, 5}}, pose, 2.0,
                9);
    const QColor cream(250, 236, 220), red(176, 54, 36);
    // The spines of the back, with a web at their base.
    for (int i = 0; i < 13; ++i) {
        const double u = 0.25 + 0.55 * i / 12.0;
        const QPointF root = rig.at(u, -0.85);
        const double len =
            26 + 20 * std::sin(std::numbers::pi * (1 - i / 12.0) * 0.9) + (i % 2) * 4;
        const double a = (-100 - 22 * (1 - i / 12.0) + 3 * pose.beat) * kDegree;
        const QPointF tip = root + QPointF(std::cos(a), std::sin(a)) * len;
        for (int s = 0; s < 5; ++s) {
            const QPointF a0 = root + (tip - root) * (s / 5.0);
            const QPointF a1 = root + (tip - root) * ((s + 1) / 5.0);
            p.setPen(QPen(s % 2 ? cream : red, 1.5, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(a0, a1);
        }
    }
    const FinStyle web{QColor(200, 120, 100), QColor(240, 200, 190), red, 10, 0.55};
    drawFin(p, crestFin(rig, 0.22, 0.82, {8, 20, 24, 22, 20, 14}, {2, 8, 10, 9, 8, 6}, true), web);
    drawFin(p, crestFin(rig, 0.0, 0.25, {3, 18, 20, 4}, {2, 8, 6, 0}, true), web);
    drawFin(p, crestFin(rig, 0.04, 0.35, {3, 16, 14, 3}, {2, 8, 5, 0}, false), web);
    drawFin(p, tailFin(rig, TailShape::Rounded, 24, 32),
            {QColor(230, 200, 190), QColor(250, 240, 235), QColor(170, 70, 50), 10, 0.6});
    drawBody(p, rig, {QColor(150, 60, 40), cream, QColor(255, 245, 235), QColor(90, 30, 20), 0.0},
             [&](QPainter& q) {
                 for (int i = 0; i < 11; ++i) {
                     const double u = 0.02 + i * 0.092;
                     fillPath(q, band(rig, u, 0.045, 0.025 * std::sin(i)), withAlpha(red, 0.92));
                 }
             });
    // Huge feathery pectoral fins fanning down and back.
    const QPointF shoulder = rig.at(0.7, 0.3);
    const double stroke = 8 * pose.flutter;
    Fin pectoral = paddleFin(shoulder, 10, 52, 140 + stroke, 80);
    drawFin(p, pectoral, {QColor(220, 150, 130), QColor(250, 225, 215), red, 12, 0.6, 1.3});
    p.setPen(QPen(withAlpha(red, 0.7), 1.0));
    for (int i = 0; i < 12; ++i) {
        const double a = (100 + stroke + 80.0 * i / 11.0) * kDegree;
        for (double r = 14; r < 50; r += 9) {
            const QPointF c = shoulder + QPointF(std::cos(a), std::sin(a)) * r;
            p.drawPoint(c);
        }
    }
    // The little tentacles over the eye and at the chin.
    p.setPen(QPen(QColor(200, 110, 80), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(rig.at(0.86, -0.8), rig.at(0.86, -0.8) + QPointF(2, -7));
    p.drawLine(rig.at(0.96, 0.7), rig.at(0.96, 0.7) + QPointF(3, 6));
    drawEye(p, rig.at(0.87, -0.3), 4.2, QColor(170, 60, 40));
    mouthLine(p, rig, 2.0, 5);
}

// Fish 8: bottom-feeding catfish: arched back, flat belly, barbels, spots.
void catfish(QPainter& p, FishPose pose) {
    FishRig rig(
        26, 118, 40, Profile{{0, 5}, {0.15, 9}, {0.45, 18}, {0.7, 22}, {0.88, 16}, {1.0, 5}},
        Profile{{0, 5}, {0.15, 7}, {0.45, 10}, {0.7, 11}, {0.88, 10}, {1.0, 5}}, pose, 2.5, 12);
    const QColor bronze(138, 124, 92);
    const FinStyle finStyle{QColor(150, 140, 110), QColor(220, 210, 180), QColor(70, 60, 40), 8,
                            0.75};
    drawFin(p, crestFin(rig, 0.52, 0.75, {3, 22, 26, 4}, {1, 10, 6, 0}, true), finStyle);
    drawFin(p, crestFin(rig, 0.1, 0.22, {2, 7, 2}, {1, 3, 0}, true),
            {QColor(120, 110, 90), QColor(170, 160, 130), QColor(60, 50, 40), 2, 0.8});
    drawFin(p, crestFin(rig, 0.08, 0.3, {2, 9, 8, 2}, {1, 3, 2, 0}, false), finStyle);
    drawFin(p, tailFin(rig, TailShape::Forked, 24, 30), finStyle);
    drawBody(p, rig, {QColor(84, 76, 58), bronze, QColor(236, 226, 196), QColor(40, 34, 24), 0.0},
             [&](QPainter& q) {
                 Rng rng(8);
                 q.setPen(Qt::NoPen);
                 q.setBrush(QColor(50, 44, 34, 170));
                 for (int i = 0; i < 40; ++i) {
                     const QPointF c = rig.at(rng.range(0.0, 0.95), rng.range(-0.95, 0.1));
                     q.drawEllipse(c, rng.range(1.0, 2.2), rng.range(1.0, 2.0));
                 }
                 // Armour plates along the flank.
                 q.setPen(QPen(QColor(60, 55, 40, 90), 0.8));
                 for (int i = 0; i < 14; ++i) {
                     const double u = 0.05 + i * 0.048;
                     q.drawLine(rig.at(u, -0.7), rig.at(u - 0.02, 0.0));
                     q.drawLine(rig.at(u - 0.02, 0.0), rig.at(u, 0.7));
                 }
             });
    // Barbels at the mouth, hanging and sweeping a little.
    const QPointF mouth = rig.at(0.99, 0.55);
    p.setPen(QPen(QColor(200, 186, 150, 230), 1.1, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 3; ++i) {
        QPainterPath barbel;
        barbel.moveTo(mouth + QPointF(-i * 2.5, 0));
        barbel.quadTo(mouth + QPointF(4 - i * 3, 6),
                      mouth + QPointF(2 - i * 6 + 2 * pose.flutter, 10 + i * 2));
        p.drawPath(barbel);
    }
    drawFin(p, paddleFin(rig.at(0.8, 0.75), 5, 16, 150 + 12 * pose.flutter, 30), finStyle);
    drawFin(p, paddleFin(rig.at(0.48, 0.85), 5, 12, 160 + 8 * pose.flutter, 30), finStyle);
    drawEye(p, rig.at(0.89, -0.35), 3.4, QColor(150, 140, 90));
}

// Fish 9: goatfish, long and pale rose with a yellow stripe, chin barbels and forked tail.
void goatfish(QPainter& p, FishPose pose) {
    FishRig rig(28, 128, 28, Profile{{0, 5}, {0.2, 9}, {0.5, 14}, {0.75, 14}, {0.92, 10}, {1.0, 4}},
                Profile{{0, 5}, {0.2, 8}, {0.5, 12}, {0.75, 12}, {0.92, 9}, {1.0, 4}}, pose, 3.0,
                12);
    const QColor rose(240, 200, 196), yellow(250, 206, 40);
    const FinStyle finStyle{QColor(245, 215, 120), QColor(255, 240, 200), QColor(170, 130, 60), 8,
                            0.75};
    drawFin(p, crestFin(rig, 0.6, 0.8, {2, 14, 16, 3}, {1, 6, 4, 0}, true), finStyle);
    drawFin(p, crestFin(rig, 0.2, 0.38, {2, 9, 9, 2}, {1, 4, 2, 0}, true), finStyle);
    drawFin(p, crestFin(rig, 0.18, 0.36, {2, 8, 8, 2}, {1, 4, 2, 0}, false), finStyle);
    drawFin(p, tailFin(rig, TailShape::Forked, 28, 30),
            {yellow, QColor(255, 236, 150), QColor(170, 120, 20), 10, 0.9});
    drawBody(p, rig,
             {QColor(196, 130, 130), rose, QColor(252, 244, 240), QColor(110, 60, 60), 0.12,
              QColor(160, 80, 80)},
             [&](QPainter& q) {
                 QPainterPath stripe;
                 stripe.moveTo(rig.at(0.95, -0.25));
                 for (int i = 0; i <= 10; ++i) {
                     stripe.lineTo(rig.at(0.95 - i * 0.097, -0.3 + 0.1 * i / 10.0));
                 }
                 for (int i = 10; i >= 0; --i) {
                     stripe.lineTo(rig.at(0.95 - i * 0.097, 0.0 + 0.05 * i / 10.0));
                 }
                 stripe.closeSubpath();
                 fillPath(q, stripe, yellow);
             });
    // Two barbels under the chin, probing the sand.
    const QPointF chin = rig.at(0.95, 0.8);
    p.setPen(QPen(QColor(250, 230, 150), 1.3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 2; ++i) {
        QPainterPath barbel;
        barbel.moveTo(chin + QPointF(-i * 3, 0));
        barbel.quadTo(chin + QPointF(-1 - i * 3, 8),
                      chin + QPointF(-5 - i * 4 + 3 * pose.flutter, 13));
        p.drawPath(barbel);
    }
    drawFin(p, paddleFin(rig.at(0.74, 0.2), 5, 13, 165 + 20 * pose.flutter, 40), finStyle);
    drawEye(p, rig.at(0.9, -0.35), 3.6, QColor(220, 80, 60));
}

}  // namespace

bool drawSpecies(QPainter& painter, int species, const FishPose& pose) {
    switch (species) {
        case 1:
            angelfish(painter, pose);
            return false;
        case 2:
            clownfish(painter, pose);
            return false;
        case 3:
            butterflyfish(painter, pose);
            return true;
        case 4:
            blueTang(painter, pose);
            return false;
        case 5:
            royalGramma(painter, pose);
            return false;
        case 6:
            parrotfish(painter, pose);
            return true;
        case 7:
            lionfish(painter, pose);
            return true;
        case 8:
            catfish(painter, pose);
            return true;
        case 9:
            goatfish(painter, pose);
            return false;
        default:
            return false;
    }
}

QImage paintFish(const Asset& asset, int image, double scale) {
    QImage sprite = newSprite(asset.size, scale);
    QPainter painter(&sprite);
    setupPainter(painter);
    const bool swimsLeft = drawSpecies(painter, asset.variant, poseForImage(image, asset.images));
    painter.end();
    return swimsLeft ? sprite.mirrored(true, false) : sprite;
}

}  // namespace bw::art
