#pragma once

#include "scene/DrawingComponent.h"

#include <QRect>
#include <QStringList>
#include <map>
#include <optional>
#include <set>

namespace bw {

// A drawing component that draws nothing: it keeps every surface's frames, position and
// animation state and logs every call as text ("DrawSurface(5)", "SetSurfaceX(5,-400)").
class RecordingDisplay : public DrawingComponent {
public:
    struct Surface {
        std::map<int, QString> frames;  // frame number -> path
        std::map<int, int> transparency;
        int16_t x = 0;
        int16_t y = 0;
        int currentFrame = 1;
        int delay = 0;
        QSize size{100, 50};  // for IsPointerOver; tests may change it
        int draws = 0;
    };

    // Answers of the display.
    bool openSucceeds = true;
    bool framesDue = false;
    QPoint pointer{-1, -1};
    int sceneWidth = 800;
    bool locksSession = false;  // a Wayland session's lock
    bool takesOverLock = false;  // one left by a saver that died
    std::optional<bool> fillsWideScreens;  // as last told
    // Paths that LoadFrame reports as missing (by suffix, e.g. "cool waters.bmp").
    QStringList missingFiles;

    DrawingEvents* sink = nullptr;
    QStringList log;
    bool logging = true;  // a long run may do without the log
    std::map<SurfaceId, Surface> surfaces;
    bool open = false;

    const Surface& surface(SurfaceId id) const { return surfaces.at(id); }
    // The log entries that start with `prefix`.
    QStringList calls(const QString& prefix) const;
    void clearLog() { log.clear(); }

    void setEventSink(DrawingEvents* eventSink) override { sink = eventSink; }
    void CloseDisplay() override;
    bool OpenDisplay(int width, int height, int bitsPerPixel, const QString& options) override;
    int SceneWidth() override { return sceneWidth; }
    bool LocksSession() const override { return locksSession; }
    bool TakesOverAbandonedLock() const override { return takesOverLock; }
    void setFillsWideScreens(bool fill) override { fillsWideScreens = fill; }
    // Loaded as a picture of the glass: recorded, then loaded as a frame.
    std::set<SurfaceId> glass;
    bool LoadGlass(SurfaceId surface, const QString& path) override {
        glass.insert(surface);
        return DrawingComponent::LoadGlass(surface, path);
    }
    SurfaceId NewSurface() override;
    void DrawSurface(SurfaceId surface) override;
    void PresentFrame() override;
    void SetSurfaceX(SurfaceId surface, int16_t x) override;
    void ClearFrame(Rgb colour) override;
    void SetSurfaceY(SurfaceId surface, int16_t y) override;
    void SetCurrentFrame(SurfaceId surface, int frame) override;
    void SetFrameDelay(SurfaceId surface, int milliseconds) override;
    bool IsFrameDue(SurfaceId surface) override;
    int16_t GetSurfaceX(SurfaceId surface) override;
    int16_t GetSurfaceY(SurfaceId surface) override;
    bool IsPointerOver(SurfaceId surface) override;
    bool LoadFrame(SurfaceId surface, int frame, const QString& path, int transparency) override;
    void SetTextFont(const QString& face, int size, int weight, bool italic, bool underline,
                     bool strikeOut) override;
    void DrawText(const QString& text, int x, int y, Rgb colour) override;
    void setLocked(bool locked) override {
        log.append(QStringLiteral("setLocked(%1)").arg(locked ? "true" : "false"));
    }
    void MoveSurfaceX(SurfaceId surface, int16_t dx) override;
    void MoveSurfaceUp(SurfaceId surface, int16_t dy) override;
    void AdvanceFrame(SurfaceId surface) override;

private:
    SurfaceId nextSurface_ = 1;
};

}  // namespace bw
