#pragma once

#include <numbers>

// Drawing helpers shared by every family of the art generator: a portable seeded random
// source, value noise, colour arithmetic, smooth paths and per-pixel finishing passes.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPoint>
#include <QPointF>
#include <QSize>
#include <cstdint>
#include <functional>
#include <vector>

namespace bw::art {

inline constexpr double kDegree = std::numbers::pi / 180.0;

// Deterministic on every platform (std distributions are not), so a seed always paints the
// same picture.
class Rng {
  public:
    explicit Rng(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    uint64_t bits() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double uniform() { return static_cast<double>(bits() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double low, double high) { return low + (high - low) * uniform(); }
    int integer(int low, int highInclusive) {
        return low + static_cast<int>(uniform() * (highInclusive - low + 1));
    }
    bool chance(double p) { return uniform() < p; }

  private:
    uint64_t state_;
};

// Smooth value noise in [0, 1] and its fractal sum.
float valueNoise(float x, float y, uint32_t seed);
float fbm(float x, float y, int octaves, uint32_t seed);
// 1 on the crest lines of the noise, falling to 0 away from them: caustic and vein patterns.
float ridge(float x, float y, int octaves, uint32_t seed);

double clamp01(double v);
double smoothstep(double edge0, double edge1, double x);
QColor mix(const QColor& a, const QColor& b, double t);
QColor shade(const QColor& c, double factor);  // below 1 darker, above 1 lighter
QColor withAlpha(const QColor& c, double alpha);

// Pictures are laid out in scene units (the pixels of the 1x picture) and painted at a scale
// S >= 1. A picture of w x h scene units is round(w * S) x round(h * S) pixels; the display places
// it at its scene position times S, rounded. Its devicePixelRatio is S, so every QPainter on it
// draws in scene units, and drawImage of another picture at S places it in scene units too.
QSize scaledSize(QSize sceneSize, double scale);
QImage newPicture(QSize sceneSize, double scale, QImage::Format format);
// The same, `pixelSize` pixels large: a picture of the glass is as wide as its frame, which
// need not be a whole number of scene units.
QImage newPictureInPixels(QSize pixelSize, double scale, QImage::Format format);
// Transparent, premultiplied.
QImage newSprite(int width, int height, double scale);
QImage newSprite(QSize size, double scale);
QImage newSpriteInPixels(QSize pixelSize, double scale);
void setupPainter(QPainter& painter);

// The scale a picture is painted at.
inline double pictureScale(const QImage& image) { return image.devicePixelRatio(); }
// The scene coordinate a pixel stands for: at 1x pixel i samples at i, so at S the pixels that
// cover scene pixel i sample around i (S = 2: i - 0.25 and i + 0.25). Exact at S = 1.
inline double sceneCoordinate(int pixel, double scale) { return (pixel + 0.5) / scale - 0.5; }
// The pixel that stands for a scene point (the inverse, rounded). Exact at S = 1.
QPoint pixelAt(QPointF scenePoint, double scale);
// Alpha of the pixel standing for a scene point; 0 outside the picture. `originColumn` is the
// pixel column of scene x 0 (see Span).
int alphaAt(const QImage& image, QPointF scenePoint, int originColumn = 0);

// A closed or open curve through the points (Catmull-Rom turned into cubic Beziers).
QPainterPath smoothPath(const std::vector<QPointF>& points, bool closed);
QPainterPath polygonPath(const std::vector<QPointF>& points);

QLinearGradient verticalGradient(double top, double bottom,
                                 std::initializer_list<std::pair<double, QColor>> stops);

// Per-pixel passes over premultiplied sprites; transparent pixels stay untouched.
// shader(x, y, colour, alpha) may change the straight colour in place; x and y are the scene
// coordinates the pixel stands for (see sceneCoordinate), so patterns keep their size at any
// scale; x counts from the pixel column `originColumn` (see Span).
void shadePixels(QImage& image, const std::function<void(double, double, QColor&, int)>& shader,
                 int originColumn = 0);
// Multiplies the brightness by 1 + amount * (noise - 0.5) * 2; `frequency` in noise cells per
// scene unit.
void grainNoise(QImage& image, double frequency, double amount, uint32_t seed, int octaves = 4);
// Blends every pixel towards the water colour: distance haze.
void waterHaze(QImage& image, const QColor& water, double amount);
// Mossy green where the noise is high on surfaces open to the light above.
void algaeGrowth(QImage& image, double amount, uint32_t seed, double frequency = 0.08,
                 int originColumn = 0);
// Soft dark shadow under the object and a heap of sand grains across its foot.
void sandFoot(QPainter& painter, QRectF footArea, uint32_t seed);
// Ambient occlusion towards the lower part, light from above.
void topLight(QImage& image, double strength);

// The water colour that distant scenery is hazed towards.
QColor sceneWater();

// Cellular pattern on a jittered grid: distances to the nearest and second nearest seed.
struct Cell {
    double nearest, second;
    uint32_t id;
    QPointF centre;
};
Cell voronoi(double x, double y, double cellSize, uint32_t seed, double stretchX = 1.0);

// Draws a rounded stone with light from above.
void drawStone(QPainter& painter, QPointF centre, double rx, double ry, const QColor& colour,
               double tilt, uint32_t seed);
// A scallop shell (fan with ribs) or a spiral snail shell.
void drawScallop(QPainter& painter, QPointF centre, double size, double angle,
                 const QColor& colour);
void drawSnail(QPainter& painter, QPointF centre, double size, double angle, const QColor& colour);

}  // namespace bw::art
