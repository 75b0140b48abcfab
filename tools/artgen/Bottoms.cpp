// Background walls and ocean-bottom pieces. Both reach the lower screen edge from their stored
// places; their ends crumble or thin out, so no cut edge shows.

#include <cmath>
#include <numbers>

#include "Families.h"
#include "Paint.h"
#include "Span.h"

namespace bw::art {

namespace {

// Opaque white silhouette across `span` whose top edge follows `top(x)`, tapering at both ends.
QImage silhouette(const Span& span, int h, double scale, const std::function<double(double)>& top,
                  double endTaper) {
    QImage mask = newSpriteInPixels(span.pixelSize(h, scale), scale);
    QPainter p(&mask);
    setupPainter(p);
    if (span.blockColumn != 0) {
        p.translate(span.blockColumn / scale, 0);
    }
    // The outline's points lie on the even block x, wherever the ends are.
    const int first = 2 * static_cast<int>(std::floor(span.left / 2));
    const int last = 2 * static_cast<int>(std::ceil(span.right / 2));
    QPainterPath path;
    path.moveTo(first, h);
    for (int x = first; x <= last; x += 2) {
        const double fromEnd = std::min(x - span.left, span.right - x);
        const double envelope = smoothstep(0.0, endTaper, fromEnd);
        const double y = h - (h - top(x)) * (0.08 + 0.92 * envelope);
        path.lineTo(x, y);
    }
    path.lineTo(last, h);
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(path);
    return mask;
}

QColor varied(const QColor& base, uint32_t id, double spread) {
    Rng rng(id);
    const double f = 1.0 + rng.range(-spread, spread);
    const double warm = rng.range(-spread, spread) * 0.5;
    return QColor::fromRgbF(static_cast<float>(clamp01(base.redF() * (f + warm))),
                            static_cast<float>(clamp01(base.greenF() * f)),
                            static_cast<float>(clamp01(base.blueF() * (f - warm))));
}

// Floor division and modulo on scene coordinates: the integer ones at 1x.
int cellOf(double v, int size) { return static_cast<int>(std::floor(v / size)); }
double within(double v, int size) { return v - std::floor(v / size) * size; }

void sandTexture(QImage& image, double h, const QColor& sand, uint32_t seed, int originColumn) {
    const auto texture = [&](double x, double y, QColor& c, int) {
        const float fx = static_cast<float>(x), fy = static_cast<float>(y);
        const double warp = fbm(fx * 0.01f, fy * 0.03f, 3, seed) * 30.0;
        const double ripple = std::sin((x + warp) * 0.11 + y * 0.35);
        const double grain = valueNoise(fx * 0.9f, fy * 0.9f, seed + 1) - 0.5;
        const double patch = fbm(fx * 0.02f, fy * 0.04f, 3, seed + 2) - 0.5;
        const double f = 1.0 + 0.07 * ripple + 0.16 * grain + 0.25 * patch - 0.25 * (y / h);
        c = QColor::fromRgbF(static_cast<float>(clamp01(sand.redF() * f)),
                             static_cast<float>(clamp01(sand.greenF() * f)),
                             static_cast<float>(clamp01(sand.blueF() * f * 0.98)));
    };
    shadePixels(image, texture, originColumn);
}

double wallTop(int variant, double x, uint32_t seed) {
    const float fx = static_cast<float>(x);
    switch (variant) {
        case 1: {  // brick: courses broken off at different heights
            const double broken = fbm(fx * 0.006f, 0.5f, 3, seed) * 140 - 30;
            const double course = std::floor(std::max(0.0, broken) / 18.0) * 18.0;
            return 16 + course;
        }
        case 2:
            return 18 + 70 * fbm(fx * 0.008f, 1.5f, 4, seed);
        case 3:
            return 40 + 50 * fbm(fx * 0.006f, 2.5f, 3, seed) + 4 * std::sin(x * 0.2);
        case 4: {  // old wall: whole blocks missing here and there
            const double broken = fbm(fx * 0.005f, 3.5f, 3, seed) * 170 - 50;
            const double course = std::floor(std::max(0.0, broken) / 30.0) * 30.0;
            const double chip = 6 * valueNoise(fx * 0.08f, 0.0f, seed + 1);
            return 10 + course + chip;
        }
        case 5: {  // jagged: sharp peaks
            const double peaks = std::fabs(std::sin(x * 0.021 + 2 * fbm(fx * 0.01f, 0.f, 2, seed)));
            return 6 + 150 * (1 - std::pow(peaks, 0.6)) * fbm(fx * 0.004f, 9.f, 2, seed + 3) +
                   20 * fbm(fx * 0.05f, 4.5f, 2, seed + 4);
        }
        default:
            return 60 + 60 * fbm(fx * 0.005f, 5.5f, 3, seed);
    }
}

void wallTexture(QImage& image, int variant, uint32_t seed, int originColumn) {
    const auto texture = [&](double x, double y, QColor& c, int) {
        const float fx = static_cast<float>(x), fy = static_cast<float>(y);
        const double grain = fbm(fx * 0.15f, fy * 0.15f, 3, seed + 9) - 0.5;
        switch (variant) {
            case 1: {
                const int row = cellOf(y, 18);
                const int offset = (row % 2) * 21;
                const int col = cellOf(x + offset, 42);
                const bool mortar = within(y, 18) < 3 || within(x + offset, 42) < 3;
                const uint32_t id = static_cast<uint32_t>(row * 977 + col * 131);
                const QColor brick = varied(QColor(158, 78, 56), id, 0.14);
                c = mortar ? QColor(128, 120, 102) : brick;
                const double edge = (within(y, 18) < 4 && !mortar) ? 1.15 : 1.0;
                c = shade(c, (1.0 + 0.35 * grain) * edge);
                break;
            }
            case 2: {
                const Cell cell = voronoi(x, y, 34, seed, 1.5);
                const double crevice = smoothstep(0.0, 4.0, cell.second - cell.nearest);
                const QColor stone = varied(QColor(124, 118, 106), cell.id, 0.18);
                const double dome = 1.0 + 0.25 * (cell.centre.y() - y) / 34.0;
                c = shade(mix(QColor(34, 32, 30), stone, crevice), dome * (1.0 + 0.4 * grain));
                break;
            }
            case 3: {
                const Cell cell = voronoi(x, y, 13, seed);
                const double r = cell.nearest / 8.0;
                const double dome = std::sqrt(std::max(0.0, 1.0 - r * r));
                const double light = (cell.centre.y() - y) / 13.0;
                const QColor pebble = varied(QColor(150, 136, 116), cell.id, 0.25);
                const double gap = smoothstep(0.0, 2.5, cell.second - cell.nearest);
                c = shade(mix(QColor(60, 54, 46), pebble, gap * (0.4 + 0.6 * dome)),
                          0.85 + 0.4 * light + 0.2 * grain);
                break;
            }
            case 4: {
                const int row = cellOf(y, 30);
                const int offset = (row * 37) % 60;
                const int col = cellOf(x + offset, 60);
                const bool mortar = within(y, 30) < 3 || within(x + offset, 60) < 3;
                const QColor block =
                    varied(QColor(146, 138, 114), static_cast<uint32_t>(row * 53 + col * 7), 0.12);
                const double crack = std::pow(ridge(fx * 0.03f, fy * 0.03f, 3, seed + 2), 28.0);
                const double wear = fbm(fx * 0.02f, fy * 0.02f, 4, seed + 3);
                c = mortar ? QColor(70, 66, 56) : shade(block, 0.75 + 0.5 * wear + 0.3 * grain);
                c = mix(c, QColor(40, 36, 30), crack * 0.5);
                if (!mortar && within(y, 30) < 4) {
                    c = shade(c, 1.2);
                }
                break;
            }
            case 5: {
                const double strata = std::sin(y * 0.25 + fbm(fx * 0.01f, fy * 0.02f, 3, seed) * 9);
                const double crack = std::pow(ridge(fx * 0.02f, fy * 0.012f, 3, seed + 5), 10.0);
                const QColor rock = mix(QColor(92, 88, 96), QColor(122, 108, 92),
                                        fbm(fx * 0.01f, fy * 0.01f, 3, seed + 6));
                c = shade(rock, 0.9 + 0.12 * strata + 0.4 * grain);
                c = mix(c, QColor(30, 28, 34), crack * 0.7);
                break;
            }
            default:
                break;
        }
    };
    shadePixels(image, texture, originColumn);
}

// Where the details of a bottom may lie: where it is painted solid, and for band 0 where the
// picture of the layout's width had it solid. That picture decides band 0 as it did, so band 0
// keeps its details; those it left out where its ends tapered draw from a source of their own.
struct Ground {
    QImage painted;  // across the span
    QImage layoutWide;
    Span span;
    double height;

