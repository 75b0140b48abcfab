#include "Scene.h"

#include <QFont>
#include <QPainter>
#include <cmath>
#include <vector>

#include "Catalogue.h"
#include "Paint.h"

namespace bw::art {

namespace {

// One drawable of the scene picture, listed in the saver's draw order.
struct Placement {
    const char* path;
    int x, y;
    bool factoryOn;
};

// Scenery at the factory places, creatures at spots that show them off.
const std::vector<Placement>& scenePlacements() {
    static const std::vector<Placement> placements = {
        {"fish/DarkFish1a.bmp", 520, 66, true},      {"fish/DarkFish2b.bmp", 690, 128, true},
        {"fish/DarkFish3a.bmp", 236, 236, true},     {"fish/DarkFish4c.bmp", 118, 48, true},
        {"fish/DarkFish5a.bmp", 396, 292, true},     {"Plants/darkcliff01b.bmp", -89, 127, true},
        {"Plants/darkcliff02b.bmp", 116, 252, true}, {"Plants/darkcliff03b.bmp", 586, 76, true},
        {"Artifacts/City.bmp", 127, 162, false},     {"Artifacts/pyramid.bmp", 357, 208, true},
        {"Artifacts/Horse.bmp", 439, 90, false},     {"Artifacts/Rome.bmp", 516, 194, false},
        {"Artifacts/Liberty.bmp", 42, 86, true},     {"Artifacts/Statue.bmp", 366, 187, true},
        {"Artifacts/Columns.bmp", 582, 253, false},  {"Artifacts/Statue3.bmp", 665, 78, false},
        {"Bottom/oldwall.bmp", 96, 309, true},       {"fish/Shark4.bmp", 436, 236, true},
        {"fish/Turtle3.bmp", 560, 96, true},         {"fish/Dolphin6.bmp", 196, 168, true},
        {"Artifacts/castle.bmp", 240, 266, false},   {"Artifacts/Lighthouse.bmp", 528, 243, false},
        {"Artifacts/Litehous.bmp", 5, 277, false},   {"Artifacts/Anchor.bmp", 87, 381, true},
        {"Artifacts/Treasure.bmp", 534, 403, true},  {"Plants/coral1.bmp", 188, 429, false},
        {"Plants/coral2.bmp", 488, 511, false},      {"Plants/coral3.bmp", 568, 523, false},
        {"Plants/coral4.bmp", 98, 446, false},       {"Plants/coral5.bmp", 375, 464, false},
        {"Plants/coral6.bmp", 159, 524, true},       {"Plants/coral7.bmp", -10, 454, false},
        {"Plants/coral8.bmp", 538, 282, false},      {"Plants/coral9.bmp", 649, 449, false},
        {"Plants/coral10.bmp", 346, 416, false},     {"Plants/coral11.bmp", -65, 481, false},
        {"Plants/coral12.bmp", 22, 510, true},       {"Plants/coral13.bmp", 566, 476, true},
        {"Plants/coral14.bmp", 191, 516, false},     {"fish/1Angel3.bmp", 292, 52, true},
        {"fish/2butterfly5.bmp", 624, 318, true},    {"fish/1MyFish7.bmp", 214, 330, true},
        {"fish/2MyFish2.bmp", 470, 170, true},       {"fish/3MyFish9.bmp", 40, 236, true},
        {"fish/4MyFish4.bmp", 650, 196, true},       {"Plants/cliff01.bmp", 1, 251, false},
        {"Plants/cliff03.bmp", 660, 254, false},     {"Plants/cliff04.bmp", -92, 294, true},
        {"Plants/cliff02.bmp", 634, 263, true},      {"Plants/cliff05.bmp", -35, 335, false},
        {"Bottom/bottom01.bmp", 68, 467, true},      {"Bottom/bottom02.bmp", 0, 274, false},
        {"Bottom/bottom03.bmp", 213, 428, false},    {"Bottom/bottom04.bmp", 37, 365, false},
        {"Bottom/bottom05.bmp", -49, 398, false},    {"Bottom/bottom06.bmp", 157, 504, false},
        {"Plants/coral6.bmp", 159, 524, true},       {"Plants/coral2.bmp", 488, 511, false},
        {"Plants/coral3.bmp", 568, 523, false},      {"Plants/coral11.bmp", -65, 481, false},
        {"Plants/coral12.bmp", 22, 510, true},       {"Plants/coral13.bmp", 566, 476, true},
        {"Plants/coral14.bmp", 191, 516, false},     {"Artifacts/Statue2.bmp", 703, 480, true},
    };
    return placements;
}

void drawBubbles(QPainter& painter, const ImageLookup& lookup) {
    const QImage curtain = lookup(QStringLiteral("Misc/BB1.bmp"));
    painter.drawImage(15, 400, curtain);
    painter.drawImage(15, 1000 - 600 - 410, curtain);  // the second curtain, further up
    Rng rng(99);
    const char* files[] = {"Misc/b2x2.bmp", "Misc/b4x4.bmp", "Misc/b6x6.bmp"};
    for (int stream = 0; stream < 3; ++stream) {
        const QImage bubble = lookup(QString::fromLatin1(files[stream]));
        for (int i = 0; i < 26; ++i) {
            const int y = rng.integer(0, 599);
            const int x = 50 + rng.integer(0, stream == 2 ? 10 : 15) +
                          static_cast<int>(3 * std::sin(y * 0.05 + i));
            painter.drawImage(x, y, bubble);
        }
    }
}

void drawLabel(QPainter& painter, QPointF at, const QString& text, int size = 11) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(size);
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 0, 170));
    painter.drawText(at + QPointF(1, 1), text);
    painter.setPen(QColor(235, 245, 255));
    painter.drawText(at, text);
}

}  // namespace

