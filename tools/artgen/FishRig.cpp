#include "FishRig.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

#include "Paint.h"

namespace bw::art {

double Profile::at(double u) const {
    const auto& p = points_;
    if (u <= p.front().x()) {
        return p.front().y();
    }
    if (u >= p.back().x()) {
        return p.back().y();
    }
    size_t i = 0;
    while (i + 1 < p.size() && p[i + 1].x() < u) {
        ++i;
    }
    const size_t n = p.size();
    auto y = [&](size_t k) { return p[std::min(k, n - 1)].y(); };
    auto slope = [&](size_t k) {
        const size_t a = k == 0 ? 0 : k - 1, b = std::min(k + 1, n - 1);
        return (p[b].y() - p[a].y()) / std::max(1e-9, p[b].x() - p[a].x());
    };
    const double x0 = p[i].x(), x1 = p[i + 1].x(), h = x1 - x0, t = (u - x0) / h;
    const double t2 = t * t, t3 = t2 * t;
    // Cubic Hermite with Catmull-Rom slopes: smooth, and through every point.
    return (2 * t3 - 3 * t2 + 1) * y(i) + (t3 - 2 * t2 + t) * h * slope(i) +
           (-2 * t3 + 3 * t2) * y(i + 1) + (t3 - t2) * h * slope(i + 1);
}

FishPose poseForImage(int image, int count) {
    const double t = count > 1 ? static_cast<double>(image - 1) / (count - 1) : 0.5;
    const double angle = std::numbers::pi * (t - 0.5);
    return {std::sin(angle), std::sin(2.0 * angle + 0.6)};
}

FishRig::FishRig(double tailBaseX, double noseX, double spineY, Profile top, Profile bottom,
                 FishPose pose, double bend, double tailSwingDegrees, double foreshortening)
    : tailBaseX_(tailBaseX),
      noseX_(noseX),
      spineY_(spineY),
      top_(std::move(top)),
      bottom_(std::move(bottom)),
      pose_(pose),
      bend_(bend) {
    const double slope = (spineYAt(0.0) - spineYAt(0.05)) / (0.05 * length());
    tailAngle_ = std::atan(slope) + pose.beat * tailSwingDegrees * std::numbers::pi / 180.0;
    tailScale_ = 1.0 - foreshortening * std::fabs(pose.beat);
}

double FishRig::spineYAt(double u) const {
    const double behind = std::max(0.0, 1.0 - u);
    // The tail end swings most; the head answers a little the other way.
    return spineY_ + bend_ * pose_.beat * (std::pow(behind, 2.2) - 0.12 * u);
}

QPointF FishRig::spine(double u, double dy) const {
    return {tailBaseX_ + u * length(), spineYAt(u) + dy};
}

QPointF FishRig::at(double u, double v) const {
    const double half = v < 0 ? top_.at(u) : bottom_.at(u);
    return spine(u, v * half);
}

QPainterPath FishRig::outline() const {
    std::vector<QPointF> points;
    const int samples = 48;
    // Denser near the nose, where the outline turns fastest.
    for (int i = 0; i <= samples; ++i) {
        const double s = static_cast<double>(i) / samples;
        points.push_back(at(1.0 - std::pow(1.0 - s, 1.6) * 1.0, -1));
    }
    for (int i = samples; i >= 0; --i) {
        const double s = static_cast<double>(i) / samples;
        points.push_back(at(1.0 - std::pow(1.0 - s, 1.6), 1));
    }
    QPainterPath path;
    path.moveTo(points.front());
    for (size_t i = 1; i < points.size(); ++i) {
        path.lineTo(points[i]);
    }
    path.closeSubpath();
    return path;
}

QPainterPath FishRig::strip(double u1, double u2, double v1, double v2) const {
    std::vector<QPointF> points;
    const int steps = 8;
    for (int i = 0; i <= steps; ++i) {
        const double u = u1 + (u2 - u1) * i / steps;
        points.push_back(spine(u, v1 * std::max(top_.at(u), 4.0)));
    }
    for (int i = steps; i >= 0; --i) {
        const double u = u1 + (u2 - u1) * i / steps;
        points.push_back(spine(u, v2 * std::max(bottom_.at(u), 4.0)));
    }
    return polygonPath(points);
}

QPointF FishRig::tail(double dx, double dy) const {
    const QPointF base = spine(0.0);
    const double x = -dx * tailScale_;
    const double c = std::cos(tailAngle_), s = std::sin(tailAngle_);
    return base + QPointF(x * c - dy * s, x * s + dy * c);
}

QPainterPath finPath(const Fin& fin) {
    std::vector<QPointF> contour;
    contour.push_back(fin.root.front());
    contour.insert(contour.end(), fin.edge.begin(), fin.edge.end());
    contour.push_back(fin.root.back());
    QPainterPath path = smoothPath(contour, false);
    for (auto it = fin.root.rbegin() + 1; it != fin.root.rend(); ++it) {
        path.lineTo(*it);
    }
    path.closeSubpath();
    return path;
}

namespace {

QPointF alongPolyline(const std::vector<QPointF>& points, double t) {
    double total = 0;
    for (size_t i = 1; i < points.size(); ++i) {
        total += std::hypot(points[i].x() - points[i - 1].x(), points[i].y() - points[i - 1].y());
    }
    double want = t * total;
    for (size_t i = 1; i < points.size(); ++i) {
        const QPointF d = points[i] - points[i - 1];
        const double len = std::hypot(d.x(), d.y());
        if (want <= len || i + 1 == points.size()) {
            return points[i - 1] + d * (len > 0 ? std::min(1.0, want / len) : 0.0);
        }
        want -= len;
    }
    return points.back();
}

QPointF centroid(const std::vector<QPointF>& points) {
    QPointF sum;
    for (const QPointF& p : points) {
        sum += p;
    }
    return sum / static_cast<double>(points.size());
}

}  // namespace

void drawFin(QPainter& painter, const Fin& fin, const FinStyle& style) {
    const QPainterPath path = finPath(fin);
    painter.save();
    QLinearGradient gradient(centroid(fin.root), centroid(fin.edge));
    gradient.setColorAt(0.0, withAlpha(style.colour, style.alpha));
    gradient.setColorAt(1.0, withAlpha(style.tip, style.alpha * 0.7));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawPath(path);
    // Fin rays: from the root, fanning out to the free edge.
    std::vector<QPointF> contour;
    contour.push_back(fin.root.front());
    contour.insert(contour.end(), fin.edge.begin(), fin.edge.end());
    contour.push_back(fin.root.back());
    const QPainterPath edgeCurve = smoothPath(contour, false);
    painter.setClipPath(path, Qt::IntersectClip);
    painter.setBrush(Qt::NoBrush);
    for (int k = 1; k <= style.rays; ++k) {
        const double t = static_cast<double>(k) / (style.rays + 1);
        const QPointF from = alongPolyline(fin.root, t);
        const QPointF to = edgeCurve.pointAtPercent(0.04 + 0.92 * t);
        painter.setPen(QPen(withAlpha(style.ray, 0.45 * style.alpha + 0.1), style.rayWidth,
                            Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(from, to);
    }
    painter.setClipping(false);
    painter.setPen(QPen(withAlpha(shade(style.tip, 0.7), 0.35), 0.8));
    painter.drawPath(edgeCurve);
    painter.restore();
}

void drawBody(QPainter& painter, const FishRig& rig, const BodyStyle& style,
              const std::function<void(QPainter&)>& markings) {
    const QPainterPath body = rig.outline();
    const QRectF box = body.boundingRect();
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(verticalGradient(
        box.top(), box.bottom(), {{0.0, style.back}, {0.45, style.flank}, {1.0, style.belly}}));
    painter.drawPath(body);
    painter.setClipPath(body);
    if (markings) {
        markings(painter);
    }
    if (style.scales > 0) {
        // Rows of small arcs, offset every other row.
        const double size = std::max(3.0, box.height() / 9.0);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(withAlpha(style.scaleColour, style.scales), 0.7));
        int row = 0;
        for (double y = box.top(); y < box.bottom(); y += size * 0.7, ++row) {
            for (double x = box.left() + (row % 2) * size * 0.5; x < box.right(); x += size) {
                painter.drawArc(QRectF(x, y, size, size), 90 * 16, 180 * 16);
            }
        }
    }
    // Light from above: brighter back, darker underside.
    QLinearGradient light(0, box.top(), 0, box.bottom());
    light.setColorAt(0.0, QColor(255, 255, 255, 50));
    light.setColorAt(0.4, QColor(255, 255, 255, 0));
    light.setColorAt(0.7, QColor(0, 0, 0, 0));
    light.setColorAt(1.0, QColor(0, 10, 30, 80));
    painter.setPen(Qt::NoPen);
    painter.setBrush(light);
    painter.drawRect(box);
    QRadialGradient sheen(rig.at(0.62, -0.45), box.height() * 0.45);
    sheen.setColorAt(0.0, QColor(255, 255, 255, 55));
    sheen.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.setBrush(sheen);
    painter.drawRect(box);
    // Rim light along the back: a bright line just inside the upper outline.
    QLinearGradient rim(0, box.top(), 0, box.top() + box.height() * 0.5);
    rim.setColorAt(0.0, QColor(235, 250, 255, static_cast<int>(200 * style.rim)));
    rim.setColorAt(1.0, QColor(235, 250, 255, 0));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QBrush(rim), 2.6));
    painter.drawPath(body);
    if (style.gill) {
        QPainterPath gill;
        gill.moveTo(rig.at(0.74, -0.62));
        gill.quadTo(rig.at(0.66, 0.0), rig.at(0.73, 0.62));
        painter.setPen(QPen(withAlpha(shade(style.flank, 0.45), 0.55), 1.1));
        painter.drawPath(gill);
        painter.setPen(QPen(QColor(255, 255, 255, 45), 1.0));
        painter.drawPath(gill.translated(1.2, 0));
    }
    painter.setClipping(false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(withAlpha(style.outline, 0.8), 1.0));
    painter.drawPath(body);
    painter.restore();
}

void drawEye(QPainter& painter, QPointF centre, double radius, const QColor& iris) {
    painter.save();
    painter.setPen(QPen(QColor(20, 20, 20, 150), std::max(0.6, radius * 0.15)));
    QRadialGradient ring(centre, radius);
    ring.setColorAt(0.0, shade(iris, 1.3));
    ring.setColorAt(1.0, shade(iris, 0.75));
    painter.setBrush(ring);
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(12, 12, 18));
    painter.drawEllipse(centre + QPointF(radius * 0.08, 0), radius * 0.58, radius * 0.58);
    painter.setBrush(QColor(255, 255, 255, 230));
    const double h = std::max(0.8, radius * 0.26);
    painter.drawEllipse(centre + QPointF(radius * 0.25, -radius * 0.3), h, h);
    painter.restore();
}

}  // namespace bw::art
