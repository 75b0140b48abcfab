#pragma once

// A scene of the aquarium's size and make-up, drawn from generated pictures: an opaque
// backdrop, large anti-aliased scenery, animated fish, 400 bubbles, two curtains, ten texts.

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/PictureLoader.h"
#include "scene/DrawingComponent.h"

namespace bw::bench {

inline QImage backdrop() {
    QImage image(800, 600, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, 0, 600);
    g.setColorAt(0, QColor(40, 120, 190));
    g.setColorAt(1, QColor(5, 30, 70));
    p.fillRect(image.rect(), g);
    return image;
}

// A rounded blob with soft edges and a hole or two, like a rock, coral or statue.
inline QImage scenery(int width, int height, int seed) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.moveTo(0, height);
    for (int i = 0; i <= 8; ++i) {
        const double x = width * i / 8.0;
        const double bump = ((seed * 7 + i * 13) % 10) / 10.0;
        path.lineTo(x, height * (0.1 + 0.5 * bump));
    }
    path.lineTo(width, height);
    path.closeSubpath();
    path.addEllipse(QRectF(width * 0.4, height * 0.5, width * 0.15, height * 0.15));
    QLinearGradient g(0, 0, 0, height);
    g.setColorAt(0, QColor::fromHsv((seed * 37) % 360, 120, 200));
    g.setColorAt(1, QColor::fromHsv((seed * 37) % 360, 160, 90));
    p.fillPath(path, g);
    return image;
}

inline QImage fish(int width, int height, int phase) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor::fromHsv((phase * 20) % 360, 200, 230));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(width * 0.2, height * 0.2, width * 0.7, height * 0.6));
    const double tail = height * (0.1 + 0.05 * (phase % 4));
    p.drawPolygon(QPolygonF(
        {QPointF(0, tail), QPointF(width * 0.25, height / 2.0), QPointF(0, height - tail)}));
    return image;
}

inline QImage bubble(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(220, 240, 255, 170));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(0, 0, size, size));
    return image;
}

inline QImage curtain() {
    QImage image(64, 600, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 120; ++i) {
        const int s = 3 + (i * 7) % 8;
        p.setBrush(QColor(230, 245, 255, 150));
        p.drawEllipse(QRectF((i * 29) % 54, i * 5, s, s));
    }
    return image;
}

struct Placed {
    SurfaceId surface;
    int16_t x;
    int16_t y;
};

