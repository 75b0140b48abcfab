// The sunken artifacts: stone and metal with texture, weathering, algae and a little sand at
// the foot, muted by the water. Those standing further back are hazier.

#include <cmath>
#include <numbers>

#include "Families.h"
#include "Paint.h"

namespace bw::art {

namespace {

constexpr double kPi = std::numbers::pi;

void fill(QPainter& p, const QPainterPath& path, const QBrush& brush, const QColor& edge) {
    p.setPen(QPen(edge, 1.0));
    p.setBrush(brush);
    p.drawPath(path);
}

QPainterPath rect(double x, double y, double w, double h) {
    QPainterPath path;
    path.addRect(QRectF(x, y, w, h));
    return path;
}

// Lit from the upper left: a horizontal gradient across a rounded form.
QLinearGradient roundLight(double left, double right, const QColor& c) {
    QLinearGradient g(left, 0, right, 0);
    g.setColorAt(0.0, shade(c, 0.8));
    g.setColorAt(0.3, shade(c, 1.2));
    g.setColorAt(0.75, c);
    g.setColorAt(1.0, shade(c, 0.55));
    return g;
}

void column(QPainter& p, double x, double top, double width, double bottom, const QColor& c,
            bool broken, uint32_t seed) {
    Rng rng(seed);
    const QColor edge = shade(c, 0.5);
    fill(p, rect(x - 4, bottom - 8, width + 8, 8), roundLight(x - 4, x + width + 4, c), edge);
    QPainterPath shaft;
    if (broken) {
        shaft.moveTo(x + 1, bottom - 8);
        shaft.lineTo(x + 1, top + 6);
        for (int i = 1; i <= 5; ++i) {
            shaft.lineTo(x + 1 + (width - 2) * i / 5.0, top + rng.range(0, 14));
        }
        shaft.lineTo(x + width - 1, bottom - 8);
        shaft.closeSubpath();
    } else {
        shaft = rect(x + 1, top + 12, width - 2, bottom - top - 20);
        fill(p, rect(x - 5, top, width + 10, 7), roundLight(x - 5, x + width + 5, c), edge);
        fill(p, rect(x - 2, top + 7, width + 4, 5), roundLight(x - 2, x + width + 2, c), edge);
    }
    fill(p, shaft, roundLight(x, x + width, c), edge);
    p.setPen(QPen(withAlpha(shade(c, 0.6), 0.7), 1.0));
    for (double fx = x + width / 6; fx < x + width - 2; fx += width / 6) {
        p.drawLine(QPointF(fx, top + (broken ? 16 : 14)), QPointF(fx, bottom - 10));
    }
}

void archWindow(QPainter& p, QRectF r, const QColor& dark) {
    QPainterPath arch;
    arch.moveTo(r.left(), r.bottom());
    arch.lineTo(r.left(), r.top() + r.width() / 2);
    arch.arcTo(QRectF(r.left(), r.top(), r.width(), r.width()), 180, -180);
    arch.lineTo(r.right(), r.bottom());
    arch.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(verticalGradient(r.top(), r.bottom(), {{0.0, dark}, {1.0, shade(dark, 1.6)}}));
    p.drawPath(arch);
}

void crenellated(QPainter& p, double x, double y, double w, double h, const QColor& c,
                 int merlons) {
    fill(p, rect(x, y, w, h), roundLight(x, x + w, c), shade(c, 0.5));
    const double step = w / (2 * merlons - 1);
    for (int i = 0; i < merlons; ++i) {
        fill(p, rect(x + 2 * i * step, y - 8, step, 8), roundLight(x, x + w, c), shade(c, 0.5));
    }
}

void blockLines(QPainter& p, QRectF area, double rowHeight, double blockWidth, const QColor& c) {
    p.setPen(QPen(withAlpha(shade(c, 0.55), 0.55), 0.8));
    int row = 0;
    for (double y = area.top() + rowHeight; y < area.bottom(); y += rowHeight, ++row) {
        p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        for (double x = area.left() + (row % 2) * blockWidth / 2; x < area.right();
             x += blockWidth) {
            p.drawLine(QPointF(x, y - rowHeight), QPointF(x, y));
        }
    }
}

void castle(QPainter& p, double w, double h) {
    const QColor stone(176, 164, 138), dark(30, 34, 40);
    sandFoot(p, QRectF(0, h - 16, w, 16), 1);
    crenellated(p, 60, 50, 120, h - 62, stone, 6);
    blockLines(p, QRectF(60, 50, 120, h - 62), 10, 20, stone);
    for (double x : {14.0, 186.0}) {
        crenellated(p, x, 40, 40, h - 52, shade(stone, 0.95), 3);
        blockLines(p, QRectF(x, 40, 40, h - 52), 10, 14, stone);
        QPainterPath roof;
        roof.moveTo(x - 4, 32);
        roof.lineTo(x + 20, 2);
        roof.lineTo(x + 44, 32);
        roof.closeSubpath();
        fill(p, roof, roundLight(x - 4, x + 44, QColor(120, 70, 60)), QColor(60, 30, 25));
        archWindow(p, QRectF(x + 14, 56, 12, 20), dark);
    }
    crenellated(p, 100, 20, 40, 40, stone, 3);
    archWindow(p, QRectF(112, 28, 16, 24), dark);
    archWindow(p, QRectF(100, h - 52, 40, 40), dark);
    // Portcullis bars.
    p.setPen(QPen(QColor(70, 60, 50, 200), 1.4));
    for (double x = 106; x < 140; x += 6) {
        p.drawLine(QPointF(x, h - 44), QPointF(x, h - 12));
    }
    archWindow(p, QRectF(72, 70, 12, 18), dark);
    archWindow(p, QRectF(156, 70, 12, 18), dark);
}

void anchor(QPainter& p, double w, double h) {
    const QColor iron(92, 70, 58);
    sandFoot(p, QRectF(8, h - 18, w - 16, 18), 2);
    p.save();
    p.translate(w / 2, h / 2 + 4);
    p.rotate(-62);
    // Shank, stock, crown with arms and flukes, ring.
    fill(p, rect(-4, -52, 8, 92), roundLight(-4, 4, iron), shade(iron, 0.5));
    fill(p, rect(-26, -44, 52, 6), verticalGradient(-44, -38, {{0, shade(iron, 1.2)}, {1, iron}}),
         shade(iron, 0.5));
    QPainterPath arms;
    arms.moveTo(-34, 18);
    arms.quadTo(0, 56, 34, 18);
    arms.lineTo(30, 16);
    arms.quadTo(0, 46, -30, 16);
    arms.closeSubpath();
    fill(p, arms, roundLight(-34, 34, iron), shade(iron, 0.5));
    for (double s : {-1.0, 1.0}) {
        QPainterPath fluke;
        fluke.moveTo(s * 34, 18);
        fluke.lineTo(s * 40, 6);
        fluke.lineTo(s * 26, 14);
        fluke.closeSubpath();
        fill(p, fluke, QBrush(shade(iron, 1.1)), shade(iron, 0.5));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(shade(iron, 0.5), 5.5));
    p.drawEllipse(QPointF(0, -58), 8, 8);
    p.setPen(QPen(shade(iron, 1.15), 3.5));
    p.drawEllipse(QPointF(0, -58), 8, 8);
    p.restore();
}

void city(QPainter& p, double w, double h) {
    Rng rng(3);
    const QColor stone(150, 150, 140), dark(40, 50, 60);
    double x = 6;
    while (x < w - 30) {
        const double bw = rng.range(28, 56), bh = rng.range(40, h - 30);
        const QColor c = mix(stone, QColor(170, 150, 120), rng.uniform());
        fill(p, rect(x, h - bh, bw, bh), roundLight(x, x + bw, c), shade(c, 0.5));
        const int kind = rng.integer(0, 2);
        if (kind == 0) {  // dome
            QPainterPath dome;
            dome.moveTo(x + 2, h - bh);
            dome.cubicTo(x + 2, h - bh - bw * 0.6, x + bw - 2, h - bh - bw * 0.6, x + bw - 2,
                         h - bh);
            fill(p, dome, roundLight(x, x + bw, shade(c, 1.05)), shade(c, 0.5));
        } else if (kind == 1) {  // spire
            QPainterPath spire;
            spire.moveTo(x + bw * 0.3, h - bh);
            spire.lineTo(x + bw / 2, h - bh - bw * 0.9);
            spire.lineTo(x + bw * 0.7, h - bh);
            fill(p, spire, roundLight(x, x + bw, c), shade(c, 0.5));
        }
        for (double wy = h - bh + 10; wy < h - 16; wy += 18) {
            for (double wx = x + 6; wx < x + bw - 10; wx += 12) {
                if (rng.chance(0.8)) {
                    archWindow(p, QRectF(wx, wy, 6, 11), dark);
                }
            }
        }
        x += bw + rng.range(-6, 4);
    }
    sandFoot(p, QRectF(0, h - 14, w, 14), 3);
}

void horse(QPainter& p, double w, double h) {
    const QColor wood(150, 108, 66);
    sandFoot(p, QRectF(10, h - 16, w - 20, 16), 4);
    // Platform on wheels.
    fill(p, rect(20, h - 62, w - 40, 22), roundLight(20, w - 20, shade(wood, 0.85)),
         shade(wood, 0.4));
    for (double x : {50.0, 120.0, 190.0, 240.0}) {
        p.setPen(QPen(QColor(60, 40, 24), 2));
        p.setBrush(roundLight(x - 18, x + 18, shade(wood, 0.8)));
        p.drawEllipse(QPointF(x, h - 34), 17, 17);
        p.drawLine(QPointF(x - 14, h - 34), QPointF(x + 14, h - 34));
        p.drawLine(QPointF(x, h - 48), QPointF(x, h - 20));
    }
    // Legs, body, neck, head.
    for (double x : {60.0, 84.0, 178.0, 202.0}) {
        fill(p, rect(x, 170, 16, h - 232), roundLight(x, x + 16, wood), shade(wood, 0.4));
    }
    QPainterPath body;
    body.addRoundedRect(QRectF(44, 110, 180, 70), 30, 30);
    fill(p, body, verticalGradient(110, 180, {{0, shade(wood, 1.2)}, {1, shade(wood, 0.7)}}),
         shade(wood, 0.4));
    QPainterPath neck;
    neck.moveTo(180, 126);
    neck.lineTo(206, 40);
    neck.lineTo(236, 40);
    neck.lineTo(224, 140);
    neck.closeSubpath();
    fill(p, neck, roundLight(180, 236, wood), shade(wood, 0.4));
    QPainterPath head;
    head.moveTo(200, 52);
    head.lineTo(214, 14);
    head.lineTo(250, 28);
    head.lineTo(266, 62);
    head.lineTo(252, 72);
    head.lineTo(226, 62);
    head.closeSubpath();
    fill(p, head, roundLight(200, 266, shade(wood, 1.05)), shade(wood, 0.4));
    QPainterPath ear;
    ear.moveTo(214, 16);
    ear.lineTo(218, 2);
    ear.lineTo(226, 18);
    fill(p, ear, QBrush(wood), shade(wood, 0.4));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 20, 14));
    p.drawEllipse(QPointF(232, 36), 3.5, 3.5);
    // Mane and tail of rope.
    p.setPen(QPen(QColor(90, 70, 40), 4, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 6; ++i) {
        p.drawLine(QPointF(206 + i * 2, 44 + i * 14), QPointF(198 + i * 2, 50 + i * 14));
    }
    QPainterPath tail;
    tail.moveTo(46, 130);
    tail.cubicTo(26, 140, 24, 180, 30, 210);
    p.setPen(QPen(QColor(90, 70, 40), 6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tail);
    // Planks.
    p.setPen(QPen(QColor(80, 54, 30, 160), 1.0));
    for (double y = 118; y < 178; y += 9) {
        p.drawLine(QPointF(50, y), QPointF(218, y));
    }
    p.setPen(QPen(QColor(80, 54, 30, 200), 1.6));
    p.drawRect(QRectF(100, 124, 34, 26));  // the hatch the Greeks hid behind
}

void liberty(QPainter& p, double w, double h) {
    const QColor copper(112, 172, 150), stone(150, 144, 128);
    const QColor edge = shade(copper, 0.45);
    sandFoot(p, QRectF(60, h - 18, w - 120, 18), 5);
    // Pedestal.
    fill(p, rect(86, 300, 108, h - 312), roundLight(86, 194, stone), shade(stone, 0.5));
    fill(p, rect(78, 292, 124, 12), roundLight(78, 202, shade(stone, 1.1)), shade(stone, 0.5));
    fill(p, rect(80, h - 24, 120, 14), roundLight(80, 200, shade(stone, 0.95)), shade(stone, 0.5));
    blockLines(p, QRectF(86, 304, 108, h - 330), 16, 36, stone);
    // Robe, falling in folds to the feet.
    QPainterPath robe;
    robe.moveTo(118, 128);
    robe.cubicTo(108, 180, 100, 240, 98, 292);
    robe.lineTo(182, 292);
    robe.cubicTo(180, 240, 174, 180, 164, 128);
    robe.quadTo(141, 118, 118, 128);
    fill(p, robe, roundLight(98, 182, copper), edge);
    p.setPen(QPen(withAlpha(shade(copper, 0.55), 0.8), 1.2));
    for (int i = 0; i < 7; ++i) {
        QPainterPath fold;
        const double x = 110 + i * 10;
        fold.moveTo(x + 6, 140);
        fold.cubicTo(x + 2, 200, x - 2, 250, x - 4 + i, 290);
        p.drawPath(fold);
    }
    // Sash across the chest.
    p.setPen(QPen(shade(copper, 0.7), 3));
    p.drawLine(QPointF(120, 140), QPointF(168, 190));
    // Raised arm with the torch.
    QPainterPath arm;
    arm.moveTo(116, 136);
    arm.lineTo(100, 52);
    arm.lineTo(112, 50);
    arm.lineTo(128, 132);
    arm.closeSubpath();
    fill(p, arm, roundLight(100, 128, copper), edge);
    fill(p, rect(98, 36, 16, 16), roundLight(98, 114, shade(copper, 0.9)), edge);
    QPainterPath cup;
    cup.moveTo(92, 36);
    cup.lineTo(120, 36);
    cup.lineTo(114, 28);
    cup.lineTo(98, 28);
    cup.closeSubpath();
    fill(p, cup, roundLight(92, 120, copper), edge);
    QPainterPath flame;
    flame.moveTo(98, 28);
    flame.cubicTo(92, 14, 106, 10, 105, 2);
    flame.cubicTo(112, 10, 118, 16, 114, 28);
    flame.closeSubpath();
    QRadialGradient glow(QPointF(106, 18), 14);
    glow.setColorAt(0.0, QColor(255, 236, 150));
    glow.setColorAt(1.0, QColor(220, 160, 60));
    fill(p, flame, glow, QColor(150, 100, 30));
    // Tablet in the other arm.
    QPainterPath tablet;
    tablet.moveTo(160, 150);
    tablet.lineTo(184, 146);
    tablet.lineTo(188, 204);
    tablet.lineTo(164, 208);
    tablet.closeSubpath();
    fill(p, tablet, roundLight(160, 188, shade(copper, 1.05)), edge);
    fill(p, rect(156, 176, 16, 10), QBrush(copper), edge);
    // Head and crown.
    p.setPen(QPen(edge, 1));
    p.setBrush(roundLight(128, 154, copper));
    p.drawEllipse(QPointF(141, 110), 12, 14);
    p.setPen(QPen(shade(copper, 1.1), 3, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 7; ++i) {
        const double a = (-150 + i * 20) * kPi / 180;
        const QPointF from(141 + std::cos(a) * 12, 100 + std::sin(a) * 9);
        p.drawLine(from, from + QPointF(std::cos(a), std::sin(a)) * 16);
    }
    fill(p, rect(128, 97, 26, 5), QBrush(shade(copper, 0.9)), edge);
    p.setPen(QPen(shade(copper, 0.4), 1.2));
    p.drawLine(QPointF(136, 108), QPointF(139, 108));
    p.drawLine(QPointF(144, 108), QPointF(147, 108));
}

void lighthouse(QPainter& p, double w, double h, bool striped) {
    const QColor white(226, 222, 210), red(170, 56, 48), rock(100, 96, 90);
    drawStone(p, QPointF(w / 2, h - 12), w * 0.5, 12, rock, 0.2, 7);
    const double base = h - 18, top = striped ? 46 : 40;
    const double halfBottom = w * (striped ? 0.34 : 0.4), halfTop = w * 0.2;
    QPainterPath tower;
    tower.moveTo(w / 2 - halfBottom, base);
    tower.lineTo(w / 2 - halfTop, top);
    tower.lineTo(w / 2 + halfTop, top);
    tower.lineTo(w / 2 + halfBottom, base);
    tower.closeSubpath();
    fill(
        p, tower,
        roundLight(w / 2 - halfBottom, w / 2 + halfBottom, striped ? white : QColor(150, 140, 124)),
        QColor(70, 60, 50));
    p.save();
    p.setClipPath(tower);
    if (striped) {
        for (double y = base - 30; y > top; y -= 60) {
            p.fillRect(QRectF(0, y - 26, w, 26), withAlpha(red, 0.9));
        }
    } else {
        blockLines(p, QRectF(0, top, w, base - top), 10, 14, QColor(150, 140, 124));
    }
    QLinearGradient shadeSide(w / 2 - halfBottom, 0, w / 2 + halfBottom, 0);
    shadeSide.setColorAt(0.0, QColor(0, 0, 0, 40));
    shadeSide.setColorAt(0.35, QColor(255, 255, 255, 40));
    shadeSide.setColorAt(1.0, QColor(0, 0, 0, 110));
    p.fillRect(QRectF(0, 0, w, h), shadeSide);
    p.restore();
    archWindow(p, QRectF(w / 2 - 4, base - 24, 8, 16), QColor(30, 30, 34));
    archWindow(p, QRectF(w / 2 - 3, (base + top) / 2, 6, 12), QColor(30, 30, 34));
    // Gallery, lantern room, dome.
    fill(p, rect(w / 2 - halfTop - 6, top - 5, 2 * halfTop + 12, 5), QBrush(QColor(50, 50, 54)),
         QColor(20, 20, 20));
    fill(p, rect(w / 2 - halfTop + 2, top - 26, 2 * halfTop - 4, 21),
         QBrush(QColor(60, 90, 100, 220)), QColor(30, 30, 30));
    QRadialGradient lamp(QPointF(w / 2, top - 15), 14);
    lamp.setColorAt(0.0, QColor(255, 244, 180, 230));
    lamp.setColorAt(1.0, QColor(255, 244, 180, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(lamp);
    p.drawEllipse(QPointF(w / 2, top - 15), 14, 14);
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.drawLine(QPointF(w / 2, top - 26), QPointF(w / 2, top - 5));
    QPainterPath dome;
    dome.moveTo(w / 2 - halfTop - 1, top - 26);
    dome.quadTo(w / 2, top - 48, w / 2 + halfTop + 1, top - 26);
    dome.closeSubpath();
    fill(p, dome, roundLight(w / 2 - halfTop, w / 2 + halfTop, striped ? red : QColor(40, 44, 48)),
         QColor(30, 20, 20));
}

void pyramid(QPainter& p, double w, double h) {
    const QColor lit(200, 178, 130), shadow(130, 110, 80);
    sandFoot(p, QRectF(0, h - 16, w, 16), 8);
    const QPointF apex(w * 0.45, 4), left(4, h - 8), right(w - 4, h - 8), front(w * 0.56, h - 4);
    QPainterPath litFace;
    litFace.moveTo(apex);
    litFace.lineTo(left);
    litFace.lineTo(front);
    litFace.closeSubpath();
    QPainterPath darkFace;
    darkFace.moveTo(apex);
    darkFace.lineTo(front);
    darkFace.lineTo(right);
    darkFace.closeSubpath();
    fill(p, litFace, verticalGradient(0, h, {{0, shade(lit, 1.15)}, {1, lit}}), shade(lit, 0.5));
    fill(p, darkFace, verticalGradient(0, h, {{0, shadow}, {1, shade(shadow, 0.8)}}),
         shade(shadow, 0.5));
    // Courses of blocks.
    p.setPen(QPen(QColor(90, 74, 50, 120), 0.8));
    for (double t = 0.08; t < 1.0; t += 0.07) {
        const QPointF a = apex + (left - apex) * t, b = apex + (front - apex) * t,
                      c = apex + (right - apex) * t;
        p.drawLine(a, b);
        p.drawLine(b, c);
    }
    p.setPen(QPen(QColor(60, 50, 30, 150), 1.0));
    p.drawLine(apex, front);
}

void rome(QPainter& p, double w, double h) {
    const QColor stone(186, 170, 140), dark(40, 42, 46);
    sandFoot(p, QRectF(0, h - 14, w, 14), 9);
    // Two tiers of arches, broken away towards the right.
    QPainterPath ruin;
    ruin.moveTo(4, h - 8);
    ruin.lineTo(4, 20);
    ruin.lineTo(70, 14);
    ruin.lineTo(96, 30);
    ruin.lineTo(120, 40);
    ruin.lineTo(140, 80);
    ruin.lineTo(166, 96);
    ruin.lineTo(190, 130);
    ruin.lineTo(212, 150);
    ruin.lineTo(212, h - 8);
    ruin.closeSubpath();
    fill(p, ruin, verticalGradient(0, h, {{0, shade(stone, 1.1)}, {1, shade(stone, 0.8)}}),
         shade(stone, 0.5));
    p.save();
    p.setClipPath(ruin);
    blockLines(p, QRectF(0, 0, w, h), 12, 26, stone);
    for (int tier = 0; tier < 2; ++tier) {
        const double y = tier == 0 ? 32.0 : 110.0, ah = tier == 0 ? 54.0 : 66.0;
        for (double x = 14; x < w - 10; x += 40) {
            archWindow(p, QRectF(x, y, 26, ah), dark);
        }
        p.fillRect(QRectF(0, y + ah + 2, w, 6), shade(stone, 1.2));
    }
    p.restore();
    drawStone(p, QPointF(180, h - 14), 16, 8, stone, 0.3, 10);
}

void greekStatue(QPainter& p, double w, double h) {
    const QColor marble(222, 218, 206), edge(120, 116, 106);
    sandFoot(p, QRectF(2, h - 14, w - 4, 14), 11);
    fill(p, rect(12, h - 40, w - 24, 30), roundLight(12, w - 12, shade(marble, 0.9)), edge);
    fill(p, rect(8, h - 46, w - 16, 8), roundLight(8, w - 8, marble), edge);
    // Robed figure, weight on one leg.
    QPainterPath robe;
    robe.moveTo(32, 50);
    robe.cubicTo(24, 90, 22, 130, 26, h - 46);
    robe.lineTo(66, h - 46);
    robe.cubicTo(68, 130, 66, 90, 60, 50);
    robe.quadTo(46, 44, 32, 50);
    fill(p, robe, roundLight(22, 68, marble), edge);
    p.setPen(QPen(withAlpha(shade(marble, 0.6), 0.8), 1.0));
    for (int i = 0; i < 5; ++i) {
        QPainterPath fold;
        fold.moveTo(34 + i * 6, 64 + i * 4);
        fold.cubicTo(30 + i * 7, 110, 30 + i * 7, 140, 30 + i * 8, h - 48);
        p.drawPath(fold);
    }
    // Drapery over the shoulder, one arm at the side, the other broken at the elbow.
    QPainterPath arm;
    arm.moveTo(60, 54);
    arm.cubicTo(70, 70, 72, 96, 68, 112);
    arm.lineTo(62, 110);
    arm.cubicTo(64, 94, 62, 74, 56, 62);
    fill(p, arm, roundLight(56, 72, marble), edge);
    QPainterPath stump;
    stump.moveTo(32, 54);
    stump.lineTo(18, 78);
    stump.lineTo(24, 82);
    stump.lineTo(36, 64);
    fill(p, stump, roundLight(18, 36, marble), edge);
    p.setPen(QPen(edge, 1));
    p.setBrush(roundLight(36, 56, marble));
    p.drawEllipse(QPointF(46, 34), 10, 12);
    p.setBrush(roundLight(34, 58, shade(marble, 0.9)));
    p.drawChord(QRectF(35, 20, 22, 16), 0, 180 * 16);  // hair
    fill(p, rect(42, 44, 8, 8), roundLight(42, 50, marble), edge);
}

void totem(QPainter& p, double w, double h) {
    const QColor wood(128, 92, 64), red(160, 60, 44), black(34, 30, 30), teal(60, 130, 120);
    sandFoot(p, QRectF(20, h - 14, w - 40, 14), 12);
    const double x = w / 2 - 20;
    fill(p, rect(x, 30, 40, h - 36), roundLight(x, x + 40, wood), shade(wood, 0.4));
    // Wings of the bird at the top.
    for (double s : {-1.0, 1.0}) {
        QPainterPath wing;
        wing.moveTo(w / 2 + s * 18, 36);
        wing.lineTo(w / 2 + s * 62, 22);
        wing.lineTo(w / 2 + s * 58, 40);
        wing.lineTo(w / 2 + s * 20, 56);
        wing.closeSubpath();
        fill(p, wing, roundLight(w / 2 - 62, w / 2 + 62, teal), shade(teal, 0.4));
        p.setPen(QPen(black, 1.5));
        for (int i = 1; i < 4; ++i) {
            p.drawLine(QPointF(w / 2 + s * (20 + i * 10), 52 - i * 4),
                       QPointF(w / 2 + s * (24 + i * 10), 30 - i * 2));
        }
    }
    // Carved faces stacked down the pole.
    for (int i = 0; i < 3; ++i) {
        const double y = 30 + i * 38;
        QPainterPath brow;
        brow.moveTo(x + 4, y + 12);
        brow.quadTo(w / 2, y + 2, x + 36, y + 12);
        p.setPen(QPen(black, 3, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(brow);
        for (double s : {-1.0, 1.0}) {
            p.setPen(QPen(black, 1));
            p.setBrush(QColor(236, 230, 210));
            p.drawEllipse(QPointF(w / 2 + s * 9, y + 17), 6, 4);
            p.setBrush(black);
            p.drawEllipse(QPointF(w / 2 + s * 9, y + 17), 2.4, 2.4);
        }
        p.setBrush(i == 1 ? teal : red);
        p.setPen(QPen(black, 1));
        if (i == 0) {  // the bird's beak
            QPainterPath beak;
            beak.moveTo(w / 2 - 6, y + 20);
            beak.lineTo(w / 2 + 6, y + 20);
            beak.lineTo(w / 2, y + 36);
            beak.closeSubpath();
            p.setBrush(QColor(200, 150, 60));
            p.drawPath(beak);
        } else {
            p.drawRoundedRect(QRectF(w / 2 - 4, y + 20, 8, 8), 3, 3);
            p.setBrush(red);
            p.drawRoundedRect(QRectF(w / 2 - 10, y + 30, 20, 5), 2, 2);
        }
    }
}

void moai(QPainter& p, double w, double h) {
    const QColor stone(118, 108, 98), edge(50, 44, 40);
    // Platform of fitted stones.
    for (int i = 0; i < 4; ++i) {
        drawStone(p, QPointF(18 + i * 34, h - 16), 18, 14, QColor(100, 94, 88), 0.3 * i, 20 + i);
    }
    // Torso with hands on the belly.
    QPainterPath torso;
    torso.moveTo(22, h - 26);
    torso.cubicTo(18, 220, 24, 190, 34, 168);
    torso.lineTo(106, 168);
    torso.cubicTo(116, 190, 122, 220, 118, h - 26);
    torso.closeSubpath();
    fill(p, torso, roundLight(18, 122, stone), edge);
    p.setPen(QPen(shade(stone, 0.55), 1.5));
    for (double s : {-1.0, 1.0}) {
        QPainterPath arm;
        arm.moveTo(w / 2 + s * 44, 180);
        arm.cubicTo(w / 2 + s * 46, 220, w / 2 + s * 30, 246, w / 2 + s * 6, 250);
        p.drawPath(arm);
    }
    // Long head: heavy brow, long nose, tight lips, long ears.
    QPainterPath head;
    head.moveTo(38, 176);
    head.lineTo(30, 60);
    head.cubicTo(30, 26, 44, 14, 70, 14);
    head.cubicTo(96, 14, 110, 26, 110, 60);
    head.lineTo(102, 176);
    head.closeSubpath();
    fill(p, head, roundLight(30, 110, stone), edge);
    for (double s : {-1.0, 1.0}) {
        QPainterPath ear;
        ear.moveTo(w / 2 + s * 38, 70);
        ear.cubicTo(w / 2 + s * 48, 70, w / 2 + s * 48, 130, w / 2 + s * 38, 136);
        fill(p, ear, QBrush(shade(stone, s < 0 ? 1.05 : 0.8)), edge);
    }
    fill(p, rect(34, 58, 72, 10), QBrush(shade(stone, 1.15)), edge);  // brow ridge
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 36, 34, 200));
    p.drawRoundedRect(QRectF(40, 68, 22, 10), 4, 4);
    p.drawRoundedRect(QRectF(78, 68, 22, 10), 4, 4);
    QPainterPath nose;
    nose.moveTo(64, 66);
    nose.lineTo(76, 66);
    nose.lineTo(84, 120);
    nose.quadTo(70, 128, 56, 120);
    nose.closeSubpath();
    fill(p, nose, roundLight(56, 84, shade(stone, 1.05)), edge);
    p.setPen(QPen(shade(stone, 0.45), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(52, 140), QPointF(88, 140));
    p.setPen(QPen(shade(stone, 0.6), 2));
    p.drawLine(QPointF(46, 162), QPointF(94, 162));
}

void treasure(QPainter& p, double w, double h) {
    const QColor wood(120, 74, 40), gold(232, 186, 60), brass(190, 150, 60);
    sandFoot(p, QRectF(4, h - 16, w - 8, 16), 13);
    // The open lid leaning back.
    QPainterPath lid;
    lid.moveTo(20, 58);
    lid.lineTo(30, 10);
    lid.lineTo(112, 10);
    lid.lineTo(120, 58);
    lid.closeSubpath();
    fill(p, lid, verticalGradient(10, 58, {{0, shade(wood, 0.7)}, {1, shade(wood, 0.5)}}),
         shade(wood, 0.4));
    fill(p, rect(26, 30, 90, 5), QBrush(brass), shade(brass, 0.5));
    // Coins heaped over the rim.
    Rng rng(14);
    QPainterPath heap;
    heap.moveTo(16, 66);
    heap.cubicTo(40, 40, 100, 40, 124, 66);
    heap.closeSubpath();
    fill(p, heap, verticalGradient(40, 66, {{0, shade(gold, 1.3)}, {1, gold}}), shade(gold, 0.6));
    for (int i = 0; i < 40; ++i) {
        const QPointF c(rng.range(24, 116), rng.range(48, 66));
        if (!heap.contains(c)) {
            continue;
        }
        p.setPen(QPen(shade(gold, 0.6), 0.6));
        p.setBrush(shade(gold, rng.range(0.9, 1.3)));
        p.drawEllipse(c, 4.5, 2.6);
    }
    // Chest body with bands and lock.
    fill(p, rect(14, 64, 112, h - 78),
         verticalGradient(64, h - 14, {{0, shade(wood, 1.15)}, {1, shade(wood, 0.75)}}),
         shade(wood, 0.4));
    p.setPen(QPen(QColor(70, 40, 20, 140), 0.8));
    for (double y = 76; y < h - 16; y += 10) {
        p.drawLine(QPointF(16, y), QPointF(124, y));
    }
    for (double x : {14.0, 62.0, 116.0}) {
        fill(p, rect(x, 64, 10, h - 78), roundLight(x, x + 10, brass), shade(brass, 0.5));
    }
    fill(p, rect(62, 74, 16, 18), QBrush(shade(brass, 1.1)), shade(brass, 0.4));
    p.setBrush(QColor(30, 20, 10));
    p.drawEllipse(QPointF(70, 82), 2, 3);
    // Jewels and spilled coins.
    const QColor jewels[] = {QColor(200, 30, 50), QColor(40, 160, 90), QColor(60, 90, 220)};
    for (int i = 0; i < 3; ++i) {
        QRadialGradient g(QPointF(44 + i * 24, 52), 5);
        g.setColorAt(0.0, shade(jewels[i], 1.6));
        g.setColorAt(1.0, jewels[i]);
        p.setPen(QPen(shade(jewels[i], 0.5), 0.6));
        p.setBrush(g);
        p.drawEllipse(QPointF(44 + i * 24, 52), 4.5, 3.8);
    }
    for (int i = 0; i < 7; ++i) {
        p.setPen(QPen(shade(gold, 0.6), 0.6));
        p.setBrush(shade(gold, rng.range(0.9, 1.2)));
        p.drawEllipse(QPointF(rng.range(6, w - 6), h - rng.range(6, 12)), 4.5, 2.2);
    }
}

void columns(QPainter& p, double w, double h) {
    const QColor marble(214, 206, 188);
    sandFoot(p, QRectF(0, h - 14, w, 14), 15);
    fill(p, rect(4, h - 16, w - 8, 10), roundLight(4, w - 4, shade(marble, 0.85)),
         shade(marble, 0.5));
    column(p, 14, 6, 24, h - 14, marble, false, 1);
    column(p, 62, 40, 24, h - 14, marble, true, 2);
    column(p, 110, 20, 24, h - 14, marble, false, 3);
    // A fallen drum in front.
    p.setPen(QPen(shade(marble, 0.5), 1));
    p.setBrush(verticalGradient(h - 30, h - 8, {{0, shade(marble, 1.1)}, {1, shade(marble, 0.6)}}));
    p.drawRoundedRect(QRectF(34, h - 30, 44, 20), 4, 4);
    p.setBrush(shade(marble, 0.8));
    p.drawEllipse(QRectF(74, h - 30, 10, 20));
}

struct Finish {
    double haze;  // further back: hazier and bluer
    double algae;
    double grain;
};

}  // namespace

QImage paintArtifact(const Asset& asset, int, double scale) {
    QImage image = newSprite(asset.size, scale);
    QPainter p(&image);
    setupPainter(p);
    const double w = asset.size.width(), h = asset.size.height();
    Finish finish{0.12, 0.35, 0.2};
    switch (asset.variant) {
        case Castle:
            castle(p, w, h);
            break;
        case Anchor:
            anchor(p, w, h);
            finish = {0.08, 0.25, 0.35};
            break;
        case City:
            city(p, w, h);
            finish = {0.35, 0.3, 0.2};
            break;
        case Horse:
            horse(p, w, h);
            finish = {0.22, 0.3, 0.3};
            break;
        case Liberty:
            liberty(p, w, h);
            finish = {0.22, 0.25, 0.18};
            break;
        case Lighthouse:
            lighthouse(p, w, h, true);
            finish = {0.1, 0.3, 0.15};
            break;
        case Lighthouse2:
            lighthouse(p, w, h, false);
            finish = {0.1, 0.3, 0.15};
            break;
        case Pyramid:
            pyramid(p, w, h);
            finish = {0.25, 0.25, 0.2};
            break;
        case Rome:
            rome(p, w, h);
            finish = {0.22, 0.4, 0.2};
            break;
        case Statue:
            greekStatue(p, w, h);
            finish = {0.2, 0.3, 0.15};
            break;
        case Totem:
            totem(p, w, h);
            finish = {0.04, 0.25, 0.2};
            break;
        case Moai:
            moai(p, w, h);
            finish = {0.22, 0.4, 0.25};
            break;
        case Treasure:
            treasure(p, w, h);
            finish = {0.06, 0.15, 0.12};
            break;
        case Columns:
            columns(p, w, h);
            finish = {0.22, 0.35, 0.18};
            break;
        default:
            break;
    }
    p.end();
    const uint32_t seed = 800u + static_cast<uint32_t>(asset.variant);
    grainNoise(image, 0.12, finish.grain, seed);
    algaeGrowth(image, finish.algae, seed + 1, 0.06);
    topLight(image, 0.35);
    waterHaze(image, sceneWater(), finish.haze);
    return image;
}

}  // namespace bw::art
