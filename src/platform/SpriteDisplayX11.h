#pragma once

#include <QRect>
#include <QSize>
#include <cstdint>
#include <optional>
#include <vector>

namespace bw {

// Asks the X server about a window that belongs to another program (the preview host's).
// Qt reports 0 x 0 for such windows, so the size comes from Xlib, on a connection of our own
// whose errors are caught instead of ending the process.
class ForeignWindowProbe {
  public:
    ForeignWindowProbe();
    ~ForeignWindowProbe();
    ForeignWindowProbe(const ForeignWindowProbe&) = delete;
    ForeignWindowProbe& operator=(const ForeignWindowProbe&) = delete;

    bool connected() const { return display_ != nullptr; }
    // The window's size; nothing when it does not exist (any more).
    std::optional<QSize> size(uint64_t window);
    // Maps and raises a window (ours or another program's) again; false when it does not exist
    // (any more).
    bool mapRaised(uint64_t window);
    // Maps a window again and puts it back to `geometry` (root coordinates, pixels) when another
    // client moved or resized it; false when it does not exist (any more).
    bool holdInPlace(uint64_t window, const QRect& geometry);
    // Stacks the windows, top first, above every other window of the screen. Windows already in
    // that order are left alone, so nothing flickers.
    void stackOnTop(const std::vector<uint64_t>& topFirst);
    // The screen's root window; 0 without a connection.
    uint64_t rootWindow() const;

  private:
    void* display_ = nullptr;  // Display*, kept opaque so Xlib's macros stay in one file
};

}  // namespace bw
