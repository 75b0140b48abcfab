#include "Catalogue.h"

#include <QImage>

#include "Families.h"

namespace bw::art {

namespace {

constexpr Naming S = Naming::Single;
constexpr Naming N = Naming::Numbered;
constexpr Naming T = Naming::ThreeWay;
constexpr Encoding Spr = Encoding::Sprite;
constexpr Encoding Opq = Encoding::Opaque;
constexpr Source P = Source::Painted;

// Sizes follow the scene layout: the stored factory places and drag handles were made for
// them (an object is about twice its handle wide; walls and bottom pieces reach the lower
// screen edge from their factory place). The water, the walls and the three floors as wide as
// the layout belong to the glass and widen with the scene; the narrower bottom pieces are
// objects of the layout.
std::vector<Asset> buildCatalogue() {
    return {
        {"Misc/Calendar", S, 1, Spr, {65, 90}, P, paintCalendar, 0},
        {"Misc/b2x2", S, 1, Spr, {2, 2}, P, paintBubble, 2},
        {"Misc/b4x4", S, 1, Spr, {4, 4}, P, paintBubble, 4},
        {"Misc/b6x6", S, 1, Spr, {6, 6}, P, paintBubble, 6},
        {"Misc/BB1", S, 1, Spr, {64, 600}, P, paintCurtain, 0},
        {"Misc/TuneMsg", S, 1, Opq, {500, 300}, P, paintNotice, 1},
        {"Misc/monitor", S, 1, Opq, {500, 300}, P, paintNotice, 2},
        {"Misc/PwrMsg", S, 1, Opq, {500, 300}, P, paintNotice, 3},
        {"Misc/preview", S, 1, Opq, {153, 115}, Source::Composed, nullptr, 0},
        {"Misc/brinewave3.png", S, 1, Encoding::Png, {256, 256}, P, paintIcon, 0},

        {"Water/cool waters", S, 1, Opq, {800, 600}, P, paintWater, 1, paintWideWater},
        {"Water/tropical lagoon", S, 1, Opq, {800, 600}, P, paintWater, 2, paintWideWater},
        {"Water/deep blue", S, 1, Opq, {800, 600}, P, paintWater, 3, paintWideWater},
        {"Water/kelp forest", S, 1, Opq, {800, 600}, P, paintWater, 4, paintWideWater},
        {"Water/evening glow", S, 1, Opq, {800, 600}, P, paintWater, 5, paintWideWater},
        {"Water/night dive", S, 1, Opq, {800, 600}, P, paintWater, 6, paintWideWater},

        {"Bottom/brickwall", S, 1, Spr, {800, 292}, P, paintWall, 1, paintWideWall},
        {"Bottom/rockwall", S, 1, Spr, {800, 292}, P, paintWall, 2, paintWideWall},
        {"Bottom/pebbles2", S, 1, Spr, {800, 292}, P, paintWall, 3, paintWideWall},
        {"Bottom/oldwall", S, 1, Spr, {800, 292}, P, paintWall, 4, paintWideWall},
        {"Bottom/JaggedBottom", S, 1, Spr, {800, 292}, P, paintWall, 5, paintWideWall},
        {"Bottom/Shellbottom", S, 1, Spr, {800, 292}, P, paintWall, 6, paintWideWall},
        {"Bottom/bottom01", S, 1, Spr, {800, 134}, P, paintBottom, 1, paintWideBottom},
        {"Bottom/bottom02", S, 1, Spr, {800, 327}, P, paintBottom, 2, paintWideBottom},
        {"Bottom/bottom03", S, 1, Spr, {588, 173}, P, paintBottom, 3},
        {"Bottom/bottom04", S, 1, Spr, {800, 236}, P, paintBottom, 4, paintWideBottom},
        {"Bottom/bottom05", S, 1, Spr, {370, 203}, P, paintBottom, 5},
        {"Bottom/bottom06", S, 1, Spr, {584, 97}, P, paintBottom, 6},

        {"Plants/darkcliff01b", S, 1, Spr, {310, 300}, P, paintDarkMound, 1},
        {"Plants/darkcliff02b", S, 1, Spr, {400, 200}, P, paintDarkMound, 2},
        {"Plants/darkcliff03b", S, 1, Spr, {130, 330}, P, paintDarkMound, 3},
        {"Plants/coral1", S, 1, Spr, {174, 92}, P, paintCoral, 1},
        {"Plants/coral2", S, 1, Spr, {180, 90}, P, paintCoral, 2},
        {"Plants/coral3", S, 1, Spr, {74, 50}, P, paintCoral, 3},
        {"Plants/coral4", S, 1, Spr, {200, 56}, P, paintCoral, 4},
        {"Plants/coral5", S, 1, Spr, {150, 120}, P, paintCoral, 5},
        {"Plants/coral6", S, 1, Spr, {150, 76}, P, paintCoral, 6},
        {"Plants/coral7", S, 1, Spr, {150, 130}, P, paintCoral, 7},
        {"Plants/coral8", S, 1, Spr, {150, 110}, P, paintCoral, 8},
        {"Plants/coral9", S, 1, Spr, {150, 130}, P, paintCoral, 9},
        {"Plants/coral10", S, 1, Spr, {150, 120}, P, paintCoral, 10},
        {"Plants/coral11", S, 1, Spr, {150, 119}, P, paintCoral, 11},
        {"Plants/coral12", S, 1, Spr, {150, 90}, P, paintCoral, 12},
        {"Plants/coral13", S, 1, Spr, {150, 124}, P, paintCoral, 13},
        {"Plants/coral14", S, 1, Spr, {150, 84}, P, paintCoral, 14},
        {"Plants/cliff01", S, 1, Spr, {240, 350}, P, paintSidePlant, 1},
        {"Plants/cliff02", S, 1, Spr, {170, 338}, P, paintSidePlant, 2},
        {"Plants/cliff03", S, 1, Spr, {180, 346}, P, paintSidePlant, 3},
        {"Plants/cliff04", S, 1, Spr, {200, 306}, P, paintSidePlant, 4},
        {"Plants/cliff05", S, 1, Spr, {200, 265}, P, paintSidePlant, 5},

        {"Artifacts/castle", S, 1, Spr, {240, 136}, P, paintArtifact, Castle},
        {"Artifacts/Anchor", S, 1, Spr, {148, 80}, P, paintArtifact, Anchor},
        {"Artifacts/City", S, 1, Spr, {400, 150}, P, paintArtifact, City},
        {"Artifacts/Horse", S, 1, Spr, {270, 300}, P, paintArtifact, Horse},
        {"Artifacts/Liberty", S, 1, Spr, {280, 400}, P, paintArtifact, Liberty},
        {"Artifacts/Litehous", S, 1, Spr, {66, 218}, P, paintArtifact, Lighthouse},
        {"Artifacts/Lighthouse", S, 1, Spr, {76, 160}, P, paintArtifact, Lighthouse2},
        {"Artifacts/pyramid", S, 1, Spr, {400, 162}, P, paintArtifact, Pyramid},
        {"Artifacts/Rome", S, 1, Spr, {216, 196}, P, paintArtifact, Rome},
        {"Artifacts/Statue", S, 1, Spr, {92, 200}, P, paintArtifact, Statue},
        {"Artifacts/Statue2", S, 1, Spr, {130, 150}, P, paintArtifact, Totem},
        {"Artifacts/Statue3", S, 1, Spr, {140, 294}, P, paintArtifact, Moai},
        {"Artifacts/Treasure", S, 1, Spr, {140, 130}, P, paintArtifact, Treasure},
        {"Artifacts/Columns", S, 1, Spr, {150, 126}, P, paintArtifact, Columns},

        {"fish/1Angel", N, 10, Spr, {112, 134}, P, paintFish, 1},
        {"fish/1ClownFish", N, 10, Spr, {96, 62}, P, paintFish, 2},
        {"fish/2butterfly", N, 10, Spr, {112, 96}, P, paintFish, 3},
        {"fish/1MyFish", N, 10, Spr, {132, 84}, P, paintFish, 4},
        {"fish/2MyFish", N, 10, Spr, {96, 52}, P, paintFish, 5},
        {"fish/3MyFish", N, 10, Spr, {150, 76}, P, paintFish, 6},
        {"fish/4MyFish", N, 10, Spr, {140, 116}, P, paintFish, 7},
        {"fish/Fisheat", N, 10, Spr, {124, 70}, P, paintFish, 8},
        {"fish/2Fisheat", N, 10, Spr, {134, 60}, P, paintFish, 9},
        {"fish/Dolphin", N, 10, Spr, {212, 104}, P, paintDolphin, 0},
        {"fish/Shark", N, 10, Spr, {252, 112}, P, paintShark, 0},
        {"fish/Turtle", N, 8, Spr, {200, 124}, P, paintTurtle, 0},
        {"fish/DarkFish1", T, 3, Spr, {44, 22}, P, paintDarkFish, 1},
        {"fish/DarkFish2", T, 3, Spr, {36, 20}, P, paintDarkFish, 2},
        {"fish/DarkFish3", T, 3, Spr, {46, 26}, P, paintDarkFish, 3},
        {"fish/DarkFish4", T, 3, Spr, {30, 15}, P, paintDarkFish, 4},
        {"fish/DarkFish5", T, 3, Spr, {40, 19}, P, paintDarkFish, 5},

        {"bubbles1.wav", S, 1, Encoding::Wave, {}, Source::Synthesised, nullptr, 0},
    };
}

}  // namespace

const std::vector<Asset>& catalogue() {
    static const std::vector<Asset> assets = buildCatalogue();
    return assets;
}

const Asset* findAsset(const QString& stem) {
    for (const Asset& asset : catalogue()) {
        if (stem == QLatin1String(asset.stem)) {
            return &asset;
        }
    }
    return nullptr;
}

QString imagePath(const Asset& asset, int image) {
    QString path = QString::fromLatin1(asset.stem);
    switch (asset.naming) {
        case Naming::Numbered:
            path += QString::number(image);
            break;
        case Naming::ThreeWay:
            path += QChar(u'a' + (image - 1));
            break;
        case Naming::Single:
            break;
    }
    const bool hasExtension =
        path.endsWith(QStringLiteral(".png")) || path.endsWith(QStringLiteral(".wav"));
    return hasExtension ? path : path + QStringLiteral(".bmp");
}

QStringList imagePaths(const Asset& asset) {
    QStringList paths;
    for (int i = 1; i <= asset.images; ++i) {
        paths << imagePath(asset, i);
    }
    return paths;
}

int frameCount(const Asset& asset) {
    switch (asset.naming) {
        case Naming::Numbered:
            return 2 * asset.images - 2;
        case Naming::ThreeWay:
            return 4;
        case Naming::Single:
            return 1;
    }
    return 1;
}

QImage paintFor(const Asset& asset, int image, const FrameShape& frame) {
    return asset.paintWide ? asset.paintWide(asset, image, frame)
                           : asset.paint(asset, image, frame.scale);
}

}  // namespace bw::art
