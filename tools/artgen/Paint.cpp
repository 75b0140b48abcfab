#include "Paint.h"

#include <QLinearGradient>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace bw::art {

namespace {

uint32_t hash(int x, int y, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B1u ^ static_cast<uint32_t>(x) * 0x85EBCA77u ^
                 static_cast<uint32_t>(y) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

float lattice(int x, int y, uint32_t seed) {
    return static_cast<float>(hash(x, y, seed) & 0xFFFFFFu) / 16777215.0f;
}

float fade(float t) { return t * t * (3.0f - 2.0f * t); }

}  // namespace

float valueNoise(float x, float y, uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float tx = fade(x - fx), ty = fade(y - fy);
    const float a = lattice(ix, iy, seed), b = lattice(ix + 1, iy, seed);
    const float c = lattice(ix, iy + 1, seed), d = lattice(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float fbm(float x, float y, int octaves, uint32_t seed) {
    float sum = 0, amplitude = 0.5f, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * valueNoise(x, y, seed + static_cast<uint32_t>(i) * 101u);
        total += amplitude;
        x = x * 2.03f + 17.1f;
        y = y * 2.03f + 5.3f;
        amplitude *= 0.5f;
    }
    return sum / total;
}

float ridge(float x, float y, int octaves, uint32_t seed) {
    const float n = fbm(x, y, octaves, seed);
    return 1.0f - std::fabs(2.0f * n - 1.0f);
}

double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

double smoothstep(double edge0, double edge1, double x) {
    const double t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

QColor mix(const QColor& a, const QColor& b, double t) {
    t = clamp01(t);
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t),
                            static_cast<float>(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QColor shade(const QColor& c, double factor) {
    if (factor <= 1.0) {
        return QColor::fromRgbF(static_cast<float>(c.redF() * factor),
                                static_cast<float>(c.greenF() * factor),
                                static_cast<float>(c.blueF() * factor), c.alphaF());
    }
    const QColor white(255, 255, 255, c.alpha());
    return mix(c, white, factor - 1.0);
}

QColor withAlpha(const QColor& c, double alpha) {
    QColor result = c;
    result.setAlphaF(static_cast<float>(clamp01(alpha)));
    return result;
}

QSize scaledSize(QSize sceneSize, double scale) {
    return QSize(static_cast<int>(std::lround(sceneSize.width() * scale)),
                 static_cast<int>(std::lround(sceneSize.height() * scale)));
}

QImage newPicture(QSize sceneSize, double scale, QImage::Format format) {
    return newPictureInPixels(scaledSize(sceneSize, scale), scale, format);
}

QImage newPictureInPixels(QSize pixelSize, double scale, QImage::Format format) {
    QImage image(pixelSize, format);
    image.setDevicePixelRatio(scale);
    return image;
}

QImage newSprite(int width, int height, double scale) {
    return newSprite(QSize(width, height), scale);
}

QImage newSprite(QSize size, double scale) {
    return newSpriteInPixels(scaledSize(size, scale), scale);
}

QImage newSpriteInPixels(QSize pixelSize, double scale) {
    QImage image = newPictureInPixels(pixelSize, scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QPoint pixelAt(QPointF scenePoint, double scale) {
    // x * S + (S - 1) / 2 rather than (x + 0.5) * S - 0.5: the same number, and exactly x at S = 1.
    const double shift = 0.5 * (scale - 1.0);
    return QPointF(scenePoint.x() * scale + shift, scenePoint.y() * scale + shift).toPoint();
}

int alphaAt(const QImage& image, QPointF scenePoint, int originColumn) {
    const QPoint at = pixelAt(scenePoint, pictureScale(image)) + QPoint(originColumn, 0);
    if (!image.rect().contains(at)) {
        return 0;
    }
    return qAlpha(reinterpret_cast<const QRgb*>(image.constScanLine(at.y()))[at.x()]);
}

void setupPainter(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

QPainterPath smoothPath(const std::vector<QPointF>& points, bool closed) {
    QPainterPath path;
    const int n = static_cast<int>(points.size());
    if (n < 2) {
        return path;
    }
    auto at = [&](int i) {
        if (closed) {
            return points[static_cast<size_t>((i % n + n) % n)];
        }
        return points[static_cast<size_t>(std::clamp(i, 0, n - 1))];
    };
    path.moveTo(points[0]);
    const int segments = closed ? n : n - 1;
    for (int i = 0; i < segments; ++i) {
        const QPointF p0 = at(i - 1), p1 = at(i), p2 = at(i + 1), p3 = at(i + 2);
        path.cubicTo(p1 + (p2 - p0) / 6.0, p2 - (p3 - p1) / 6.0, p2);
    }
    if (closed) {
        path.closeSubpath();
    }
    return path;
}

QPainterPath polygonPath(const std::vector<QPointF>& points) {
    QPainterPath path;
    if (points.empty()) {
        return path;
    }
    path.moveTo(points[0]);
    for (size_t i = 1; i < points.size(); ++i) {
        path.lineTo(points[i]);
    }
    path.closeSubpath();
    return path;
}

QLinearGradient verticalGradient(double top, double bottom,
                                 std::initializer_list<std::pair<double, QColor>> stops) {
    QLinearGradient gradient(0, top, 0, bottom);
    for (const auto& [at, colour] : stops) {
        gradient.setColorAt(at, colour);
    }
    return gradient;
}

void shadePixels(QImage& image, const std::function<void(double, double, QColor&, int)>& shader,
                 int originColumn) {
    Q_ASSERT(image.depth() == 32);
    const double scale = pictureScale(image);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const double sceneY = sceneCoordinate(y, scale);
        for (int x = 0; x < image.width(); ++x) {
            const QRgb premultiplied = line[x];
            const int alpha = qAlpha(premultiplied);
            if (alpha == 0) {
                continue;
            }
            const QRgb straight = qUnpremultiply(premultiplied);
            QColor colour(qRed(straight), qGreen(straight), qBlue(straight));
            shader(sceneCoordinate(x - originColumn, scale), sceneY, colour, alpha);
            line[x] = qPremultiply(qRgba(colour.red(), colour.green(), colour.blue(), alpha));
        }
    }
}

void grainNoise(QImage& image, double frequency, double amount, uint32_t seed, int octaves) {
    shadePixels(image, [&](double x, double y, QColor& c, int) {
        const double n = fbm(static_cast<float>(x * frequency), static_cast<float>(y * frequency),
                             octaves, seed);
        const double f = 1.0 + amount * (n - 0.5) * 2.0;
        c = QColor::fromRgbF(static_cast<float>(clamp01(c.redF() * f)),
                             static_cast<float>(clamp01(c.greenF() * f)),
                             static_cast<float>(clamp01(c.blueF() * f)));
    });
}

void waterHaze(QImage& image, const QColor& water, double amount) {
    shadePixels(image, [&](double, double, QColor& c, int) { c = mix(c, water, amount); });
}

void algaeGrowth(QImage& image, double amount, uint32_t seed, double frequency, int originColumn) {
    const QImage alphaCopy = image.copy();
    const QColor moss(70, 112, 48), dark(38, 70, 40);
    const auto grow = [&](double x, double y, QColor& c, int) {
        // Open to the light: little of the object lies just above this point.
        int above = 0;
        for (int k = 2; k <= 10; k += 2) {
            above += alphaAt(alphaCopy, QPointF(x, y - k), originColumn);
        }
        const double open = 1.0 - above / (5.0 * 255.0);
        const double n =
            fbm(static_cast<float>(x * frequency), static_cast<float>(y * frequency), 4, seed);
        const double patch = smoothstep(0.5, 0.7, n) * (0.35 + 0.65 * open);
        const double speck =
            valueNoise(static_cast<float>(x * 0.7), static_cast<float>(y * 0.7), seed + 7) > 0.62
                ? 0.3
                : 0.0;
        const double t = clamp01(amount * (patch + speck * patch));
        c = mix(c, mix(dark, moss, n), t);
    };
    shadePixels(image, grow, originColumn);
}

void sandFoot(QPainter& painter, QRectF footArea, uint32_t seed) {
    painter.save();
    QRadialGradient shadow(footArea.center() + QPointF(0, footArea.height() * 0.15),
                           footArea.width() * 0.55);
    shadow.setColorAt(0.0, QColor(10, 20, 30, 110));
    shadow.setColorAt(1.0, QColor(10, 20, 30, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shadow);
    painter.drawEllipse(footArea.adjusted(-footArea.width() * 0.1, 0, footArea.width() * 0.1, 0));
    // The heap: a low mound lighter on top.
    QPainterPath mound;
    const double left = footArea.left(), right = footArea.right(), base = footArea.bottom();
    const double top = footArea.top() + footArea.height() * 0.35;
    mound.moveTo(left, base);
    mound.cubicTo(left + footArea.width() * 0.25, top, right - footArea.width() * 0.25, top, right,
                  base);
    mound.closeSubpath();
    painter.setBrush(verticalGradient(
        top, base, {{0.0, QColor(206, 190, 150, 235)}, {1.0, QColor(150, 134, 100, 235)}}));
    painter.drawPath(mound);
    Rng rng(seed);
    for (int i = 0; i < static_cast<int>(footArea.width() * 1.2); ++i) {
        const double x = rng.range(left + 4, right - 4);
        const double y = rng.range(top + (base - top) * 0.3, base - 1);
        if (!mound.contains(QPointF(x, y))) {
            continue;
        }
        painter.setBrush(rng.chance(0.5) ? QColor(120, 104, 80, 120) : QColor(240, 228, 196, 110));
        const double r = rng.range(0.5, 1.3);
        painter.drawEllipse(QPointF(x, y), r, r);
    }
    painter.restore();
}

void topLight(QImage& image, double strength) {
    const double h = std::max(1.0, image.height() / pictureScale(image) - 1.0);
    shadePixels(image, [&](double, double y, QColor& c, int) {
        const double f = 1.0 + strength * (0.35 - y / h);
        c = QColor::fromRgbF(static_cast<float>(clamp01(c.redF() * f)),
                             static_cast<float>(clamp01(c.greenF() * f)),
                             static_cast<float>(clamp01(c.blueF() * f)));
    });
}

QColor sceneWater() { return QColor(40, 96, 130); }

Cell voronoi(double x, double y, double cellSize, uint32_t seed, double stretchX) {
    const double gx = x / (cellSize * stretchX), gy = y / cellSize;
    const int cx = static_cast<int>(std::floor(gx)), cy = static_cast<int>(std::floor(gy));
    Cell best{1e9, 1e9, 0, {}};
    for (int j = -1; j <= 1; ++j) {
        for (int i = -1; i <= 1; ++i) {
            const int ix = cx + i, iy = cy + j;
            const uint32_t h = static_cast<uint32_t>(ix) * 73856093u ^
                               static_cast<uint32_t>(iy) * 19349663u ^ (seed * 83492791u);
            Rng rng(h);
            const double px = ix + 0.15 + 0.7 * rng.uniform(), py = iy + 0.15 + 0.7 * rng.uniform();
            const double d = std::hypot((gx - px) * stretchX, gy - py) * cellSize;
            if (d < best.nearest) {
                best.second = best.nearest;
                best.nearest = d;
                best.id = static_cast<uint32_t>(rng.bits());
                best.centre = QPointF(px * cellSize * stretchX, py * cellSize);
            } else if (d < best.second) {
                best.second = d;
            }
        }
    }
    return best;
}

void drawStone(QPainter& painter, QPointF centre, double rx, double ry, const QColor& colour,
               double tilt, uint32_t seed) {
    Rng rng(seed);
    std::vector<QPointF> pts;
    for (int i = 0; i < 9; ++i) {
        const double a = 2 * std::numbers::pi * i / 9 + tilt;
        const double k = rng.range(0.85, 1.08);
        pts.emplace_back(centre.x() + std::cos(a) * rx * k, centre.y() + std::sin(a) * ry * k);
    }
    const QPainterPath stone = smoothPath(pts, true);
    painter.save();
    QRadialGradient shadow(centre + QPointF(rx * 0.15, ry * 0.7), rx * 1.2);
    shadow.setColorAt(0.0, QColor(20, 20, 20, 90));
    shadow.setColorAt(1.0, QColor(20, 20, 20, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shadow);
    painter.drawEllipse(centre + QPointF(rx * 0.15, ry * 0.6), rx * 1.15, ry * 0.7);
    QRadialGradient body(centre + QPointF(-rx * 0.3, -ry * 0.45), std::max(rx, ry) * 1.5);
    body.setColorAt(0.0, shade(colour, 1.35));
    body.setColorAt(0.55, colour);
    body.setColorAt(1.0, shade(colour, 0.45));
    painter.setBrush(body);
    painter.setPen(QPen(shade(colour, 0.4), 0.8));
    painter.drawPath(stone);
    painter.restore();
}

void drawScallop(QPainter& painter, QPointF centre, double size, double angle,
                 const QColor& colour) {
    painter.save();
    painter.translate(centre);
    painter.rotate(angle);
    QPainterPath fan;
    fan.moveTo(0, size * 0.45);
    fan.cubicTo(-size * 0.9, -size * 0.1, -size * 0.4, -size * 0.75, 0, -size * 0.6);
    fan.cubicTo(size * 0.4, -size * 0.75, size * 0.9, -size * 0.1, 0, size * 0.45);
    QRadialGradient g(QPointF(0, -size * 0.3), size);
    g.setColorAt(0.0, shade(colour, 1.3));
    g.setColorAt(1.0, shade(colour, 0.75));
    painter.setBrush(g);
    painter.setPen(QPen(shade(colour, 0.55), 0.7));
    painter.drawPath(fan);
    painter.setPen(QPen(withAlpha(shade(colour, 0.55), 0.7), 0.6));
    for (int i = -3; i <= 3; ++i) {
        painter.drawLine(QPointF(0, size * 0.4), QPointF(i * size * 0.17, -size * 0.55));
    }
    painter.setBrush(shade(colour, 0.9));
    painter.drawRect(QRectF(-size * 0.18, size * 0.3, size * 0.36, size * 0.18));
    painter.restore();
}

void drawSnail(QPainter& painter, QPointF centre, double size, double angle, const QColor& colour) {
    painter.save();
    painter.translate(centre);
    painter.rotate(angle);
    QPainterPath shell;
    shell.moveTo(-size * 0.5, size * 0.2);
    shell.cubicTo(-size * 0.6, -size * 0.4, size * 0.3, -size * 0.6, size * 0.6, 0);
    shell.cubicTo(size * 0.3, size * 0.35, -size * 0.2, size * 0.35, -size * 0.5, size * 0.2);
    QRadialGradient g(QPointF(-size * 0.1, -size * 0.2), size);
    g.setColorAt(0.0, shade(colour, 1.35));
    g.setColorAt(1.0, shade(colour, 0.7));
    painter.setBrush(g);
    painter.setPen(QPen(shade(colour, 0.5), 0.7));
    painter.drawPath(shell);
    painter.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 3; ++i) {
        painter.drawArc(QRectF(-size * 0.45 + i * size * 0.08, -size * 0.35 + i * size * 0.05,
                               size * 0.5 / i + size * 0.1, size * 0.5 / i + size * 0.1),
                        30 * 16, 260 * 16);
    }
    painter.restore();
}

}  // namespace bw::art