    bool solid(QPointF at) const { return alphaAt(painted, at, span.blockColumn) == 255; }
    bool solidInLayoutWide(int band, QPointF at) const {
        return band != 0 || alphaAt(layoutWide, at) == 255;
    }
};

Ground groundOf(const QImage& painted, const Span& span, int h, double scale,
                const std::function<double(double)>& top, double endTaper) {
    return {painted,
            span.wide() ? silhouette(ownSpan(span.blockWidth, scale), h, scale, top, endTaper)
                        : painted,
            span, static_cast<double>(h)};
}

void scatterShells(QPainter& p, const Ground& ground, int count, uint32_t seed, double size) {
    const QColor colours[] = {QColor(236, 214, 190), QColor(232, 170, 140), QColor(220, 200, 220),
                              QColor(250, 236, 210), QColor(200, 150, 110)};
    const double w = ground.span.blockWidth, h = ground.height;
    for (const int band : ground.span.bands()) {
        Rng rng(bandSeed(seed, band));
        Rng spare(bandSeed(seed, band) + (1ull << 31));
        const double shift = band * w;
        for (int i = 0; i < count; ++i) {
            const QPointF at(rng.range(8, w - 8) + shift, rng.range(4, h - 4));
            const QPointF lifted = at - QPointF(0, static_cast<int>(size));
            const bool here = ground.solid(at) && ground.solid(lifted);
            const bool before =
                ground.solidInLayoutWide(band, at) && ground.solidInLayoutWide(band, lifted);
            if (!here && !before) {
                continue;
            }
            Rng& draw = before ? rng : spare;
            const QColor colour = colours[draw.integer(0, 4)];
            const double s = size * draw.range(0.6, 1.3) * (0.6 + 0.4 * at.y() / h);
            const bool scallop = draw.chance(0.6);
            const double angle = scallop ? draw.range(-40, 40) : draw.range(-30, 30);
            if (!here || !ground.span.clearOfBlock(band, at.x(), s + 1)) {
                continue;
            }
            if (scallop) {
                drawScallop(p, at, s, angle, colour);
            } else {
                drawSnail(p, at, s, angle, colour);
            }
        }
    }
}

void scatterStones(QPainter& p, const Ground& ground, int count, uint32_t seed, double size) {
    const QColor colours[] = {QColor(120, 116, 110), QColor(140, 126, 104), QColor(96, 100, 104),
                              QColor(160, 150, 136)};
    const double w = ground.span.blockWidth, h = ground.height;
    for (const int band : ground.span.bands()) {
        Rng rng(bandSeed(seed, band));
        Rng spare(bandSeed(seed, band) + (1ull << 31));
        const double shift = band * w;
        for (int i = 0; i < count; ++i) {
            const QPointF at(rng.range(10, w - 10) + shift, rng.range(10, h - 6));
            const double s = size * rng.range(0.5, 1.4) * (0.5 + 0.6 * at.y() / h);
            const QPointF lifted = at - QPointF(0, static_cast<int>(s * 0.5));
            const bool here = ground.solid(lifted);
            const bool before = ground.solidInLayoutWide(band, lifted);
            if (!here && !before) {
                continue;
            }
            Rng& draw = before ? rng : spare;
            if (!here || !ground.span.clearOfBlock(band, at.x(), 1.4 * s + 1)) {
                for (int skipped = 0; skipped < 4; ++skipped) {
                    draw.bits();  // the stone's own draws, so the next one comes as it would
                }
                continue;
            }
            drawStone(p, at, s, s * draw.range(0.5, 0.75), colours[draw.integer(0, 3)],
                      draw.range(0, 3), draw.integer(0, 1 << 30));
        }
    }
}

}  // namespace

QImage paintWideWall(const Asset& asset, int, const FrameShape& frame) {
    const int h = asset.size.height(), v = asset.variant;
    const uint32_t seed = 300u + static_cast<uint32_t>(v);
    const double scale = frame.scale;
    const Span span = spanBeyond(frame);
    const auto top = [&](double x) { return wallTop(v, x, seed); };
    const double endTaper = 46;
    QImage image = silhouette(span, h, scale, top, endTaper);
    if (v == 6) {
        sandTexture(image, h, QColor(196, 178, 140), seed, span.blockColumn);
        QPainter p(&image);
        setupPainter(p);
        p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        if (span.blockColumn != 0) {
            p.translate(span.blockColumn / scale, 0);
        }
        const Ground ground = groundOf(image.copy(), span, h, scale, top, endTaper);
        scatterStones(p, ground, 30, seed + 1, 9);
        scatterShells(p, ground, 260, seed + 2, 10);
    } else {
        wallTexture(image, v, seed, span.blockColumn);
    }
    topLight(image, 0.6);
    const double algae[] = {0, 0.55, 0.5, 0.45, 0.8, 0.5, 0.3};
    algaeGrowth(image, algae[v], seed + 7, 0.08, span.blockColumn);
    waterHaze(image, sceneWater(), 0.12);
    return image;
}

QImage paintWall(const Asset& asset, int image, double scale) {
    return paintWideWall(asset, image, FrameShape::block(scale));
}

namespace {

QImage paintBottomAcross(const Asset& asset, const Span& span, double scale) {
    const int w = asset.size.width(), h = asset.size.height(), v = asset.variant;
    const uint32_t seed = 400u + static_cast<uint32_t>(v);
    const double rise[] = {0, 0.25, 0.3, 0.25, 0.3, 0.35, 0.25};
    auto top = [&](double x) {
        const double dune = fbm(static_cast<float>(x) * 0.006f, 0.5f, 3, seed);
        return h * rise[v] + h * 0.4 * dune;
    };
    const double endTaper = std::min(120.0, w * 0.18);
    QImage image = silhouette(span, h, scale, top, endTaper);
    const QColor sands[] = {QColor(),
                            QColor(214, 194, 150),
                            QColor(190, 172, 134),
                            QColor(222, 204, 164),
                            QColor(180, 164, 130),
                            QColor(206, 186, 146),
                            QColor(200, 182, 146)};
    sandTexture(image, h, sands[v], seed, span.blockColumn);
    QPainter p(&image);
    setupPainter(p);
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    if (span.blockColumn != 0) {
        p.translate(span.blockColumn / scale, 0);
    }
    const Ground ground = groundOf(image.copy(), span, h, scale, top, endTaper);
    switch (v) {
        case 1:
            scatterShells(p, ground, 22, seed, 7);
            scatterStones(p, ground, 10, seed + 1, 6);
            break;
        case 2:
        case 4:
            scatterStones(p, ground, v == 2 ? 80 : 60, seed + 1, 14);
            scatterShells(p, ground, 10, seed, 8);
            break;
        case 3:
            scatterShells(p, ground, 90, seed, 10);
            break;
        case 5:
            scatterStones(p, ground, 24, seed + 1, 7);
            break;
        default:
            scatterShells(p, ground, 40, seed, 8);
            scatterStones(p, ground, 30, seed + 1, 6);
            break;
    }
    p.end();
    topLight(image, 0.35);
    waterHaze(image, sceneWater(), 0.08);
    return image;
}

}  // namespace

QImage paintBottom(const Asset& asset, int, double scale) {
    return paintBottomAcross(asset, ownSpan(asset.size.width(), scale), scale);
}

QImage paintWideBottom(const Asset& asset, int, const FrameShape& frame) {
    return paintBottomAcross(asset, spanBeyond(frame), frame.scale);
}

}  // namespace bw::art
