// The dolphin, the shark, the sea turtle and the five dark background fish.

#include <cmath>
#include <numbers>

#include "Families.h"
#include "FishRig.h"
#include "Paint.h"

namespace bw::art {

namespace {

Fin finAlong(const FishRig& rig, std::initializer_list<std::pair<double, double>> edge, double u1,
             double u2, bool top) {
    Fin fin;
    const double side = top ? -1.0 : 1.0;
    for (int i = 0; i <= 3; ++i) {
        fin.root.push_back(rig.at(u1 + (u2 - u1) * i / 3.0, side * 0.8));
    }
    // edge: (u, height above the body surface)
    for (const auto& [u, h] : edge) {
        const double half = top ? rig.halfTop(u) : rig.halfBottom(u);
        fin.edge.push_back(rig.spine(u, side * (half + h)));
    }
    return fin;
}

QImage finishCreature(QImage sprite, bool swimsLeft) {
    return swimsLeft ? sprite.mirrored(true, false) : sprite;
}

}  // namespace

// Seen from the side; its flukes beat up and down, so the whole rear body bends vertically.
QImage paintDolphin(const Asset& asset, int image, double scale) {
    QImage sprite = newSprite(asset.size, scale);
    QPainter p(&sprite);
    setupPainter(p);
    const FishPose pose = poseForImage(image, asset.images);
    FishRig rig(
        44, 208, 50,
        Profile{{0, 4},
                {0.12, 8},
                {0.35, 20},
                {0.58, 27},
                {0.76, 25},
                {0.87, 17},
                {0.905, 9},
                {0.94, 5},
                {1.0, 2.5}},
        Profile{
            {0, 4}, {0.12, 8}, {0.35, 18}, {0.58, 23}, {0.78, 19}, {0.88, 11}, {0.93, 5}, {1.0, 2}},
        pose, 11.0, 24, 0.0);
    const QColor back(74, 96, 118), flank(142, 160, 176), belly(232, 236, 240);
    const FinStyle finStyle{QColor(80, 100, 122), QColor(110, 128, 146), QColor(60, 78, 96), 0,
                            1.0};
    // Flukes: a flat blade seen edge-on from the side, tilting with each beat.
    Fin flukes;
    flukes.root = {rig.tail(-3, -4), rig.tail(-3, 4)};
    flukes.edge = {rig.tail(8, -6), rig.tail(22, -7), rig.tail(36, -3), rig.tail(38, 0.5),
                   rig.tail(30, 4), rig.tail(16, 6),  rig.tail(6, 5)};
    drawFin(p, flukes, finStyle);
    // Falcate dorsal fin, its tip swept back.
    drawFin(p, finAlong(rig, {{0.45, 12}, {0.43, 28}, {0.5, 24}, {0.6, 10}}, 0.47, 0.64, true),
            finStyle);
    drawBody(p, rig, {back, flank, belly, QColor(40, 52, 66), 0.0, QColor(), 0.6, false},
             [&](QPainter& q) {
                 // The pale flank blaze and the dark cape over the back.
                 QPainterPath cape;
                 cape.moveTo(rig.at(0.95, -0.3));
                 cape.cubicTo(rig.at(0.8, -0.1), rig.at(0.55, -0.6), rig.at(0.3, -0.2));
                 cape.lineTo(rig.at(0.0, -0.1));
                 cape.lineTo(rig.at(0.0, -1.5));
                 cape.lineTo(rig.at(1.0, -1.5));
                 cape.closeSubpath();
                 q.setPen(Qt::NoPen);
                 q.setBrush(withAlpha(shade(back, 0.85), 0.55));
                 q.drawPath(cape);
                 QPainterPath blaze;
                 blaze.moveTo(rig.at(0.7, 0.3));
                 blaze.cubicTo(rig.at(0.55, -0.1), rig.at(0.4, 0.1), rig.at(0.25, 0.35));
                 blaze.cubicTo(rig.at(0.4, 0.7), rig.at(0.6, 0.7), rig.at(0.7, 0.3));
                 q.setBrush(QColor(220, 228, 236, 110));
                 q.drawPath(blaze);
             });
    // Mouth line along the beak and the melon crease.
    p.setPen(QPen(QColor(40, 50, 60, 160), 1.0, Qt::SolidLine, Qt::RoundCap));
    QPainterPath mouth;
    mouth.moveTo(rig.at(1.0, 0.3));
    mouth.quadTo(rig.at(0.95, 0.55), rig.at(0.89, 0.25));
    p.drawPath(mouth);
    p.setPen(QPen(QColor(50, 64, 80, 90), 1.0));
    QPainterPath crease;
    crease.moveTo(rig.at(0.935, -0.95));
    crease.quadTo(rig.at(0.92, -0.5), rig.at(0.925, -0.1));
    p.drawPath(crease);
    Fin flipper;
    const QPointF shoulder = rig.at(0.76, 0.45);
    const double a = (130 + 14 * pose.flutter) * kDegree;
    const QPointF dir(std::cos(a), std::sin(a)), normal(-std::sin(a), std::cos(a));
    flipper.root = {shoulder + normal * 4.5, shoulder - normal * 4.5};
    flipper.edge = {shoulder + normal * 5 + dir * 10, shoulder + dir * 24 + normal * 1.5,
                    shoulder + dir * 26, shoulder + dir * 18 - normal * 3};
    drawFin(p, flipper, {QColor(96, 114, 134), QColor(120, 136, 154), QColor(60, 78, 96), 0, 1.0});
    drawEye(p, rig.at(0.885, 0.02), 2.6, QColor(40, 36, 34));
    p.end();
    return finishCreature(sprite, true);
}

// A grey reef shark; the tall tail sweeps from side to side.
QImage paintShark(const Asset& asset, int image, double scale) {
    QImage sprite = newSprite(asset.size, scale);
    QPainter p(&sprite);
    setupPainter(p);
    const FishPose pose = poseForImage(image, asset.images);
    FishRig rig(
        66, 248, 58,
        Profile{{0, 5}, {0.15, 10}, {0.45, 22}, {0.65, 25}, {0.82, 20}, {0.93, 12}, {1.0, 3}},
        Profile{{0, 5}, {0.15, 8}, {0.45, 18}, {0.65, 20}, {0.82, 15}, {0.93, 8}, {1.0, 3}}, pose,
        4.0, 9, 0.45);
    const QColor back(84, 100, 116), flank(124, 140, 154), belly(236, 238, 240);
    const FinStyle finStyle{QColor(88, 104, 120), QColor(70, 84, 98), QColor(60, 72, 86), 0, 1.0};
    Fin tail;
    tail.root = {rig.tail(-3, -5), rig.tail(-3, 5)};
    for (const QPointF& e :
         {QPointF(10, -8), QPointF(34, -28), QPointF(60, -48), QPointF(54, -34), QPointF(34, -8),
          QPointF(28, 2), QPointF(36, 18), QPointF(32, 22), QPointF(16, 12), QPointF(6, 7)}) {
        tail.edge.push_back(rig.tail(e.x(), e.y()));
    }
    drawFin(p, tail, finStyle);
    // The far pectoral fin shows a little behind the body.
    drawFin(p, finAlong(rig, {{0.62, 6}, {0.66, 14}, {0.72, 4}}, 0.66, 0.76, false),
            {QColor(70, 84, 98), QColor(60, 72, 86), QColor(50, 60, 70), 0, 1.0});
    drawFin(p, finAlong(rig, {{0.46, 6}, {0.47, 20}, {0.5, 34}, {0.6, 16}}, 0.5, 0.66, true),
            finStyle);
    drawFin(p, finAlong(rig, {{0.1, 3}, {0.1, 9}, {0.16, 4}}, 0.11, 0.18, true), finStyle);
    drawFin(p, finAlong(rig, {{0.1, 3}, {0.1, 8}, {0.15, 4}}, 0.11, 0.17, false), finStyle);
    drawFin(p, finAlong(rig, {{0.3, 4}, {0.3, 10}, {0.36, 4}}, 0.31, 0.38, false), finStyle);
    drawBody(p, rig, {back, flank, belly, QColor(44, 54, 64), 0.0, QColor(), 0.55, false},
             [&](QPainter& q) {
                 // Countershading: a clear line between grey back and white belly.
                 QPainterPath whiteBelly;
                 whiteBelly.moveTo(rig.at(0.96, 0.4));
                 for (int i = 0; i <= 12; ++i) {
                     const double u = 0.96 - i * 0.08;
                     whiteBelly.lineTo(rig.at(u, 0.25 + 0.1 * std::sin(i * 1.3)));
                 }
                 whiteBelly.lineTo(rig.at(0.0, 1.5));
                 whiteBelly.lineTo(rig.at(1.0, 1.5));
                 whiteBelly.closeSubpath();
                 q.setPen(Qt::NoPen);
                 q.setBrush(QColor(238, 240, 242, 130));
                 q.drawPath(whiteBelly);
                 q.setPen(QPen(QColor(50, 60, 72, 150), 1.0, Qt::SolidLine, Qt::RoundCap));
                 for (int i = 0; i < 5; ++i) {
                     const double u = 0.72 + i * 0.022;
                     QPainterPath slit;
                     slit.moveTo(rig.at(u, -0.35));
                     slit.quadTo(rig.at(u - 0.012, 0.05), rig.at(u, 0.4));
                     q.drawPath(slit);
                 }
             });
    // The big near pectoral fin, sweeping back and down.
    Fin pectoral;
    const QPointF shoulder = rig.at(0.7, 0.55);
    const double a = (128 + 6 * pose.flutter) * kDegree;
    const QPointF dir(std::cos(a), std::sin(a)), normal(-std::sin(a), std::cos(a));
    pectoral.root = {shoulder + normal * 7, shoulder - normal * 6};
    pectoral.edge = {shoulder + normal * 9 + dir * 14, shoulder + dir * 38 + normal * 4,
                     shoulder + dir * 40, shoulder + dir * 22 - normal * 5};
    drawFin(p, pectoral, {QColor(92, 108, 124), QColor(76, 90, 104), QColor(60, 72, 86), 0, 1.0});
    QPainterPath mouth;
    mouth.moveTo(rig.at(0.955, 0.75));
    mouth.quadTo(rig.at(0.9, 0.95), rig.at(0.86, 0.6));
    p.setPen(QPen(QColor(40, 40, 46, 170), 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(mouth);
    drawEye(p, rig.at(0.915, -0.22), 2.6, QColor(30, 34, 40));
    p.end();
    return finishCreature(sprite, false);
}

// A green sea turtle rowing with its long front flippers.
QImage paintTurtle(const Asset& asset, int image, double scale) {
    QImage sprite = newSprite(asset.size, scale);
    QPainter p(&sprite);
    setupPainter(p);
    const double t = (image - 1.0) / (asset.images - 1.0);
    const double stroke = std::sin(std::numbers::pi * (t - 0.5));  // -1 up .. 1 down
    const QColor skin(112, 128, 96), skinDark(70, 84, 60), shellDark(74, 56, 30),
        shellLight(176, 132, 64);

    auto flipper = [&](QPointF pivot, double angleDeg, double length, double width,
                       const QColor& colour) {
        const double a = angleDeg * kDegree;
        const QPointF d(std::cos(a), std::sin(a)), n(-std::sin(a), std::cos(a));
        std::vector<QPointF> pts = {pivot + n * width * 0.45,
                                    pivot + d * length * 0.35 + n * width * 0.55,
                                    pivot + d * length * 0.75 + n * width * 0.3,
                                    pivot + d * length,
                                    pivot + d * length * 0.7 - n * width * 0.15,
                                    pivot + d * length * 0.3 - n * width * 0.4,
                                    pivot - n * width * 0.45};
        const QPainterPath path = smoothPath(pts, true);
        p.setPen(QPen(shade(colour, 0.55), 1.0));
        p.setBrush(verticalGradient(path.boundingRect().top(), path.boundingRect().bottom(),
                                    {{0.0, shade(colour, 1.15)}, {1.0, shade(colour, 0.8)}}));
        p.drawPath(path);
        // Pale scales on the skin.
        p.save();
        p.setClipPath(path);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(220, 226, 190, 90));
        for (int i = 1; i < 7; ++i) {
            const QPointF c = pivot + d * length * (i / 7.5) + n * width * 0.08 * ((i % 2) - 0.5);
            p.drawEllipse(c, width * 0.14, width * 0.1);
        }
        p.restore();
    };

    // Far-side flippers, darker, stroking opposite to the near ones.
    flipper(QPointF(146, 70), 175 - 45 * stroke, 64, 17, shade(skin, 0.7));
    flipper(QPointF(48, 70), 168 + 12 * stroke, 24, 12, shade(skin, 0.7));
    // Head and neck.
    QPainterPath head;
    head.moveTo(144, 52);
    head.cubicTo(160, 40, 178, 38, 190, 44);
    head.cubicTo(199, 50, 199, 62, 190, 68);
    head.cubicTo(178, 75, 160, 74, 144, 72);
    head.closeSubpath();
    p.setPen(QPen(skinDark, 1.0));
    p.setBrush(verticalGradient(42, 72, {{0.0, shade(skin, 1.1)}, {1.0, QColor(190, 196, 160)}}));
    p.drawPath(head);
    p.save();
    p.setClipPath(head);
    p.setPen(QPen(QColor(60, 70, 50, 120), 0.8));
    p.setBrush(QColor(150, 160, 120, 120));
    for (auto [x, y, w, h] :
         {std::tuple{172.0, 47.0, 8.0, 6.0}, std::tuple{180.0, 50.0, 7.0, 5.0},
          std::tuple{165.0, 52.0, 7.0, 6.0}, std::tuple{158.0, 48.0, 6.0, 5.0}}) {
        p.drawRoundedRect(QRectF(x, y, w, h), 2, 2);
    }
    p.restore();
    p.setPen(QPen(QColor(40, 40, 30, 170), 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(198, 60), QPointF(185, 63));
    drawEye(p, QPointF(182, 52), 3.4, QColor(60, 50, 30));
    // Shell: a domed carapace above a flat pale plastron.
    QPainterPath shell = smoothPath({{22, 68},
                                     {40, 42},
                                     {74, 28},
                                     {112, 27},
                                     {144, 36},
                                     {158, 58},
                                     {150, 76},
                                     {110, 82},
                                     {60, 82},
                                     {30, 78}},
                                    true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(226, 206, 140));
    p.drawPath(smoothPath({{30, 76}, {60, 88}, {110, 90}, {150, 80}, {150, 70}, {30, 70}}, true));
    QRadialGradient shellLightGrad(QPointF(92, 30), 80);
    shellLightGrad.setColorAt(0.0, shellLight);
    shellLightGrad.setColorAt(0.7, shade(shellLight, 0.7));
    shellLightGrad.setColorAt(1.0, shellDark);
    p.setBrush(shellLightGrad);
    p.drawPath(shell);
    p.save();
    p.setClipPath(shell);
    // Scutes: a row along the ridge, a row on the flank, small plates round the rim.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(60, 40, 20, 200), 1.3));
    QPainterPath ridgeLine;
    ridgeLine.moveTo(30, 62);
    ridgeLine.cubicTo(60, 46, 120, 44, 156, 56);
    p.drawPath(ridgeLine);
    QPainterPath rimLine;
    rimLine.moveTo(28, 72);
    rimLine.cubicTo(60, 74, 120, 76, 156, 64);
    p.drawPath(rimLine);
    for (double x : {52.0, 76.0, 100.0, 124.0, 146.0}) {
        p.drawLine(QPointF(x - 4, 20), QPointF(x, 50));
        p.drawLine(QPointF(x, 50), QPointF(x + 2, 74));
    }
    for (double x = 34; x < 160; x += 11) {
        p.drawLine(QPointF(x, 72), QPointF(x + 1, 84));
    }
    Rng rng(31);
    for (double x : {40.0, 64.0, 88.0, 112.0, 136.0}) {
        for (double y : {38.0, 62.0}) {
            QRadialGradient glow(QPointF(x + rng.range(-3, 3), y + rng.range(-3, 3)), 14);
            glow.setColorAt(0.0, QColor(236, 186, 96, 150));
            glow.setColorAt(1.0, QColor(236, 186, 96, 0));
            p.setPen(Qt::NoPen);
            p.setBrush(glow);
            p.drawEllipse(QPointF(x, y), 16, 16);
        }
    }
    // Rays of darker pigment fanning in each plate.
    p.setPen(QPen(QColor(70, 44, 20, 60), 1.0));
    for (int i = 0; i < 60; ++i) {
        const QPointF c(rng.range(30, 156), rng.range(18, 78));
        const double ang = rng.range(0, 2 * std::numbers::pi);
        p.drawLine(c, c + QPointF(std::cos(ang), std::sin(ang)) * rng.range(3, 8));
    }
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(244, 226, 180, 120), 2.0));
    p.drawArc(QRectF(44, 28, 100, 50), 40 * 16, 100 * 16);
    p.setPen(QPen(QColor(50, 34, 16, 220), 1.1));
    p.drawPath(shell);
    // Near-side flippers.
    flipper(QPointF(52, 74), 172 - 15 * stroke, 28, 13, skin);
    flipper(QPointF(142, 72), 165 + 50 * stroke, 76 * (0.82 + 0.18 * std::cos(stroke * 1.3)), 21,
            skin);
    p.end();
    return finishCreature(sprite, true);
}

// Small far-away silhouettes: dark blue-grey, low contrast, a beat of the tail.
QImage paintDarkFish(const Asset& asset, int image, double scale) {
    QImage sprite = newSprite(asset.size, scale);
    QPainter p(&sprite);
    setupPainter(p);
    const double w = asset.size.width(), h = asset.size.height();
    const double beat = image == 1 ? 0.0 : (image == 2 ? -1.0 : 1.0);
    const FishPose pose{beat, 0};
    struct Shape {
        double depth, snout;
        bool forked;
    };
    const Shape shapes[] = {{0.32, 0.5, true},
                            {0.42, 0.7, false},
                            {0.36, 0.4, true},
                            {0.3, 0.6, true},
                            {0.28, 0.5, false}};
    const Shape& s = shapes[(asset.variant - 1) % 5];
    const double half = h * s.depth;
    FishRig rig(w * 0.26, w - 1.5, h * 0.5,
                Profile{{0, half * 0.3},
                        {0.3, half * 0.8},
                        {0.6, half},
                        {0.85, half * 0.75},
                        {1.0, half * 0.2 * s.snout}},
                Profile{{0, half * 0.3},
                        {0.3, half * 0.75},
                        {0.6, half * 0.9},
                        {0.85, half * 0.6},
                        {1.0, half * 0.2}},
                pose, h * 0.08, 14, 0.3);
    const QColor body(44, 66, 86), light(66, 92, 110);
    Fin tail;
    tail.root = {rig.tail(-1, -half * 0.3), rig.tail(-1, half * 0.3)};
    const double L = w * 0.25, H = h * 0.42;
    if (s.forked) {
        tail.edge = {rig.tail(L, -H), rig.tail(L * 0.6, 0), rig.tail(L, H)};
    } else {
        tail.edge = {rig.tail(L * 0.8, -H * 0.9), rig.tail(L, 0), rig.tail(L * 0.8, H * 0.9)};
    }
    drawFin(p, tail, {body, body, body, 0, 0.9});
    Fin dorsal;
    dorsal.root = {rig.at(0.35, -0.8), rig.at(0.65, -0.8)};
    dorsal.edge = {rig.spine(0.38, -half - h * 0.18), rig.spine(0.52, -half - h * 0.12)};
    drawFin(p, dorsal, {body, body, body, 0, 0.8});
    drawBody(p, rig, {body, shade(body, 1.05), light, shade(body, 0.8), 0.0, QColor(), 0.18, false},
             nullptr);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(24, 36, 48, 200));
    p.drawEllipse(rig.at(0.86, -0.2), h * 0.07, h * 0.07);
    p.end();
    const bool swimsLeft = asset.variant == 2 || asset.variant == 3;
    return finishCreature(sprite, swimsLeft);
}

}  // namespace bw::art
