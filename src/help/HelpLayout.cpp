#include "help/HelpLayout.h"

#include <algorithm>

namespace bw {

HelpLayout HelpLayout::forSize(QSize client, int treeWidth) {
    // Below the minimum (a window manager may ignore it) the controls are clipped, never
    // given a negative size.
    const QSize minimum = minimumSize(treeWidth);
    const int width = std::max(client.width(), minimum.width());
    const int height = std::max(client.height(), minimum.height());
    HelpLayout layout;
    layout.caption = QRect(kMargin, kMargin, treeWidth, kCaptionHeight);
    layout.tree = QRect(kMargin, kMargin + kCaptionHeight + kMargin / 2, treeWidth,
                        height - kTreeHeightInset);
    layout.text = QRect(treeWidth + 2 * kMargin, kMargin, width - textWidthInset(treeWidth),
                        height - kTextHeightInset);
    return layout;
}

}  // namespace bw
