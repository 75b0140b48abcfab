// Small plants and corals, the tall side plants, and the dark mounds far behind.

#include <cmath>
#include <numbers>

#include "Families.h"
#include "Paint.h"

namespace bw::art {

namespace {

// A tapered blade from `base`, bending as it rises; lighter and see-through at the tip.
void drawBlade(QPainter& p, QPointF base, double length, double angleDeg, double width, double bend,
               const QColor& colour, bool rib = true) {
    std::vector<QPointF> left, right, spine;
    const int steps = 14;
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const double a = (angleDeg + bend * t * t) * kDegree;
        const QPointF prev = spine.empty() ? base : spine.back();
        const QPointF point =
            i == 0 ? base : prev + QPointF(std::sin(a), -std::cos(a)) * (length / steps);
        spine.push_back(point);
        const double half = width * 0.5 * (1.0 - std::pow(t, 1.4)) *
                            (0.75 + 0.25 * std::sin(t * std::numbers::pi + 0.3));
        const QPointF normal(std::cos(a), std::sin(a));
        left.push_back(point - normal * half);
        right.push_back(point + normal * half);
    }
    std::vector<QPointF> outline(left.begin(), left.end());
    outline.insert(outline.end(), right.rbegin(), right.rend());
    const QPainterPath blade = smoothPath(outline, true);
    QLinearGradient g(spine.front(), spine.back());
    g.setColorAt(0.0, shade(colour, 0.6));
    g.setColorAt(0.6, colour);
    g.setColorAt(1.0, withAlpha(shade(colour, 1.3), 0.55));
    p.setPen(QPen(withAlpha(shade(colour, 0.45), 0.6), 0.7));
    p.setBrush(g);
    p.drawPath(blade);
    if (rib && width > 4) {
        p.setPen(QPen(withAlpha(shade(colour, 1.4), 0.35), 0.8));
        p.setBrush(Qt::NoBrush);
        p.drawPath(smoothPath(std::vector<QPointF>(spine.begin(), spine.end() - 2), false));
    }
}

// Branching coral: limbs fork and thin out; tips paler, with polyp dots.
void drawBranches(QPainter& p, QPointF base, double angleDeg, double length, double thickness,
                  int depth, const QColor& colour, Rng& rng) {
    const double a = angleDeg * kDegree;
    const QPointF mid =
        base + QPointF(std::sin(a), -std::cos(a)) * length * 0.5 + QPointF(rng.range(-2, 2), 0);
    const QPointF end = base + QPointF(std::sin(a), -std::cos(a)) * length;
    QPainterPath limb;
    limb.moveTo(base);
    limb.quadTo(mid, end);
    const QColor c = mix(shade(colour, 0.7), shade(colour, 1.25), 1.0 - depth / 5.0);
    p.setPen(QPen(shade(c, 0.6), thickness + 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(limb);
    p.setPen(QPen(c, thickness, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(limb);
    p.setPen(QPen(withAlpha(shade(c, 1.4), 0.5), std::max(0.6, thickness * 0.3), Qt::SolidLine,
                  Qt::RoundCap));
    p.drawPath(limb.translated(-thickness * 0.2, -thickness * 0.1));
    if (depth == 0 || length < 5) {
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(shade(colour, 1.5), 0.8));
        p.drawEllipse(end, thickness * 0.6, thickness * 0.6);
        return;
    }
    const int forks = rng.integer(2, 3);
    for (int i = 0; i < forks; ++i) {
        const double spread = rng.range(14, 34) * (i - (forks - 1) / 2.0);
        drawBranches(p, end, angleDeg + spread + rng.range(-8, 8), length * rng.range(0.62, 0.82),
                     thickness * 0.72, depth - 1, colour, rng);
    }
}

void baseRock(QPainter& p, double cx, double bottom, double width, uint32_t seed) {
    drawStone(p, QPointF(cx, bottom - width * 0.12), width * 0.5, width * 0.2, QColor(118, 110, 98),
              0.3, seed);
}

void brainCoral(QPainter& p, QRectF box, const QColor& colour, uint32_t seed) {
    QImage dome = newSprite(static_cast<int>(box.width()) + 2, static_cast<int>(box.height()) + 2,
                            p.device()->devicePixelRatio());
    QPainter q(&dome);
    setupPainter(q);
    q.setPen(Qt::NoPen);
    q.setBrush(Qt::white);
    q.drawPath(smoothPath({{1, box.height()},
                           {box.width() * 0.08, box.height() * 0.35},
                           {box.width() * 0.5, 1},
                           {box.width() * 0.92, box.height() * 0.35},
                           {box.width() + 1, box.height()}},
                          true));
    q.end();
    const double cx = box.width() / 2, cy = box.height();
    shadePixels(dome, [&](double x, double y, QColor& c, int) {
        const double groove = ridge(x * 0.16f, y * 0.16f, 2, seed);
        const double r = std::hypot((x - cx) / (box.width() / 2), (y - cy) / box.height());
        const double light = 1.15 - 0.5 * r + 0.25 * (cy - y) / box.height();
        c = shade(mix(shade(colour, 0.55), colour, smoothstep(0.55, 0.85, groove)), light);
    });
    p.drawImage(box.topLeft(), dome);
}

void anemone(QPainter& p, double cx, double bottom, double width, double height,
             const QColor& colour, Rng& rng) {
    // The column, then tentacles waving up from its disc.
    QPainterPath column;
    column.moveTo(cx - width * 0.18, bottom);
    column.cubicTo(cx - width * 0.2, bottom - height * 0.3, cx - width * 0.26,
                   bottom - height * 0.4, cx - width * 0.28, bottom - height * 0.45);
    column.lineTo(cx + width * 0.28, bottom - height * 0.45);
    column.cubicTo(cx + width * 0.26, bottom - height * 0.4, cx + width * 0.2,
                   bottom - height * 0.3, cx + width * 0.18, bottom);
    column.closeSubpath();
    p.setPen(QPen(shade(colour, 0.5), 0.8));
    p.setBrush(verticalGradient(bottom - height * 0.45, bottom,
                                {{0.0, shade(colour, 0.9)}, {1.0, shade(colour, 0.5)}}));
    p.drawPath(column);
    const int count = 46;
    for (int i = 0; i < count; ++i) {
        const double t = rng.uniform();
        const QPointF root(cx - width * 0.27 + width * 0.54 * t,
                           bottom - height * 0.45 + rng.range(-3, 3));
        const double angle = (t - 0.5) * 90 + rng.range(-15, 15);
        drawBlade(p, root, height * rng.range(0.35, 0.6), angle, rng.range(3.5, 5.0),
                  rng.range(-40, 40), mix(colour, QColor(255, 240, 250), rng.range(0, 0.4)), false);
    }
}

void tubeSponges(QPainter& p, QRectF area, const QColor& colour, Rng& rng) {
    for (int i = 0; i < 5; ++i) {
        const double w = rng.range(14, 24), h = area.height() * rng.range(0.45, 0.95);
        const double x = area.left() + 16 + i * (area.width() - 40) / 5 + rng.range(-6, 6);
        const QRectF tube(x, area.bottom() - h, w, h);
        const QColor c = mix(colour, QColor(250, 200, 80), rng.range(0, 0.5));
        QLinearGradient g(tube.left(), 0, tube.right(), 0);
        g.setColorAt(0.0, shade(c, 0.65));
        g.setColorAt(0.35, shade(c, 1.2));
        g.setColorAt(1.0, shade(c, 0.55));
        p.setPen(QPen(shade(c, 0.45), 0.8));
        p.setBrush(g);
        p.drawRoundedRect(tube, w * 0.45, w * 0.3);
        p.setBrush(shade(c, 0.35));
        p.drawEllipse(QRectF(tube.left() + 2, tube.top() + 1, w - 4, w * 0.35));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 40));
        for (double y = tube.top() + 10; y < tube.bottom() - 4; y += 7) {
            p.drawEllipse(QPointF(tube.center().x() + rng.range(-3, 3), y), 1.5, 1.2);
        }
    }
}

void tableCoral(QPainter& p, QRectF area, const QColor& colour, Rng& rng) {
    const double cx = area.center().x();
    p.setPen(QPen(shade(colour, 0.5), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(cx, area.bottom()), QPointF(cx, area.top() + area.height() * 0.45));
    for (int layer = 0; layer < 3; ++layer) {
        const double y = area.top() + area.height() * (0.18 + 0.26 * layer);
        const double half = area.width() * (0.45 - 0.1 * layer) * rng.range(0.85, 1.0);
        QRectF plate(cx - half, y, 2 * half, area.height() * 0.16);
        p.setPen(QPen(shade(colour, 0.45), 0.8));
        p.setBrush(verticalGradient(plate.top(), plate.bottom(),
                                    {{0.0, shade(colour, 1.3)}, {1.0, shade(colour, 0.6)}}));
        p.drawEllipse(plate);
        p.setPen(QPen(withAlpha(shade(colour, 1.5), 0.5), 0.7));
        for (int k = 0; k < 12; ++k) {
            const double a = k * std::numbers::pi / 6;
            p.drawLine(plate.center(),
                       plate.center() +
                           QPointF(std::cos(a) * half * 0.9, std::sin(a) * plate.height() * 0.4));
        }
    }
}

void caulerpa(QPainter& p, QRectF area, const QColor& colour, Rng& rng) {
    for (int i = 0; i < 9; ++i) {
        const QPointF base(area.left() + 12 + rng.range(0, area.width() - 24), area.bottom() - 2);
        const double h = area.height() * rng.range(0.5, 0.95), lean = rng.range(-20, 20);
        QPainterPath stalk;
        stalk.moveTo(base);
        const QPointF top = base + QPointF(lean, -h);
        stalk.quadTo(base + QPointF(lean * 0.2 + rng.range(-8, 8), -h * 0.5), top);
        p.setPen(QPen(shade(colour, 0.6), 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawPath(stalk);
        // Grape-like beads along the stalk.
        for (double t = 0.2; t <= 1.0; t += 0.07) {
            const QPointF c = stalk.pointAtPercent(t);
            const double r = rng.range(2.2, 3.6);
            QRadialGradient g(c + QPointF(-r * 0.3, -r * 0.3), r * 1.4);
            g.setColorAt(0.0, shade(colour, 1.45));
            g.setColorAt(1.0, withAlpha(shade(colour, 0.8), 0.9));
            p.setPen(Qt::NoPen);
            p.setBrush(g);
            p.drawEllipse(c + QPointF(rng.range(-3, 3), 0), r, r);
        }
    }
}

void cupCorals(QPainter& p, QRectF area, Rng& rng) {
    for (int i = 0; i < 14; ++i) {
        const double r = rng.range(6, 11);
        const QPointF c(area.left() + r + rng.range(0, area.width() - 2 * r),
                        area.bottom() - rng.range(r, area.height() * 0.8));
        const QColor colour = rng.chance(0.5) ? QColor(250, 190, 40) : QColor(240, 120, 60);
        p.setPen(QPen(shade(colour, 0.5), 0.7));
        p.setBrush(verticalGradient(c.y() - r, c.y() + r,
                                    {{0.0, shade(colour, 1.2)}, {1.0, shade(colour, 0.6)}}));
        p.drawEllipse(c, r, r * 0.9);
        // Polyp tentacles round the rim.
        p.setPen(QPen(withAlpha(QColor(255, 240, 180), 0.8), 1.0, Qt::SolidLine, Qt::RoundCap));
        for (int k = 0; k < 10; ++k) {
            const double a = k * std::numbers::pi / 5;
            const QPointF rim = c + QPointF(std::cos(a) * r * 0.8, std::sin(a) * r * 0.6 - r * 0.2);
            p.drawLine(rim, rim + QPointF(std::cos(a) * 3, std::sin(a) * 2 - 2));
        }
    }
}

}  // namespace

QImage paintCoral(const Asset& asset, int, double scale) {
    QImage image = newSprite(asset.size, scale);
    QPainter p(&image);
    setupPainter(p);
    const double w = asset.size.width(), h = asset.size.height();
    const QRectF area(2, 2, w - 4, h - 4);
    Rng rng(500u + static_cast<uint32_t>(asset.variant));
    const double bottom = h - 2;
    switch (asset.variant) {
        case 1:  // staghorn coral
            baseRock(p, w / 2, h, w * 0.6, 1);
            for (int i = 0; i < 5; ++i) {
                drawBranches(p, QPointF(w * (0.3 + 0.1 * i), bottom - 8), -40 + 20 * i, h * 0.3, 6,
                             3, QColor(214, 150, 96), rng);
            }
            break;
        case 2: {  // sea fan
            QPainterPath fan;
            fan.moveTo(w / 2, bottom);
            fan.cubicTo(w * 0.05, h * 0.6, w * 0.05, 4, w * 0.4, 3);
            fan.cubicTo(w * 0.6, 0, w * 0.95, h * 0.1, w * 0.95, h * 0.55);
            fan.cubicTo(w * 0.9, h * 0.8, w * 0.6, bottom - 6, w / 2, bottom);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(170, 80, 160, 45));
            p.drawPath(fan);
            p.save();
            p.setClipPath(fan);
            for (int i = 0; i < 5; ++i) {
                drawBranches(p, QPointF(w / 2, bottom), -60 + 30 * i, h * 0.24, 3.0, 5,
                             QColor(170, 70, 160), rng);
            }
            p.setPen(QPen(QColor(200, 120, 190, 45), 0.5));
            for (double x = 0; x < w; x += 4) {
                p.drawLine(QPointF(x, 0), QPointF(x + 20, h));
                p.drawLine(QPointF(x, 0), QPointF(x - 20, h));
            }
            p.restore();
            break;
        }
        case 3:
            brainCoral(p, QRectF(4, 6, w - 8, h - 8), QColor(196, 170, 90), 3);
            break;
        case 4:  // sea grass meadow
            for (int i = 0; i < 70; ++i) {
                drawBlade(p, QPointF(rng.range(4, w - 4), bottom), h * rng.range(0.5, 0.95),
                          rng.range(-25, 25), rng.range(2.5, 4), rng.range(-20, 20),
                          mix(QColor(80, 150, 60), QColor(150, 180, 70), rng.uniform()), false);
            }
            break;
        case 5:   // kelp clump
        case 12:  // green sea plant bush, layered fronds
            for (int i = 0; i < (asset.variant == 5 ? 9 : 22); ++i) {
                const double spread = rng.range(-50, 50);
                drawBlade(p, QPointF(w / 2 + spread * 0.4, bottom), h * rng.range(0.55, 0.95),
                          spread * 0.7, asset.variant == 5 ? rng.range(12, 18) : rng.range(8, 13),
                          rng.range(-30, 30),
                          mix(QColor(56, 120, 50), QColor(150, 190, 70), rng.uniform()));
            }
            break;
        case 6:
            anemone(p, w / 2, bottom, w * 0.9, h * 1.1, QColor(226, 120, 180), rng);
            break;
        case 7:
            tubeSponges(p, area, QColor(236, 130, 50), rng);
            break;
        case 8:  // red feather algae
            for (int i = 0; i < 12; ++i) {
                const double angle = rng.range(-45, 45);
                drawBlade(p, QPointF(w / 2 + angle * 0.3, bottom), h * rng.range(0.5, 0.9), angle,
                          rng.range(6, 10), rng.range(-40, 40),
                          mix(QColor(170, 40, 50), QColor(220, 90, 80), rng.uniform()));
            }
            break;
        case 9:
            caulerpa(p, area, QColor(70, 170, 70), rng);
            break;
        case 10:  // pink soft coral bush
            baseRock(p, w / 2, h, w * 0.5, 10);
            for (int i = 0; i < 4; ++i) {
                drawBranches(p, QPointF(w * (0.35 + 0.1 * i), bottom - 8), -30 + 20 * i, h * 0.25,
                             7, 4, QColor(236, 130, 170), rng);
            }
            break;
        case 11:
            tableCoral(p, area, QColor(150, 160, 120), rng);
            break;
        case 13:  // violet-tipped branching coral
            baseRock(p, w / 2, h, w * 0.55, 13);
            for (int i = 0; i < 6; ++i) {
                drawBranches(p, QPointF(w * (0.25 + 0.1 * i), bottom - 8), -45 + 18 * i, h * 0.26,
                             6, 4, QColor(130, 110, 200), rng);
            }
            break;
        default:
            baseRock(p, w / 2, h, w * 0.8, 14);
            cupCorals(p, area, rng);
            break;
    }
    p.end();
    topLight(image, 0.25);
    return image;
}

QImage paintSidePlant(const Asset& asset, int, double scale) {
    QImage image = newSprite(asset.size, scale);
    QPainter p(&image);
    setupPainter(p);
    const double w = asset.size.width(), h = asset.size.height();
    Rng rng(600u + static_cast<uint32_t>(asset.variant));
    const QColor colours[][2] = {{},
                                 {QColor(96, 100, 40), QColor(170, 150, 60)},
                                 {QColor(40, 110, 50), QColor(120, 180, 70)},
                                 {QColor(110, 90, 30), QColor(190, 160, 60)},
                                 {QColor(50, 120, 60), QColor(130, 190, 90)},
                                 {QColor(120, 50, 40), QColor(190, 100, 70)}};
    const QColor low = colours[asset.variant][0], high = colours[asset.variant][1];
    const bool eelgrass = asset.variant == 4;
    const int count = eelgrass ? 40 : 14;
    for (int i = 0; i < count; ++i) {
        const double x = w * 0.3 + rng.range(0, w * 0.4);
        const double lean = (x - w / 2) / w * 30 + rng.range(-6, 6);
        const double length = h * rng.range(0.5, 0.82);
        const QColor c = mix(low, high, rng.uniform());
        if (eelgrass) {
            drawBlade(p, QPointF(x, h), length, lean, rng.range(4, 7), rng.range(-35, 35), c,
                      false);
            continue;
        }
        // Kelp: a stipe with blades hanging off it and gas bladders at their roots.
        drawBlade(p, QPointF(x, h), length, lean * 0.5, 4, rng.range(-20, 20), shade(c, 0.8),
                  false);
        const double a0 = lean * 0.5 * kDegree;
        for (double t = 0.25; t < 0.95; t += rng.range(0.1, 0.16)) {
            const QPointF at(x + std::sin(a0) * length * t, h - std::cos(a0) * length * t);
            const double side = rng.chance(0.5) ? 1 : -1;
            drawBlade(p, at, length * rng.range(0.22, 0.34), lean * 0.5 + side * rng.range(15, 35),
                      rng.range(8, 14), side * rng.range(20, 60), c);
            if (asset.variant != 5) {
                QRadialGradient bladder(at + QPointF(-1, -1), 4);
                bladder.setColorAt(0.0, shade(c, 1.5));
                bladder.setColorAt(1.0, shade(c, 0.7));
                p.setPen(Qt::NoPen);
                p.setBrush(bladder);
                p.drawEllipse(at, 3.2, 3.8);
            }
        }
    }
    p.end();
    topLight(image, 0.2);
    return image;
}

QImage paintDarkMound(const Asset& asset, int, double scale) {
    const int w = asset.size.width(), h = asset.size.height();
    const uint32_t seed = 700u + static_cast<uint32_t>(asset.variant);
    QImage image = newSprite(w, h, scale);
    QPainter p(&image);
    setupPainter(p);
    QPainterPath mound;
    mound.moveTo(0, h);
    for (int x = 0; x <= w; x += 3) {
        const double t = static_cast<double>(x) / w;
        double shape;
        switch (asset.variant) {
            case 1:  // two shoulders and a peak
                shape = 0.15 + 0.75 * std::pow(std::sin(std::numbers::pi * t), 1.3) *
                                   (0.7 + 0.3 * std::sin(t * 9));
                break;
            case 2:  // long low hill
                shape = 0.2 + 0.7 * std::pow(std::sin(std::numbers::pi * t), 0.8);
                break;
            default:  // rock pinnacle
                shape = 0.1 + 0.9 * std::pow(std::sin(std::numbers::pi * std::pow(t, 0.8)), 1.6);
                break;
        }
        const double rough = 0.22 * (fbm(x * 0.025f, 0.5f, 4, seed) - 0.5);
        const double envelope = smoothstep(0.0, 0.12, std::min(t, 1.0 - t));
        mound.lineTo(x, h - h * std::clamp(shape + rough, 0.0, 1.0) * envelope);
    }
    mound.lineTo(w, h);
    mound.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(verticalGradient(0, h, {{0.0, QColor(40, 72, 96)}, {1.0, QColor(20, 42, 62)}}));
    p.drawPath(mound);
    p.end();
    // Rock texture, kept faint: it is far away.
    shadePixels(image, [&](double x, double y, QColor& c, int) {
        const float fx = static_cast<float>(x), fy = static_cast<float>(y);
        const double n = fbm(fx * 0.03f, fy * 0.03f, 4, seed + 1);
        const double cracks = std::pow(ridge(fx * 0.02f, fy * 0.04f, 3, seed + 2), 10.0);
        c = shade(c, 0.85 + 0.3 * n - 0.25 * cracks);
    });
    waterHaze(image, QColor(46, 100, 130), 0.25);
    return image;
}

}  // namespace bw::art
