#pragma once

#include <QRect>
#include <QSize>

namespace bw {

// Where the help window's controls stand in its client area. The text box takes all the width
// beside the tree column and all the height; the tree stands below its caption and keeps its
// width; both follow the window's height at fixed distances.
struct HelpLayout {
    static constexpr int kMargin = 8;
    static constexpr int kCaptionHeight = 16;
    // The tree column's narrowest width; the window widens it to fit the longest topic title
    // in the user's font.
    static constexpr int kTreeWidth = 176;
    static constexpr int kTextHeightInset = 2 * kMargin;
    // The tree is shorter than the text box by its caption and the gap below it.
    static constexpr int kTreeHeightInset = kTextHeightInset + kCaptionHeight + kMargin / 2;

    QRect caption;
    QRect tree;
    QRect text;

    // How much narrower than the window the text box is: the tree column and three margins.
    static int textWidthInset(int treeWidth) { return treeWidth + 3 * kMargin; }

    // The smallest client area the window allows, so that no control gets a width or height
    // below a usable size (the rules above would make them negative in a small window).
    static QSize minimumSize(int treeWidth = kTreeWidth) {
        return {textWidthInset(treeWidth) + 200, kTreeHeightInset + 120};
    }

    static HelpLayout forSize(QSize client, int treeWidth = kTreeWidth);
};

}  // namespace bw