// Builds the scene in `display` (anything with the drawing component's calls) and returns
// a function that draws one frame the way the saver does.
// `art`, when it names a data folder holding the aquarium's pictures, supplies them in place
// of the generated stand-ins (the figures then match the real scene most closely).
template <typename Display, typename SetImage>
std::function<void()> buildScene(Display& d, SetImage setImage, const QString& art = {},
                                 int* artFound = nullptr) {
    auto picture = [&](const QString& file, const QImage& standIn) {
        if (!art.isEmpty()) {
            const QImage real = PictureLoader::load(art + "/" + file);
            if (!real.isNull()) {
                if (artFound) ++*artFound;
                return real;
            }
        }
        return standIn;
    };
    struct State {
        SurfaceId backdrop = 0;
        std::vector<Placed> scenery;
        std::vector<Placed> creatures;
        std::vector<Placed> bubbles;
        std::vector<Placed> curtains;
        std::vector<int> speed;
    };
    auto s = std::make_shared<State>();
    s->backdrop = d.NewSurface();
    setImage(s->backdrop, 1, picture("Water/deep blue.bmp", backdrop()), kOpaque);
    d.SetSurfaceX(s->backdrop, 0);
    d.SetSurfaceY(s->backdrop, 0);

    struct Size {
        int w, h;
        const char* file;
    };
    // The aquarium's own picture sizes: dark mounds, wall, bottom pieces, artifacts (back
    // group, middle group), corals, cliffs, totem, calendar; in drawing order.
    const Size sizes[] = {
        {310, 300, "Plants/darkcliff01b.bmp"}, {400, 200, "Plants/darkcliff02b.bmp"},
        {130, 330, "Plants/darkcliff03b.bmp"}, {400, 150, "Artifacts/City.bmp"},
        {400, 162, "Artifacts/pyramid.bmp"},   {270, 300, "Artifacts/Horse.bmp"},
        {216, 196, "Artifacts/Rome.bmp"},      {280, 400, "Artifacts/Liberty.bmp"},
        {92, 200, "Artifacts/Statue.bmp"},     {150, 126, "Artifacts/Columns.bmp"},
        {140, 294, "Artifacts/Statue3.bmp"},   {800, 292, "Bottom/brickwall.bmp"},
        {240, 136, "Artifacts/castle.bmp"},    {76, 160, "Artifacts/Lighthouse.bmp"},
        {66, 218, "Artifacts/Litehous.bmp"},   {148, 80, "Artifacts/Anchor.bmp"},
        {140, 130, "Artifacts/Treasure.bmp"},  {174, 92, "Plants/coral1.bmp"},
        {180, 90, "Plants/coral2.bmp"},        {74, 50, "Plants/coral3.bmp"},
        {200, 56, "Plants/coral4.bmp"},        {150, 120, "Plants/coral5.bmp"},
        {150, 76, "Plants/coral6.bmp"},        {150, 130, "Plants/coral7.bmp"},
        {150, 110, "Plants/coral8.bmp"},       {150, 130, "Plants/coral9.bmp"},
        {150, 120, "Plants/coral10.bmp"},      {150, 119, "Plants/coral11.bmp"},
        {150, 90, "Plants/coral12.bmp"},       {150, 124, "Plants/coral13.bmp"},
        {150, 84, "Plants/coral14.bmp"},       {240, 350, "Plants/cliff01.bmp"},
        {180, 346, "Plants/cliff03.bmp"},      {200, 306, "Plants/cliff04.bmp"},
        {170, 338, "Plants/cliff02.bmp"},      {200, 265, "Plants/cliff05.bmp"},
        {800, 134, "Bottom/bottom01.bmp"},     {800, 327, "Bottom/bottom02.bmp"},
        {588, 173, "Bottom/bottom03.bmp"},     {800, 236, "Bottom/bottom04.bmp"},
        {370, 203, "Bottom/bottom05.bmp"},     {584, 97, "Bottom/bottom06.bmp"},
        {130, 150, "Artifacts/Statue2.bmp"},   {65, 90, "Misc/Calendar.bmp"},
    };
    int seed = 0;
    for (const Size& size : sizes) {
        const SurfaceId id = d.NewSurface();
        setImage(id, 1, picture(size.file, scenery(size.w, size.h, seed)), kTransparent);
        // Standing on the bottom, a little of it below the screen's edge.
        const auto x = int16_t((seed * 97) % std::max(1, 800 - size.w / 2) - size.w / 4);
        const auto y = int16_t(600 - size.h + (seed * 13) % 40);
        d.SetSurfaceX(id, x);
        d.SetSurfaceY(id, y);
        s->scenery.push_back({id, x, y});
        ++seed;
    }
    // Seven front corals are drawn a second time, in front of the fish, as the saver does.
    for (int coral : {6, 2, 3, 11, 12, 13, 14})
        s->scenery.push_back(s->scenery[size_t(16 + coral)]);

    // Nine fish, dolphin, shark and turtle of 18 (14) frames, five dark fish of 4.
    const Size creatures[] = {
        {112, 134, "fish/1Angel"},  {96, 62, "fish/1ClownFish"}, {112, 96, "fish/2butterfly"},
        {132, 84, "fish/1MyFish"},  {96, 52, "fish/2MyFish"},    {150, 76, "fish/3MyFish"},
        {140, 116, "fish/4MyFish"}, {124, 70, "fish/Fisheat"},   {134, 60, "fish/2Fisheat"},
        {212, 104, "fish/Dolphin"}, {252, 112, "fish/Shark"},    {200, 124, "fish/Turtle"},
        {44, 22, "fish/DarkFish1"}, {36, 20, "fish/DarkFish2"},  {46, 26, "fish/DarkFish3"},
        {30, 15, "fish/DarkFish4"}, {40, 19, "fish/DarkFish5"},
    };
    for (const Size& size : creatures) {
        const SurfaceId id = d.NewSurface();
        // Frames run there and back: 1..10..2 for fish (1..8..2 for the turtle), a b c b.
        const QString stem = QString::fromLatin1(size.file);
        std::vector<QString> files;
        if (size.w < 50) {
            files = {stem + "a.bmp", stem + "b.bmp", stem + "c.bmp", stem + "b.bmp"};
        } else {
            const int images = stem.endsWith("Turtle") ? 8 : 10;
            for (int i = 1; i <= images; ++i) files.push_back(stem + QString::number(i) + ".bmp");
            for (int i = images - 1; i >= 2; --i)
                files.push_back(stem + QString::number(i) + ".bmp");
        }
        for (size_t f = 0; f < files.size(); ++f)
            setImage(id, int(f) + 1, picture(files[f], fish(size.w, size.h, int(f))), kTransparent);
        d.SetCurrentFrame(id, 1);
        d.SetFrameDelay(id, 60);
        const auto x = int16_t(-size.w + (int(s->creatures.size()) * 83) % 900);
        const auto y = int16_t(20 + (int(s->creatures.size()) * 37) % 500);
        d.SetSurfaceX(id, x);
        d.SetSurfaceY(id, y);
        s->creatures.push_back({id, x, y});
        s->speed.push_back(1 + int(s->creatures.size()) % 3);
    }
    const QImage bubbles[] = {picture("Misc/b2x2.bmp", bubble(2)),
                              picture("Misc/b4x4.bmp", bubble(4)),
                              picture("Misc/b6x6.bmp", bubble(6))};
    const int counts[] = {150, 150, 100};
    for (int kind = 0; kind < 3; ++kind) {
        for (int i = 1; i <= counts[kind]; ++i) {
            const SurfaceId id = d.NewSurface();
            setImage(id, 1, bubbles[kind], kTransparent);
            const Placed p{id, int16_t(50 + (i * 7) % 11), int16_t(601 - i * (2 + 2 * kind) + 400)};
            d.SetSurfaceX(id, p.x);
            d.SetSurfaceY(id, p.y);
            s->bubbles.push_back(p);
        }
    }
    for (int i = 0; i < 2; ++i) {
        const SurfaceId id = d.NewSurface();
        setImage(id, 1, picture("Misc/BB1.bmp", curtain()), kTransparent);
        d.SetSurfaceX(id, 15);
        d.SetSurfaceY(id, int16_t(400 + 600 * i));
        s->curtains.push_back({id, 15, int16_t(400 + 600 * i)});
    }
    d.SetTextFont(QStringLiteral("Arial"), 12, 30, false, false, false);

    return [&d, s] {
        d.DrawSurface(s->backdrop);
        for (size_t i = 0; i < s->creatures.size(); ++i) {
            const SurfaceId id = s->creatures[i].surface;
            d.MoveSurfaceX(id, int16_t(s->speed[i]));
            if (d.GetSurfaceX(id) > 800) d.SetSurfaceX(id, -260);
            if (d.IsFrameDue(id)) d.AdvanceFrame(id);
        }
        size_t creature = 0;
        for (size_t i = 0; i < s->scenery.size(); ++i) {
            d.DrawSurface(s->scenery[i].surface);
            if (i % 4 == 3 && creature < s->creatures.size())
                d.DrawSurface(s->creatures[creature++].surface);
        }
        while (creature < s->creatures.size()) d.DrawSurface(s->creatures[creature++].surface);
        for (const Placed& b : s->bubbles) {
            d.MoveSurfaceUp(b.surface, 2);
            if (d.GetSurfaceY(b.surface) < -10) d.SetSurfaceY(b.surface, 601);
            d.DrawSurface(b.surface);
        }
        for (const Placed& c : s->curtains) {
            d.MoveSurfaceUp(c.surface, 1);
            if (d.GetSurfaceY(c.surface) < -600) d.SetSurfaceY(c.surface, 600);
            d.DrawSurface(c.surface);
        }
        for (int i = 0; i < 10; ++i)
            d.DrawText(QStringLiteral("12:34:56 Brinewave"), 600, 20 + 20 * i, rgb(255, 255, 200));
    };
}

}  // namespace bw::bench
