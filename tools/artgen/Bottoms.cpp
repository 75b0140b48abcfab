// Background walls and ocean-bottom pieces. Both reach the lower screen edge from their stored
// places; their ends crumble or thin out, so no cut edge shows.

#include <cmath>
#include <numbers>

#include "Families.h"
#include "Paint.h"

namespace bw::art {

namespace {

// Opaque white silhouette whose top edge follows `top(x)`, tapering at both ends.
QImage silhouette(int w, int h, double scale, const std::function<double(double)>& top,
                  double endTaper) {
    QImage mask = newSprite(w, h, scale);
    QPainter p(&mask);
    setupPainter(p);
    QPainterPath path;
    path.moveTo(0, h);
    for (int x = 0; x <= w; x += 2) {
        const double fromEnd = std::min(x, w - x);
        const double envelope = smoothstep(0.0, endTaper, fromEnd);
        const double y = h - (h - top(x)) * (0.08 + 0.92 * envelope);
        path.lineTo(x, y);
    }
    path.lineTo(w, h);
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

void sandTexture(QImage& image, double h, const QColor& sand, uint32_t seed) {
    shadePixels(image, [&](double x, double y, QColor& c, int) {
        const float fx = static_cast<float>(x), fy = static_cast<float>(y);
        const double warp = fbm(fx * 0.01f, fy * 0.03f, 3, seed) * 30.0;
        const double ripple = std::sin((x + warp) * 0.11 + y * 0.35);
        const double grain = valueNoise(fx * 0.9f, fy * 0.9f, seed + 1) - 0.5;
        const double patch = fbm(fx * 0.02f, fy * 0.04f, 3, seed + 2) - 0.5;
        const double f = 1.0 + 0.07 * ripple + 0.16 * grain + 0.25 * patch - 0.25 * (y / h);
        c = QColor::fromRgbF(static_cast<float>(clamp01(sand.redF() * f)),
                             static_cast<float>(clamp01(sand.greenF() * f)),
                             static_cast<float>(clamp01(sand.blueF() * f * 0.98)));
    });
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

void wallTexture(QImage& image, int variant, uint32_t seed) {
    shadePixels(image, [&](double x, double y, QColor& c, int) {
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
    });
}

// `mask` is the bottom painted so far; its scene size is `area`.
void scatterShells(QPainter& p, const QImage& mask, QSizeF area, int count, uint32_t seed,
                   double size) {
    Rng rng(seed);
    const QColor colours[] = {QColor(236, 214, 190), QColor(232, 170, 140), QColor(220, 200, 220),
                              QColor(250, 236, 210), QColor(200, 150, 110)};
    for (int i = 0; i < count; ++i) {
        const QPointF at(rng.range(8, area.width() - 8), rng.range(4, area.height() - 4));
        if (alphaAt(mask, at) < 255 ||
            alphaAt(mask, at - QPointF(0, static_cast<int>(size))) < 255) {
            continue;
        }
        const QColor colour = colours[rng.integer(0, 4)];
        const double s = size * rng.range(0.6, 1.3) * (0.6 + 0.4 * at.y() / area.height());
        if (rng.chance(0.6)) {
            drawScallop(p, at, s, rng.range(-40, 40), colour);
        } else {
            drawSnail(p, at, s, rng.range(-30, 30), colour);
        }
    }
}

void scatterStones(QPainter& p, const QImage& mask, QSizeF area, int count, uint32_t seed,
                   double size) {
    Rng rng(seed);
    const QColor colours[] = {QColor(120, 116, 110), QColor(140, 126, 104), QColor(96, 100, 104),
                              QColor(160, 150, 136)};
    for (int i = 0; i < count; ++i) {
        const QPointF at(rng.range(10, area.width() - 10), rng.range(10, area.height() - 6));
        const double s = size * rng.range(0.5, 1.4) * (0.5 + 0.6 * at.y() / area.height());
        if (alphaAt(mask, at - QPointF(0, static_cast<int>(s * 0.5))) < 255) {
            continue;
        }
        drawStone(p, at, s, s * rng.range(0.5, 0.75), colours[rng.integer(0, 3)], rng.range(0, 3),
                  rng.integer(0, 1 << 30));
    }
}

}  // namespace

QImage paintWall(const Asset& asset, int, double scale) {
    const int w = asset.size.width(), h = asset.size.height(), v = asset.variant;
    const uint32_t seed = 300u + static_cast<uint32_t>(v);
    QImage image = silhouette(
        w, h, scale, [&](double x) { return wallTop(v, x, seed); }, 46);
    if (v == 6) {
        sandTexture(image, h, QColor(196, 178, 140), seed);
        QPainter p(&image);
        setupPainter(p);
        p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        const QImage mask = image.copy();
        scatterStones(p, mask, asset.size, 30, seed + 1, 9);
        scatterShells(p, mask, asset.size, 260, seed + 2, 10);
    } else {
        wallTexture(image, v, seed);
    }
    topLight(image, 0.6);
    const double algae[] = {0, 0.55, 0.5, 0.45, 0.8, 0.5, 0.3};
    algaeGrowth(image, algae[v], seed + 7);
    waterHaze(image, sceneWater(), 0.12);
    return image;
}

QImage paintBottom(const Asset& asset, int, double scale) {
    const int w = asset.size.width(), h = asset.size.height(), v = asset.variant;
    const uint32_t seed = 400u + static_cast<uint32_t>(v);
    const double rise[] = {0, 0.25, 0.3, 0.25, 0.3, 0.35, 0.25};
    auto top = [&](double x) {
        const double dune = fbm(static_cast<float>(x) * 0.006f, 0.5f, 3, seed);
        return h * rise[v] + h * 0.4 * dune;
    };
    QImage image = silhouette(w, h, scale, top, std::min(120.0, w * 0.18));
    const QColor sands[] = {QColor(),
                            QColor(214, 194, 150),
                            QColor(190, 172, 134),
                            QColor(222, 204, 164),
                            QColor(180, 164, 130),
                            QColor(206, 186, 146),
                            QColor(200, 182, 146)};
    sandTexture(image, h, sands[v], seed);
    QPainter p(&image);
    setupPainter(p);
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    const QImage mask = image.copy();
    switch (v) {
        case 1:
            scatterShells(p, mask, asset.size, 22, seed, 7);
            scatterStones(p, mask, asset.size, 10, seed + 1, 6);
            break;
        case 2:
        case 4:
            scatterStones(p, mask, asset.size, v == 2 ? 80 : 60, seed + 1, 14);
            scatterShells(p, mask, asset.size, 10, seed, 8);
            break;
        case 3:
            scatterShells(p, mask, asset.size, 90, seed, 10);
            break;
        case 5:
            scatterStones(p, mask, asset.size, 24, seed + 1, 7);
            break;
        default:
            scatterShells(p, mask, asset.size, 40, seed, 8);
            scatterStones(p, mask, asset.size, 30, seed + 1, 6);
            break;
    }
    p.end();
    topLight(image, 0.35);
    waterHaze(image, sceneWater(), 0.08);
    return image;
}

}  // namespace bw::art
