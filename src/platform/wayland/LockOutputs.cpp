#include "platform/wayland/LockOutputs.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include "platform/KeyCodes.h"
#include "platform/SpriteCompositor.h"
#include "platform/wayland/KeysymKeys.h"
#include "platform/wayland/LockSupervisor.h"

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

std::unique_ptr<LockOutputs> LockOutputs::lock(Owner& owner) {
    std::unique_ptr<LockOutputs> outputs(new LockOutputs(owner));
    LockOutputs* self = outputs.get();
    QObject* context = self->context_.get();
    KeyRepeater* keys = self->repeater_.get();
    SessionLock::Handlers handlers;
    handlers.key =
        queued(context, std::function<void(const SessionLock::KeyEvent&)>(
                            [keys](const SessionLock::KeyEvent& event) { keys->key(event); }));
    handlers.keyRepeat =
        queued(context, std::function<void(int, int)>([keys](int perSecond, int delayMs) {
                   keys->perSecond = perSecond;
                   keys->delayMs = delayMs;
               }));
    handlers.pointerMoved =
        queued(context, std::function<void(Qt::MouseButtons, QPoint)>(
                            [&owner](Qt::MouseButtons buttons, QPoint global) {
                                owner.mouseMoved(windowsButtons(buttons), global);
                            }));
    handlers.button =
        queued(context, std::function<void(bool, Qt::MouseButton, QPoint)>(
                            [self](bool pressed, Qt::MouseButton button, QPoint global) {
                                self->buttonFromLock(pressed, button, global);
                            }));
    handlers.lost = queued(context, std::function<void()>([&owner] { owner.windowLost(); }));
    self->lock_ = SessionLock::connect(std::move(handlers));
    if (!self->lock_ || !self->lock_->lock(kLockAnswerMs)) return nullptr;
    self->readable_ = std::make_unique<QSocketNotifier>(self->lock_->fd(), QSocketNotifier::Read);
    QObject::connect(self->readable_.get(), &QSocketNotifier::activated, [self] {
        if (!self->lock_->dispatch()) self->readable_->setEnabled(false);
    });
    reportSessionLocked();
    return outputs;
}

LockOutputs::LockOutputs(Owner& owner)
    : owner_(owner),
      context_(std::make_unique<QObject>()),
      repeater_(std::make_unique<KeyRepeater>(
          [this](const SessionLock::KeyEvent& event) { keyFromLock(event); })) {
    // The prompt's own changes (the wait it counts down, the caret) are seen ten times a second.
    promptTimer_.setInterval(100);
    QObject::connect(&promptTimer_, &QTimer::timeout, [this] { showPrompt(); });
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

void LockOutputs::show(const DirtyTiles& changes) {
    paint(owner_.shownFrame(), changes, owner_.scaleQuality());
    owner_.framePainted();
}

void LockOutputs::paint(const QImage& frame, const DirtyTiles& changes, ScaleQuality quality,
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

void LockOutputs::close() {
    promptTimer_.stop();
    readable_->setEnabled(false);
    lock_->unlock();
    reportSessionUnlocked();
}

void LockOutputs::keyFromLock(const SessionLock::KeyEvent& event) {
    if (covered_) {
        keyToPrompt(event.pressed, event.keysym, event.text);
        return;
    }
    const int code = windowsKeyCodeForKeysym(event.keysym, event.keycode, event.firstLayoutKeysym);
    if (event.pressed)
        owner_.keyPressed(code);
    else
        owner_.keyReleased(code);
}

void LockOutputs::buttonFromLock(bool pressed, Qt::MouseButton button, QPoint global) {
    if (covered_) {
        buttonToPrompt(pressed, button, global);
        return;
    }
    if (pressed)
        owner_.mousePressed(windowsButton(button), global);
    else
        owner_.mouseReleased(windowsButton(button), global);
}

// Closing a locked display: its last frame, dimmed, stays on the lock with the password prompt
// above it. The prompt is drawn off screen: it is shown on the lock, refreshed as it changes.
void LockOutputs::cover() {
    covered_ = true;
    const QImage& frame = owner_.shownFrame();
    DirtyTiles everything(TileGrid::forFrame(frame.size()));
    everything.markAll();
    paint(frame, everything, owner_.scaleQuality());
    promptTimer_.start();
}

// The modal prompt as it looks now, over the dimmed frame.
void LockOutputs::showPrompt() {
    QWidget* prompt = QApplication::activeModalWidget();
    const QImage overlay = prompt && prompt->isVisible() ? prompt->grab().toImage() : QImage();
    const QImage& frame = owner_.shownFrame();
    paint(frame, DirtyTiles(TileGrid::forFrame(frame.size())), owner_.scaleQuality(), overlay);
}

// Keys typed on the lock go to the prompt's focused field, as Qt would deliver them.
void LockOutputs::keyToPrompt(bool pressed, uint32_t keysym, const QString& text) {
    QWidget* prompt = QApplication::activeModalWidget();
    if (!prompt) return;
    QWidget* target = prompt->focusWidget() ? prompt->focusWidget() : prompt;
    Qt::KeyboardModifiers modifiers;
    const int key = qtKeyForKeysym(keysym, &modifiers);
    QKeyEvent event(pressed ? QEvent::KeyPress : QEvent::KeyRelease, key, modifiers,
                    pressed ? text : QString());
    // The prompt may take the password at once, and the display close the lock.
    const QPointer<QObject> open(context_.get());
    QCoreApplication::sendEvent(target, &event);
    if (open) showPrompt();
}

// A click on the prompt's place on the lock goes to the control under it.
void LockOutputs::buttonToPrompt(bool pressed, Qt::MouseButton button, QPoint global) {
    QWidget* prompt = QApplication::activeModalWidget();
    const QRect area = overlayArea_;
    if (!prompt || !area.contains(global)) return;
    const QPoint inPrompt = (global - area.topLeft()) * prompt->width() / std::max(1, area.width());
    QWidget* target = prompt->childAt(inPrompt);
    if (!target) target = prompt;
    const QPointF local = target->mapFrom(prompt, inPrompt);
    const QEvent::Type type = pressed ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease;
    const Qt::MouseButtons held = pressed ? Qt::MouseButtons(button) : Qt::NoButton;
    QMouseEvent event(type, local, local, QPointF(global), button, held, Qt::NoModifier);
    const QPointer<QObject> open(context_.get());
    QCoreApplication::sendEvent(target, &event);
    if (open) showPrompt();
}

}  // namespace bw
