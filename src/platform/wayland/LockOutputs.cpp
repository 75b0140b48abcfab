#include "platform/wayland/LockOutputs.h"

#include <QPainter>

#include "platform/SpriteCompositor.h"

namespace bw {

namespace {

// The compositor answers a lock at once, or after its lock screen's first frame.
constexpr int kLockAnswerMs = 5000;

// Input is handed on from Qt's event loop, in order, never from inside the connection's
// dispatching: the saver may close the display (and end the lock) in answer to a key.
template <typename... Args>
std::function<void(Args...)> queued(QObject* context, std::function<void(Args...)> handler) {
    if (!handler) return {};
    return [context, handler](Args... args) {
        QMetaObject::invokeMethod(
            context, [handler, args...] { handler(args...); }, Qt::QueuedConnection);
    };
}

}  // namespace

LockOutputs::KeyRepeater::KeyRepeater(std::function<void(const SessionLock::KeyEvent&)> deliver)
    : deliver(std::move(deliver)) {
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [this] {
        timer.start(1000 / perSecond);
        // Last: the key may end the lock, and this repeater with it.
        const SessionLock::KeyEvent again = held;
        const auto deliverAgain = this->deliver;
        deliverAgain(again);
    });
}

void LockOutputs::KeyRepeater::key(const SessionLock::KeyEvent& event) {
    if (event.pressed || event.keycode == held.keycode) timer.stop();
    if (event.pressed && event.repeats && perSecond > 0) {
        held = event;
        timer.start(delayMs);
    }
    if (!deliver) return;
    const auto deliverNow = deliver;  // the key may end the lock, and this repeater with it
    deliverNow(event);
}

std::unique_ptr<LockOutputs> LockOutputs::lock(SessionLock::Handlers input) {
    auto context = std::make_unique<QObject>();
    auto repeater = std::make_unique<KeyRepeater>(std::move(input.key));
    SessionLock::Handlers handlers;
    KeyRepeater* keys = repeater.get();
    handlers.key = queued(context.get(),
                          std::function<void(const SessionLock::KeyEvent&)>(
                              [keys](const SessionLock::KeyEvent& event) { keys->key(event); }));
    handlers.keyRepeat =
        queued(context.get(), std::function<void(int, int)>([keys](int perSecond, int delayMs) {
                   keys->perSecond = perSecond;
                   keys->delayMs = delayMs;
               }));
    handlers.pointerMoved = queued(context.get(), std::move(input.pointerMoved));
    handlers.button = queued(context.get(), std::move(input.button));
    handlers.lost = queued(context.get(), std::move(input.lost));
    std::unique_ptr<SessionLock> lock = SessionLock::connect(std::move(handlers));
    if (!lock || !lock->lock(kLockAnswerMs)) return nullptr;
    return std::unique_ptr<LockOutputs>(
        new LockOutputs(std::move(context), std::move(repeater), std::move(lock)));
}

LockOutputs::LockOutputs(std::unique_ptr<QObject> context, std::unique_ptr<KeyRepeater> repeater,
                         std::unique_ptr<SessionLock> lock)
    : context_(std::move(context)),
      repeater_(std::move(repeater)),
      lock_(std::move(lock)),
      readable_(lock_->fd(), QSocketNotifier::Read) {
    QObject::connect(&readable_, &QSocketNotifier::activated, [this] {
        if (!lock_->dispatch()) readable_.setEnabled(false);
    });
}

LockOutputs::~LockOutputs() = default;

QRect LockOutputs::primaryArea() const {
    const auto& outputs = lock_->outputs();
    return outputs.empty() ? QRect() : outputs.front().area;
}

QSize LockOutputs::primaryPixels() const {
    const auto& outputs = lock_->outputs();
    if (outputs.empty()) return {};
    const SessionLock::Output& primary = outputs.front();
    return primary.pixels.isEmpty() ? primary.area.size() * primary.scale : primary.pixels;
}

bool LockOutputs::wantFrame() const {
    for (size_t index = 0; index < lock_->outputs().size(); ++index)
        if (lock_->wantsFrame(index)) return true;
    return false;
}

void LockOutputs::show(const QImage& frame, const DirtyTiles& changes, ScaleQuality quality,
                       const QImage& overlay) {
    lock_->frameChanged(changes);
    const size_t overlayOutput = lock_->pointerOutput();
    if (overlay.size() != overlaySize_ || overlayOutput != overlayOutput_) {
        // What the last overlay covered shows again.
        DirtyTiles everything(TileGrid::forFrame(frame.size()));
        everything.markAll();
        lock_->frameChanged(everything);
        overlaySize_ = overlay.size();
        overlayOutput_ = overlayOutput;
    }
    for (size_t index = 0; index < lock_->outputs().size(); ++index) {
        const SessionLock::Output& output = lock_->outputs()[index];
        const bool withOverlay = !overlay.isNull() && index == overlayOutput;
        lock_->present(index, [&](QImage& buffer, const DirtyTiles& unshown, bool whole) {
            const QRect scene = frameRectFor(buffer.size(), frame.size());
            QRegion area;
            if (whole) {
                if (scene != buffer.rect()) {
                    QPainter painter(&buffer);
                    painter.fillRect(buffer.rect(), Qt::black);
                }
                if (!scene.isEmpty()) scaler_.scale(frame, buffer, scene, quality);
                area = buffer.rect();
            } else {
                area = scaler_.affectedBy(frame.size(), scene, unshown);
                for (const QRect& part : area)
                    scaler_.scalePart(frame, buffer, scene, quality, part);
            }
            if (withOverlay) {
                // Drawn anew each time: what lies under it does not change while it shows.
                const QRect place(QPoint((buffer.width() - overlay.width()) / 2,
                                         (buffer.height() - overlay.height()) / 2),
                                  overlay.size());
                QPainter(&buffer).drawImage(place.topLeft(), overlay);
                area += place;
                const int scale = std::max(1, output.scale);
                overlayArea_ =
                    QRect(output.area.topLeft() + place.topLeft() / scale, place.size() / scale);
            }
            return area;
        });
    }
    // Outputs that could not take the frame keep its changes marked on their buffers.
}

QPoint LockOutputs::toScene(QPoint global, const FrameShape& shape) const {
    const QRect area = primaryArea();
    return mapToFrame(global - area.topLeft(), area.size(), shape);
}

void LockOutputs::unlock() {
    readable_.setEnabled(false);
    lock_->unlock();
}

}  // namespace bw
