// The water backdrops: a depth gradient from the lit surface to the deep, soft rays of light
// from above, a caustic net that fades with depth, distant haze and drifting specks.

#include <cmath>
#include <numbers>

#include "Families.h"
#include "Paint.h"
#include "Span.h"

namespace bw::art {

namespace {

struct Mood {
    QColor surface, middle, deep, haze, light;
    double rays;      // strength of the light rays
    double caustics;  // strength of the caustic net
    double hazeAmount;
    double sunX;  // where the light comes from, in scene units across the top
    uint32_t seed;
    bool kelp = false;      // distant kelp stems in the haze
    bool plankton = false;  // glowing specks at night
};

Mood moodFor(int variant) {
    switch (variant) {
        case 2:  // tropical lagoon: bright turquoise over white sand
            return {QColor(120, 230, 230),
                    QColor(30, 170, 190),
                    QColor(14, 92, 130),
                    QColor(120, 200, 200),
                    QColor(255, 255, 230),
                    0.55,
                    0.75,
                    0.35,
                    520,
                    21};
        case 3:  // deep blue: the open ocean far from shore
            return {QColor(50, 120, 190),
                    QColor(16, 56, 130),
                    QColor(4, 14, 46),
                    QColor(20, 50, 100),
                    QColor(190, 220, 255),
                    0.35,
                    0.25,
                    0.2,
                    300,
                    33};
        case 4:  // kelp forest: green, dim, filtered light
            return {QColor(150, 200, 130),
                    QColor(50, 120, 90),
                    QColor(10, 44, 40),
                    QColor(70, 120, 90),
                    QColor(240, 255, 200),
                    0.45,
                    0.35,
                    0.35,
                    250,
                    44,
                    true};
        case 5:  // evening glow: warm surface, violet depths
            return {QColor(250, 170, 120),
                    QColor(120, 90, 140),
                    QColor(24, 26, 70),
                    QColor(120, 90, 130),
                    QColor(255, 210, 160),
                    0.4,
                    0.3,
                    0.3,
                    640,
                    55};
        case 6:  // night dive: moonlight and glowing plankton
            return {QColor(40, 70, 110),
                    QColor(12, 26, 60),
                    QColor(2, 5, 18),
                    QColor(14, 30, 56),
                    QColor(170, 200, 255),
                    0.22,
                    0.12,
                    0.15,
                    200,
                    66,
                    false,
                    true};
        default:  // cool waters: clear blue-green, the factory choice
            return {QColor(110, 200, 225),
                    QColor(26, 120, 168),
                    QColor(8, 40, 90),
                    QColor(60, 130, 160),
                    QColor(235, 255, 255),
                    0.5,
                    0.55,
                    0.3,
                    420,
                    11};
    }
}

QColor gradientAt(const Mood& m, double t) {
    return t < 0.45 ? mix(m.surface, m.middle, t / 0.45) : mix(m.middle, m.deep, (t - 0.45) / 0.55);
}

}  // namespace

QImage paintWideWater(const Asset& asset, int, const FrameShape& frame) {
    const Mood m = moodFor(asset.variant);
    const int w = asset.size.width(), h = asset.size.height();
    const double scale = frame.scale;
    const Span span = spanAcross(frame);
    QImage image = newPictureInPixels(span.pixelSize(h, scale), scale, QImage::Format_RGB32);
    // Every band draws its details from a source of its own; band 0's is the picture's seed.
    const std::vector<int> bands = span.bands();
    std::vector<Rng> sources;
    for (const int band : bands) {
        sources.emplace_back(bandSeed(m.seed, band));
    }
    const auto sourceOf = [&](int band) -> Rng& { return sources[band - bands.front()]; };
    // Rays fan out from a point high above the surface. Each band adds rays meeting the surface
    // across it; those of the other bands only where they miss the block altogether.
    struct Ray {
        double angle, width, strength;
    };
    const double sunY = -900;
    const double blockFrom = std::atan2(-1 - m.sunX, -1 - sunY);
    const double blockTo = std::atan2(w + 1 - m.sunX, -1 - sunY);
    std::vector<Ray> rays;
    for (const int band : bands) {
        Rng& draw = sourceOf(band);
        for (int i = 0; i < 9; ++i) {
            Ray ray{draw.range(-0.5, 0.5), draw.range(0.012, 0.04), draw.range(0.4, 1.0)};
            if (band != 0) {
                ray.angle = std::atan(std::tan(ray.angle) + band * span.blockWidth / -sunY);
                if (ray.angle + 3 * ray.width > blockFrom && ray.angle - 3 * ray.width < blockTo) {
                    continue;
                }
            }
            rays.push_back(ray);
        }
    }
    for (int row = 0; row < image.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
        const double y = sceneCoordinate(row, scale);
        const double depth = y / (h - 1);
        const QColor base = gradientAt(m, depth);
        double r = base.redF(), g = base.greenF(), b = base.blueF();
        for (int column = 0; column < image.width(); ++column) {
            const double x = sceneCoordinate(column - span.blockColumn, scale);
            const float fx = static_cast<float>(x), fy = static_cast<float>(y);
            // Soft rays, flickering along their length.
            const double angle = std::atan2(x - m.sunX, y - sunY);
            double beam = 0;
            for (const Ray& ray : rays) {
                const double d = (angle - ray.angle) / ray.width;
                if (std::fabs(d) < 3.0) {
                    beam += ray.strength * std::exp(-d * d);
                }
            }
            beam *= 0.6 + 0.4 * fbm(fx * 0.004f, fy * 0.012f, 2, m.seed + 3);
            beam *= std::pow(1.0 - depth, 1.6) * m.rays;
            // Caustic net: crest lines of two drifting noise layers, strongest near the top.
            double caustic = 0;
            if (depth < 0.75) {
                const float warp = fbm(fx * 0.01f, fy * 0.01f, 2, m.seed + 5) * 25.0f;
                const double c1 = ridge((fx + warp) * 0.022f, fy * 0.034f, 3, m.seed + 7);
                const double c2 = ridge((fx - warp) * 0.017f, fy * 0.029f + 3.0f, 3, m.seed + 9);
                caustic = std::pow(c1, 7.0) + std::pow(c2, 7.0);
                caustic *= m.caustics * std::pow(1.0 - depth / 0.75, 2.0);
            }
            // Surface shimmer in the top rows.
            double shimmer = 0;
            if (y < 40) {
                const double n = ridge(fx * 0.03f, fy * 0.15f, 2, m.seed + 11);
                shimmer = std::pow(n, 4.0) * (1.0 - y / 40.0) * 0.5;
            }
            // Haze over the far sea floor, and a slow mottling everywhere.
            const double haze = m.hazeAmount * smoothstep(0.45, 1.0, depth) *
                                (0.7 + 0.6 * fbm(fx * 0.006f, fy * 0.02f, 3, m.seed + 13));
            const double mottle =
                1.0 + 0.08 * (fbm(fx * 0.008f, fy * 0.008f, 3, m.seed + 15) - 0.5);
            const double light = beam + caustic + shimmer;
            double pr = (r * mottle) * (1 - haze) + m.haze.redF() * haze;
            double pg = (g * mottle) * (1 - haze) + m.haze.greenF() * haze;
            double pb = (b * mottle) * (1 - haze) + m.haze.blueF() * haze;
            pr += light * m.light.redF() * 0.55;
            pg += light * m.light.greenF() * 0.55;
            pb += light * m.light.blueF() * 0.55;
            line[column] = qRgb(static_cast<int>(clamp01(pr) * 255 + 0.5),
                                static_cast<int>(clamp01(pg) * 255 + 0.5),
                                static_cast<int>(clamp01(pb) * 255 + 0.5));
        }
    }
    QPainter p(&image);
    setupPainter(p);
    if (span.blockColumn != 0) {
        p.translate(span.blockColumn / scale, 0);
    }
    // The kelp and the specks, band by band.
    for (const int band : bands) {
        Rng& draw = sourceOf(band);
        const double shift = band * span.blockWidth;
        if (m.kelp) {
            // Far kelp stems, lost in the green haze.
            for (int i = 0; i < 9; ++i) {
                const double x0 = draw.range(0, w) + shift;
                QPainterPath stem;
                stem.moveTo(x0, h);
                for (int k = 1; k <= 8; ++k) {
                    const double y = h - k * draw.range(50, 80);
                    stem.lineTo(x0 + 14 * std::sin(k * 0.9 + i), y);
                }
                const double width = draw.range(4, 9);
                if (!span.clearOfBlock(band, x0, 14 + width)) {
                    continue;
                }
                p.setPen(QPen(QColor(30, 70, 50, 60), width, Qt::SolidLine, Qt::RoundCap));
                p.setBrush(Qt::NoBrush);
                p.drawPath(stem);
            }
        }
        // Drifting specks: marine snow by day, glowing plankton at night.
        for (int i = 0; i < (m.plankton ? 260 : 180); ++i) {
            const QPointF at(draw.range(0, w) + shift, draw.range(0, h));
            const double size = draw.range(0.4, 1.4);
            const QColor colour = m.plankton ? QColor(140, 255, 230, draw.integer(60, 200))
                                             : QColor(230, 245, 255, draw.integer(30, 100));
            const bool glows = m.plankton && draw.chance(0.3);
            if (!span.clearOfBlock(band, at.x(), glows ? size * 5 : size)) {
                continue;
            }
            if (glows) {
                QRadialGradient glow(at, size * 5);
                glow.setColorAt(0.0, QColor(120, 255, 220, 90));
                glow.setColorAt(1.0, QColor(120, 255, 220, 0));
                p.setPen(Qt::NoPen);
                p.setBrush(glow);
                p.drawEllipse(at, size * 5, size * 5);
            }
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            p.drawEllipse(at, size, size);
        }
    }
    return image;
}

QImage paintWater(const Asset& asset, int image, double scale) {
    return paintWideWater(asset, image, FrameShape::block(scale));
}

}  // namespace bw::art
