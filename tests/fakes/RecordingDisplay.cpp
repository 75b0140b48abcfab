#include "fakes/RecordingDisplay.h"

#include <algorithm>

namespace bw {

namespace {

int16_t clamp16(int value) {
    return static_cast<int16_t>(std::clamp(value, -32768, 32767));
}

}  // namespace

QStringList RecordingDisplay::calls(const QString& prefix) const {
    QStringList found;
    for (const QString& entry : log)
        if (entry.startsWith(prefix)) found.append(entry);
    return found;
}

void RecordingDisplay::CloseDisplay() {
    if (logging) log.append("CloseDisplay()");
    open = false;
}

bool RecordingDisplay::OpenDisplay(int width, int height, int bitsPerPixel, const QString&) {
    if (logging)
        log.append(QString("OpenDisplay(%1,%2,%3)").arg(width).arg(height).arg(bitsPerPixel));
    open = openSucceeds;
    return openSucceeds;
}

SurfaceId RecordingDisplay::NewSurface() {
    const SurfaceId id = nextSurface_++;
    surfaces[id] = Surface{};
    if (logging) log.append(QString("NewSurface()=%1").arg(id));
    return id;
}

void RecordingDisplay::DrawSurface(SurfaceId surface) {
    if (logging) log.append(QString("DrawSurface(%1)").arg(surface));
    ++surfaces[surface].draws;
}

void RecordingDisplay::PresentFrame() {
    if (logging) log.append("PresentFrame()");
}

void RecordingDisplay::SetSurfaceX(SurfaceId surface, int16_t x) {
    if (logging) log.append(QString("SetSurfaceX(%1,%2)").arg(surface).arg(x));
    surfaces[surface].x = x;
}

void RecordingDisplay::ClearFrame(Rgb colour) {
    if (logging) log.append(QString("ClearFrame(%1)").arg(colour));
}

void RecordingDisplay::SetSurfaceY(SurfaceId surface, int16_t y) {
    if (logging) log.append(QString("SetSurfaceY(%1,%2)").arg(surface).arg(y));
    surfaces[surface].y = y;
}

void RecordingDisplay::SetCurrentFrame(SurfaceId surface, int frame) {
    if (logging) log.append(QString("SetCurrentFrame(%1,%2)").arg(surface).arg(frame));
    surfaces[surface].currentFrame = frame;
}

void RecordingDisplay::SetFrameDelay(SurfaceId surface, int milliseconds) {
    if (logging) log.append(QString("SetFrameDelay(%1,%2)").arg(surface).arg(milliseconds));
    surfaces[surface].delay = milliseconds;
}

bool RecordingDisplay::IsFrameDue(SurfaceId surface) {
    if (logging) log.append(QString("IsFrameDue(%1)").arg(surface));
    return framesDue;
}

int16_t RecordingDisplay::GetSurfaceX(SurfaceId surface) {
    if (logging) log.append(QString("GetSurfaceX(%1)").arg(surface));
    return surfaces[surface].x;
}

int16_t RecordingDisplay::GetSurfaceY(SurfaceId surface) {
    if (logging) log.append(QString("GetSurfaceY(%1)").arg(surface));
    return surfaces[surface].y;
}

bool RecordingDisplay::IsPointerOver(SurfaceId surface) {
    if (logging) log.append(QString("IsPointerOver(%1)").arg(surface));
    const Surface& s = surfaces[surface];
    return QRect(QPoint(s.x, s.y), s.size).contains(pointer);
}

bool RecordingDisplay::LoadFrame(SurfaceId surface, int frame, const QString& path,
                                 int transparency) {
    if (logging)
        log.append(
            QString("LoadFrame(%1,%2,%3,%4)").arg(surface).arg(frame).arg(path).arg(transparency));
    for (const QString& missing : missingFiles)
        if (path.endsWith(missing)) return false;
    surfaces[surface].frames[frame] = path;
    surfaces[surface].transparency[frame] = transparency;
    return true;
}

void RecordingDisplay::SetTextFont(const QString& face, int size, int weight, bool, bool, bool) {
    if (logging) log.append(QString("SetTextFont(%1,%2,%3)").arg(face).arg(size).arg(weight));
}

void RecordingDisplay::DrawText(const QString& text, int x, int y, Rgb colour) {
    if (logging) log.append(QString("DrawText(%1,%2,%3,%4)").arg(text).arg(x).arg(y).arg(colour));
}

void RecordingDisplay::MoveSurfaceX(SurfaceId surface, int16_t dx) {
    if (logging) log.append(QString("MoveSurfaceX(%1,%2)").arg(surface).arg(dx));
    surfaces[surface].x = clamp16(surfaces[surface].x + dx);
}

void RecordingDisplay::MoveSurfaceUp(SurfaceId surface, int16_t dy) {
    if (logging) log.append(QString("MoveSurfaceUp(%1,%2)").arg(surface).arg(dy));
    surfaces[surface].y = clamp16(surfaces[surface].y - dy);
}

void RecordingDisplay::AdvanceFrame(SurfaceId surface) {
    if (logging) log.append(QString("AdvanceFrame(%1)").arg(surface));
    Surface& s = surfaces[surface];
    const int count = static_cast<int>(s.frames.size());
    s.currentFrame = count == 0 || s.currentFrame >= count ? 1 : s.currentFrame + 1;
}

}  // namespace bw