QImage composeScene(const ImageLookup& lookup, SceneChoice choice, double scale) {
    // Pictures painted at `scale` carry it as their device pixel ratio, so they land at their
    // scene places on a scene of the same ratio.
    QImage scene = newPicture(QSize(800, 600), scale, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&scene);
    painter.drawImage(0, 0, lookup(QStringLiteral("Water/cool waters.bmp")));
    for (const Placement& placement : scenePlacements()) {
        if (!placement.factoryOn && choice == SceneChoice::Factory) {
            continue;
        }
        if (QLatin1String(placement.path) == QLatin1String("Artifacts/Statue2.bmp")) {
            drawBubbles(painter, lookup);  // the bubbles come after the front group
        }
        painter.drawImage(placement.x, placement.y, lookup(QString::fromLatin1(placement.path)));
    }
    // Fish 2 and the two feeding fish swim in front of everything.
    painter.drawImage(404, 424, lookup(QStringLiteral("fish/1ClownFish4.bmp")));
    painter.drawImage(290, 506, lookup(QStringLiteral("fish/Fisheat6.bmp")));
    painter.drawImage(600, 520, lookup(QStringLiteral("fish/2Fisheat3.bmp")));
    if (choice == SceneChoice::Everything) {
        painter.drawImage(5, 5, lookup(QStringLiteral("Misc/Calendar.bmp")));
    }
    return scene;
}

QStringList scenePictures(SceneChoice choice) {
    // Composing with empty pictures asks for every part in turn; it takes a millisecond.
    QStringList paths;
    composeScene(
        [&](const QString& path) {
            if (!paths.contains(path)) {
                paths << path;
            }
            return QImage();
        },
        choice);
    return paths;
}

QImage composeContactSheet(const ImageLookup& lookup) {
    struct Item {
        QString label;
        QImage image;
        double scale;
        bool newRow;
    };
    std::vector<Item> items;
    for (const Asset& asset : catalogue()) {
        if (asset.encoding == Encoding::Wave) {
            continue;
        }
        const QString stem = QString::fromLatin1(asset.stem);
        double scale = 1.0;
        if (stem.startsWith(QStringLiteral("Water/"))) {
            scale = 0.36;
        } else if (stem.startsWith(QStringLiteral("Misc/b")) && asset.size.width() < 10) {
            scale = 4.0;  // the bubbles, enlarged to be seen
        }
        bool first = true;
        for (const QString& path : imagePaths(asset)) {
            const bool rowPerAsset = asset.naming != Naming::Single;
            items.push_back({path.section(u'/', -1), lookup(path), scale, rowPerAsset && first});
            first = false;
        }
        if (asset.naming != Naming::Single) {
            items.back().label += QStringLiteral("  (%1 frames)").arg(frameCount(asset));
        }
    }
    const int width = 1900, margin = 14, labelHeight = 16;
    // Lay out rows first to learn the height.
    struct Spot {
        size_t item;
        int x, y;
    };
    std::vector<Spot> spots;
    int x = margin, y = margin, rowHeight = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const QSize size = (QSizeF(items[i].image.size()) * items[i].scale).toSize();
        const int cellWidth = std::max(size.width(), 70);
        if ((items[i].newRow && x > margin) || x + cellWidth > width - margin) {
            x = margin;
            y += rowHeight + labelHeight + 10;
            rowHeight = 0;
        }
        spots.push_back({i, x, y});
        x += cellWidth + 12;
        rowHeight = std::max(rowHeight, size.height());
    }
    const int height = y + rowHeight + labelHeight + margin;
    QImage sheet(width, height, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&sheet);
    const QImage water =
        lookup(QStringLiteral("Water/cool waters.bmp"))
            .scaled(width, width * 3 / 4, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (int ty = 0; ty < height; ty += water.height()) {
        painter.drawImage(0, ty, (ty / water.height()) % 2 ? water.mirrored(false, true) : water);
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    for (const Spot& spot : spots) {
        const Item& item = items[spot.item];
        const QSize size = (QSizeF(item.image.size()) * item.scale).toSize();
        if (item.scale != 1.0) {
            painter.drawImage(QRect(QPoint(spot.x, spot.y), size), item.image);
        } else {
            painter.drawImage(spot.x, spot.y, item.image);
        }
        drawLabel(painter, QPointF(spot.x, spot.y + size.height() + 12), item.label);
    }
    return sheet;
}

}  // namespace bw::art
