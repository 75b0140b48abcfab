// The calendar sheet, the bubbles and the bubble curtain, the first-run notices and the icon.

#include <QFont>
#include <QTextOption>
#include <cmath>
#include <numbers>

#include "Families.h"
#include "FishRig.h"
#include "Paint.h"

namespace bw::art {

namespace {

QFont sans(int pixelSize, bool bold = false) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// One see-through bubble: a bright rim, a clear middle and a highlight up-left.
void drawBubble(QPainter& p, QPointF centre, double r, double opacity) {
    QRadialGradient body(centre, r);
    body.setColorAt(0.0, QColor(200, 235, 255, static_cast<int>(25 * opacity)));
    body.setColorAt(0.75, QColor(200, 235, 255, static_cast<int>(60 * opacity)));
    body.setColorAt(0.95, QColor(235, 250, 255, static_cast<int>(200 * opacity)));
    body.setColorAt(1.0, QColor(235, 250, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawEllipse(centre, r, r);
    p.setBrush(QColor(255, 255, 255, static_cast<int>(220 * opacity)));
    p.drawEllipse(centre + QPointF(-r * 0.38, -r * 0.38), r * 0.22, r * 0.18);
}

void noticeIcon(QPainter& p, int variant, QRectF box) {
    p.save();
    p.translate(box.center());
    const QColor ink(230, 246, 255), accent(255, 210, 90);
    p.setPen(QPen(ink, 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    if (variant == 1) {  // a speed dial
        p.drawArc(QRectF(-34, -34, 68, 68), -30 * 16, 240 * 16);
        for (int i = 0; i <= 6; ++i) {
            const double a = (210 - i * 40) * std::numbers::pi / 180;
            p.drawLine(QPointF(std::cos(a), -std::sin(a)) * 26,
                       QPointF(std::cos(a), -std::sin(a)) * 32);
        }
        p.setPen(QPen(accent, 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(0, 0), QPointF(18, -16));
        p.setBrush(accent);
        p.drawEllipse(QPointF(0, 0), 5, 5);
    } else if (variant == 2) {  // a monitor with a moon
        p.drawRoundedRect(QRectF(-38, -30, 76, 50), 5, 5);
        p.drawLine(QPointF(0, 20), QPointF(0, 30));
        p.drawLine(QPointF(-16, 32), QPointF(16, 32));
        QPainterPath moon;
        moon.addEllipse(QPointF(0, -5), 14, 14);
        QPainterPath cut;
        cut.addEllipse(QPointF(7, -10), 12, 12);
        p.setPen(Qt::NoPen);
        p.setBrush(accent);
        p.drawPath(moon.subtracted(cut));
    } else {  // the power symbol
        p.drawArc(QRectF(-30, -30, 60, 60), 120 * 16, 300 * 16);
        p.setPen(QPen(accent, 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(0, -36), QPointF(0, -6));
    }
    p.restore();
}

}  // namespace

QImage paintCalendar(const Asset& asset, int, double scale) {
    const double w = asset.size.width(), h = asset.size.height();
    QImage image = newSprite(asset.size, scale);
    QPainter p(&image);
    setupPainter(p);
    // Soft shadow, then the sheet; the overlay writes month, time, weekday and day on it.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 20, 40, 70));
    p.drawRoundedRect(QRectF(2.5, 3, w - 3, h - 3.5), 4, 4);
    QPainterPath sheet;
    sheet.moveTo(4, 1);
    sheet.lineTo(w - 3, 1);
    sheet.lineTo(w - 3, h - 12);
    sheet.quadTo(w - 6, h - 6, w - 14, h - 3);  // the lifting corner
    sheet.lineTo(4, h - 3);
    sheet.quadTo(1, h - 3, 1, h - 6);
    sheet.lineTo(1, 4);
    sheet.quadTo(1, 1, 4, 1);
    p.setBrush(
        verticalGradient(0, h, {{0.0, QColor(255, 253, 246)}, {1.0, QColor(236, 230, 214)}}));
    p.setPen(QPen(QColor(120, 110, 96), 0.8));
    p.drawPath(sheet);
    // A pale band for the month, a red rule beneath it.
    p.save();
    p.setClipPath(sheet);
    p.fillRect(QRectF(0, 0, w, 13), QColor(252, 224, 220));
    p.fillRect(QRectF(0, 12.5, w, 1.2), QColor(200, 60, 50));
    p.setPen(QPen(QColor(160, 190, 220, 70), 0.6));
    for (double y = 46; y < h - 8; y += 9) {
        p.drawLine(QPointF(4, y), QPointF(w - 5, y));
    }
    p.restore();
    // The turned-up corner and the binding holes of the pad.
    QPainterPath curl;
    curl.moveTo(w - 3, h - 12);
    curl.quadTo(w - 12, h - 12, w - 14, h - 3);
    curl.quadTo(w - 8, h - 8, w - 3, h - 12);
    p.setBrush(QColor(214, 206, 188));
    p.drawPath(curl);
    p.setPen(Qt::NoPen);
    for (double x = 6; x < w - 4; x += 7) {
        p.setBrush(QColor(150, 140, 126, 150));
        p.drawEllipse(QPointF(x, 3), 1.1, 1.1);
    }
    return image;
}

QImage paintBubble(const Asset& asset, int, double scale) {
    const int n = asset.variant;
    QImage image = newSprite(n, n, scale);
    if (n <= 2) {
        // Too small to draw: four set pixels, enlarged smoothly at larger scales.
        QImage dots = newSprite(n, n, 1.0);
        dots.setPixel(0, 0, qPremultiply(qRgba(240, 252, 255, 200)));
        dots.setPixel(1, 0, qPremultiply(qRgba(210, 236, 255, 150)));
        dots.setPixel(0, 1, qPremultiply(qRgba(210, 236, 255, 150)));
        dots.setPixel(1, 1, qPremultiply(qRgba(180, 220, 250, 110)));
        if (scale == 1.0) {
            return dots;
        }
        QPainter p(&image);
        setupPainter(p);
        p.drawImage(QRectF(QPointF(0, 0), QSizeF(image.size()) / scale), dots);  // every pixel
        return image;
    }
    QPainter p(&image);
    setupPainter(p);
    drawBubble(p, QPointF(n / 2.0, n / 2.0), n / 2.0 - 0.2, 1.0);
    p.end();
    // Keep every pixel see-through.
    shadePixels(image, [](double, double, QColor&, int) {});
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = qUnpremultiply(line[x]);
            line[x] = qPremultiply(qRgba(qRed(c), qGreen(c), qBlue(c), std::min(qAlpha(c), 230)));
        }
    }
    return image;
}

QImage paintCurtain(const Asset& asset, int, double scale) {
    const double w = asset.size.width(), h = asset.size.height();
    QImage image = newSprite(asset.size, scale);
    QPainter p(&image);
    setupPainter(p);
    Rng rng(77);
    // Many bubbles in a rising column, denser and smaller towards its middle line.
    for (int i = 0; i < 420; ++i) {
        const double y = rng.range(4, h - 4);
        const double spread = (rng.uniform() + rng.uniform() + rng.uniform() - 1.5) / 1.5;
        const double x = w / 2 + spread * (w / 2 - 6) + 4 * std::sin(y * 0.03);
        const double r = rng.chance(0.15) ? rng.range(4, 6.5) : rng.range(1.2, 3.5);
        drawBubble(p, QPointF(x, y), std::min(r, w / 2 - std::fabs(x - w / 2) - 0.5),
                   rng.range(0.6, 1.0));
    }
    return image;
}

QImage paintNotice(const Asset& asset, int, double scale) {
    const double w = asset.size.width(), h = asset.size.height();
    QImage image = newPicture(asset.size, scale, QImage::Format_RGB32);
    QPainter p(&image);
    setupPainter(p);
    p.fillRect(image.rect(),
               verticalGradient(0, h, {{0.0, QColor(24, 92, 132)}, {1.0, QColor(8, 34, 70)}}));
    // Light from above, and a few bubbles in the margin.
    QRadialGradient sheen(QPointF(w * 0.3, -40), w * 0.8);
    sheen.setColorAt(0.0, QColor(255, 255, 255, 60));
    sheen.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillRect(image.rect(), sheen);
    Rng rng(static_cast<uint64_t>(asset.variant) * 13);
    for (int i = 0; i < 14; ++i) {
        drawBubble(p, QPointF(rng.range(w - 60, w - 14), rng.range(10, h - 10)), rng.range(2, 6),
                   0.8);
    }
    p.setPen(QPen(QColor(150, 210, 240), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(5, 5, w - 10, h - 10), 12, 12);
    noticeIcon(p, asset.variant, QRectF(24, 26, 90, 90));
    struct Text {
        const char* title;
        const char* body;
    };
    const Text texts[] = {
        {"Tune the aquarium to your computer",
         "Fish swimming too fast or too slow?\n\nOpen the screensaver settings and choose the "
         "\u201cTune Saver\u201d tab. Move the slider to the left for livelier fish, to the right "
         "for calmer ones (0 redraws the aquarium on every frame).\n\nPick a setting, run the "
         "screensaver, and keep the one that looks best."},
        {"Let your monitor rest",
         "A running aquarium keeps the display busy, so the desktop may never switch the monitor "
         "off by itself.\n\nSet the monitor's sleep time in your desktop's power settings, then "
         "enter the same time on the \u201cPower Mgmt\u201d tab of the screensaver settings. The "
         "aquarium closes shortly before, and the monitor can sleep."},
        {"Power management, built in",
         "On the \u201cPower Mgmt\u201d tab, tick the power management box and choose when the "
         "monitor, the disks, standby and hibernation should come.\n\nShortly before the first "
         "of them, the aquarium steps aside so your computer can save energy. \u201cPower "
         "Management HELP\u201d on that tab explains more."},
    };
    const Text& text = texts[(asset.variant - 1) % 3];
    p.setPen(QColor(255, 226, 120));
    p.setFont(sans(22, true));
    p.drawText(QRectF(128, 30, w - 190, 64), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
               QString::fromUtf8(text.title));
    p.setPen(QColor(232, 244, 252));
    p.setFont(sans(15));
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    p.drawText(QRectF(30, 124, w - 90, h - 140), QString::fromUtf8(text.body), option);
    return image;
}

QImage paintIcon(const Asset& asset, int, double scale) {
    const double s = asset.size.width();
    QImage image = newSprite(asset.size, scale);
    QPainter p(&image);
    setupPainter(p);
    const QRectF badge(8, 8, s - 16, s - 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 30, 60, 80));
    p.drawEllipse(badge.translated(0, 4));
    p.setBrush(verticalGradient(
        badge.top(), badge.bottom(),
        {{0.0, QColor(120, 214, 236)}, {0.55, QColor(24, 120, 172)}, {1.0, QColor(8, 44, 96)}}));
    p.drawEllipse(badge);
    QPainterPath clip;
    clip.addEllipse(badge);
    p.setClipPath(clip);
    for (int i = 0; i < 4; ++i) {
        QLinearGradient ray(0, 0, 0, s);
        ray.setColorAt(0.0, QColor(255, 255, 255, 70));
        ray.setColorAt(1.0, QColor(255, 255, 255, 0));
        QPainterPath beam;
        beam.moveTo(60 + i * 40, 0);
        beam.lineTo(84 + i * 40, 0);
        beam.lineTo(54 + i * 46, s);
        beam.lineTo(30 + i * 46, s);
        p.setBrush(ray);
        p.drawPath(beam);
    }
    p.setBrush(QColor(214, 190, 140));
    p.drawEllipse(QRectF(-20, s * 0.8, s + 40, s * 0.5));
    Rng rng(5);
    for (int i = 0; i < 7; ++i) {
        drawBubble(p, QPointF(rng.range(40, 90), rng.range(30, 150)), rng.range(4, 9), 1.0);
    }
    p.save();
    p.translate(s * 0.14, s * 0.22);
    p.scale(1.9, 1.9);
    drawSpecies(p, 2, FishPose{0.3, 0.2});
    p.restore();
    p.setClipping(false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(240, 250, 255), 6));
    p.drawEllipse(badge.adjusted(3, 3, -3, -3));
    p.setPen(QPen(QColor(10, 50, 90), 2));
    p.drawEllipse(badge);
    return image;
}

}  // namespace bw::art
