#include "platform/wayland/SessionLock.h"

#include <linux/input-event-codes.h>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon-compose.h>
#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "ext-session-lock-v1-client.h"
#include "platform/wayland/BufferPool.h"

namespace bw {

namespace {

template <typename T>
void destroyWith(T*& object, void (*destroy)(T*)) {
    if (object) destroy(object);
    object = nullptr;
}

}  // namespace

// A buffer in shared memory; its image is over `memory`.
struct ShmBuffer : PooledBuffer {
    wl_buffer* buffer = nullptr;
    void* memory = nullptr;
    size_t bytes = 0;

    ~ShmBuffer() override {
        destroyWith(buffer, wl_buffer_destroy);
        if (memory) munmap(memory, bytes);
    }
};

// A buffer of `pixels` in the compositor's shared memory; null when there is none to be had.
std::unique_ptr<PooledBuffer> makeShmBuffer(const SessionLock::State& state, QSize pixels);

struct LockOutput {
    SessionLock::State* state = nullptr;
    uint32_t name = 0;
    wl_output* output = nullptr;
    QPoint position;
    QSize modePixels;
    int scale = 1;
    wl_surface* surface = nullptr;
    ext_session_lock_surface_v1* lockSurface = nullptr;
    QSize configured;       // logical size from the compositor; empty before its first configure
    bool hasFrame = false;  // a buffer is attached: the surface shows something
    wl_callback* frameCallback = nullptr;
    BufferPool buffers{[this](QSize pixels, int) { return makeShmBuffer(*state, pixels); }};

    QSize pixels() const { return configured * scale; }

    ~LockOutput() {
        destroyWith(frameCallback, wl_callback_destroy);
        buffers.clear();
        destroyWith(lockSurface, ext_session_lock_surface_v1_destroy);
        destroyWith(surface, wl_surface_destroy);
        if (output) wl_output_release(output);
    }
};

struct SessionLock::State {
    Handlers handlers;
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_compositor* compositor = nullptr;
    wl_shm* shm = nullptr;
    wl_seat* seat = nullptr;
    wl_keyboard* keyboard = nullptr;
    wl_pointer* pointer = nullptr;
    ext_session_lock_manager_v1* manager = nullptr;
    ext_session_lock_v1* lock = nullptr;
    bool locked = false;
    bool finished = false;
    std::vector<std::unique_ptr<LockOutput>> lockOutputs;
    std::vector<Output> outputs;  // what the caller sees, in the same order

    // Keyboard
    xkb_context* xkb = nullptr;
    xkb_keymap* keymap = nullptr;
    xkb_state* keyState = nullptr;
    xkb_compose_state* compose = nullptr;  // none where the locale has no compose rules
    // Pointer
    LockOutput* pointerOutput = nullptr;
    QPoint pointerAt;
    Qt::MouseButtons buttons;

    ~State() {
        lockOutputs.clear();
        // Dropped without unlocking, the session stays locked, as it must when we fail: the
        // lock is forgotten here without a word to the compositor.
        if (lock) wl_proxy_destroy(reinterpret_cast<wl_proxy*>(lock));
        destroyWith(manager, ext_session_lock_manager_v1_destroy);
        if (keyboard) wl_keyboard_release(keyboard);
        if (pointer) wl_pointer_release(pointer);
        if (seat) wl_seat_release(seat);
        destroyWith(shm, wl_shm_destroy);
        destroyWith(compositor, wl_compositor_destroy);
        destroyWith(registry, wl_registry_destroy);
        if (compose) xkb_compose_state_unref(compose);
        if (keyState) xkb_state_unref(keyState);
        if (keymap) xkb_keymap_unref(keymap);
        if (xkb) xkb_context_unref(xkb);
        if (display) {
            wl_display_flush(display);
            wl_display_disconnect(display);
        }
    }

    void addOutput(uint32_t name, uint32_t version);
    void removeOutput(uint32_t name);
    void makeLockSurface(LockOutput& output);
    void refreshOutputs();
    void showBlack(LockOutput& output);
    void commitFrame(LockOutput& output, PooledBuffer& buffer, const QRegion& damage);
    QPoint global(LockOutput* output, wl_fixed_t x, wl_fixed_t y) const {
        const QPoint at(wl_fixed_to_int(x), wl_fixed_to_int(y));
        return output ? output->position + at : at;
    }
    LockOutput* outputOfSurface(wl_surface* surface) const {
        for (const auto& output : lockOutputs)
            if (output->surface == surface) return output.get();
        return nullptr;
    }
    // Waits for events up to `timeoutMs` and handles them; false when the connection broke.
    bool wait(int timeoutMs);
};

namespace {

// ---- Outputs -------------------------------------------------------------------------------

void outputGeometry(void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t,
                    const char*, const char*, int32_t) {
    static_cast<LockOutput*>(data)->position = QPoint(x, y);
}

void outputMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
    if (flags & WL_OUTPUT_MODE_CURRENT)
        static_cast<LockOutput*>(data)->modePixels = {width, height};
}

void outputDone(void* data, wl_output*) {
    auto* output = static_cast<LockOutput*>(data);
    output->state->refreshOutputs();
}

void outputScale(void* data, wl_output*, int32_t factor) {
    static_cast<LockOutput*>(data)->scale = std::max(1, int(factor));
}

void outputText(void*, wl_output*, const char*) {}

const wl_output_listener kOutputListener{outputGeometry, outputMode, outputDone,
                                         outputScale,    outputText, outputText};

// ---- Lock surfaces -------------------------------------------------------------------------

void lockSurfaceConfigure(void* data, ext_session_lock_surface_v1* lockSurface, uint32_t serial,
                          uint32_t width, uint32_t height) {
    auto* output = static_cast<LockOutput*>(data);
    // Acknowledged before anything is committed in the new size.
    ext_session_lock_surface_v1_ack_configure(lockSurface, serial);
    const QSize size{int(width), int(height)};
    const bool changed = size != output->configured;
    output->configured = size;
    if (changed) output->buffers.clear();  // a buffer of another size may not be attached
    // Never a surface without a buffer: black until the first frame of the new size.
    if (changed || !output->hasFrame) output->state->showBlack(*output);
    if (changed) output->state->refreshOutputs();
}

const ext_session_lock_surface_v1_listener kLockSurfaceListener{lockSurfaceConfigure};

void frameDone(void* data, wl_callback* callback, uint32_t) {
    auto* output = static_cast<LockOutput*>(data);
    wl_callback_destroy(callback);
    output->frameCallback = nullptr;
}

const wl_callback_listener kFrameListener{frameDone};

void bufferReleased(void* data, wl_buffer*) { static_cast<ShmBuffer*>(data)->busy = false; }

const wl_buffer_listener kBufferListener{bufferReleased};

// ---- The lock ------------------------------------------------------------------------------

void lockLocked(void* data, ext_session_lock_v1*) {
    static_cast<SessionLock::State*>(data)->locked = true;
}

void lockFinished(void* data, ext_session_lock_v1*) {
    auto* state = static_cast<SessionLock::State*>(data);
    state->finished = true;
    state->locked = false;
    if (state->handlers.lost) state->handlers.lost();
}

const ext_session_lock_v1_listener kLockListener{lockLocked, lockFinished};

// ---- Keyboard ------------------------------------------------------------------------------

void keyboardKeymap(void* data, wl_keyboard*, uint32_t format, int32_t fd, uint32_t size) {
    auto* state = static_cast<SessionLock::State*>(data);
    if (format != WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1) {
        close(fd);
        return;
    }
    void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if (text == MAP_FAILED) return;
    xkb_keymap* keymap = xkb_keymap_new_from_buffer(
        state->xkb, static_cast<const char*>(text), strnlen(static_cast<const char*>(text), size),
        XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
    munmap(text, size);
    if (!keymap) return;
    if (state->keyState) xkb_state_unref(state->keyState);
    if (state->keymap) xkb_keymap_unref(state->keymap);
    state->keymap = keymap;
    state->keyState = xkb_state_new(keymap);
    if (!state->compose) {
        // The user's compose rules, found as every toolkit finds them: by the locale.
        const char* locale = std::getenv("LC_ALL");
        if (!locale || !*locale) locale = std::getenv("LC_CTYPE");
        if (!locale || !*locale) locale = std::getenv("LANG");
        if (!locale || !*locale) locale = "C";
        if (xkb_compose_table* table = xkb_compose_table_new_from_locale(
                state->xkb, locale, XKB_COMPOSE_COMPILE_NO_FLAGS)) {
            state->compose = xkb_compose_state_new(table, XKB_COMPOSE_STATE_NO_FLAGS);
            xkb_compose_table_unref(table);
        }
    }
}

void keyboardEnter(void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {}
void keyboardLeave(void*, wl_keyboard*, uint32_t, wl_surface*) {}

void keyboardKey(void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state) {
    auto* s = static_cast<SessionLock::State*>(data);
    if (!s->keyState || !s->handlers.key) return;
    SessionLock::KeyEvent event;
    event.pressed = state == WL_KEYBOARD_KEY_STATE_PRESSED;
    event.keycode = key + 8;  // evdev code to xkb keycode
    event.keysym = xkb_state_key_get_one_sym(s->keyState, event.keycode);
    const xkb_keysym_t* firstLayout = nullptr;
    if (xkb_keymap_key_get_syms_by_level(s->keymap, event.keycode, 0, 0, &firstLayout) > 0)
        event.firstLayoutKeysym = firstLayout[0];
    event.repeats = xkb_keymap_key_repeats(s->keymap, event.keycode);
    char text[64] = {};
    if (event.pressed) xkb_state_key_get_utf8(s->keyState, event.keycode, text, sizeof text);
    event.text = QString::fromUtf8(text);
    if (event.pressed && s->compose &&
        xkb_compose_state_feed(s->compose, event.keysym) == XKB_COMPOSE_FEED_ACCEPTED) {
        switch (xkb_compose_state_get_status(s->compose)) {
            case XKB_COMPOSE_COMPOSING:
            case XKB_COMPOSE_CANCELLED:
                event.text.clear();  // part of a sequence, or one that led nowhere
                break;
            case XKB_COMPOSE_COMPOSED:
                xkb_compose_state_get_utf8(s->compose, text, sizeof text);
                event.text = QString::fromUtf8(text);
                event.keysym = xkb_compose_state_get_one_sym(s->compose);
                xkb_compose_state_reset(s->compose);
                break;
            case XKB_COMPOSE_NOTHING:
                break;
        }
    }
    s->handlers.key(event);
}

void keyboardModifiers(void* data, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched,
                       uint32_t locked, uint32_t group) {
    auto* state = static_cast<SessionLock::State*>(data);
    if (state->keyState)
        xkb_state_update_mask(state->keyState, depressed, latched, locked, 0, 0, group);
}

void keyboardRepeat(void* data, wl_keyboard*, int32_t perSecond, int32_t delayMs) {
    auto* state = static_cast<SessionLock::State*>(data);
    if (state->handlers.keyRepeat) state->handlers.keyRepeat(perSecond, delayMs);
}

const wl_keyboard_listener kKeyboardListener{keyboardKeymap, keyboardEnter,     keyboardLeave,
                                             keyboardKey,    keyboardModifiers, keyboardRepeat};

// ---- Pointer -------------------------------------------------------------------------------

void pointerEnter(void* data, wl_pointer* pointer, uint32_t serial, wl_surface* surface,
                  wl_fixed_t x, wl_fixed_t y) {
    auto* state = static_cast<SessionLock::State*>(data);
    wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);  // the aquarium shows no pointer
    state->pointerOutput = state->outputOfSurface(surface);
    state->pointerAt = state->global(state->pointerOutput, x, y);
}

void pointerLeave(void* data, wl_pointer*, uint32_t, wl_surface*) {
    static_cast<SessionLock::State*>(data)->pointerOutput = nullptr;
}

void pointerMotion(void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
    auto* state = static_cast<SessionLock::State*>(data);
    state->pointerAt = state->global(state->pointerOutput, x, y);
    if (state->handlers.pointerMoved)
        state->handlers.pointerMoved(state->buttons, state->pointerAt);
}

void pointerButton(void* data, wl_pointer*, uint32_t, uint32_t, uint32_t code, uint32_t pressed) {
    auto* state = static_cast<SessionLock::State*>(data);
    Qt::MouseButton button = Qt::NoButton;
    switch (code) {
        case BTN_LEFT:
            button = Qt::LeftButton;
            break;
        case BTN_RIGHT:
            button = Qt::RightButton;
            break;
        case BTN_MIDDLE:
            button = Qt::MiddleButton;
            break;
        default:
            button = Qt::ExtraButton1;
            break;
    }
    const bool down = pressed == WL_POINTER_BUTTON_STATE_PRESSED;
    state->buttons.setFlag(button, down);
    if (state->handlers.button) state->handlers.button(down, button, state->pointerAt);
}

void pointerAxis(void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {}  // ignored, as on X11

void pointerFrame(void*, wl_pointer*) {}
void pointerAxisSource(void*, wl_pointer*, uint32_t) {}
void pointerAxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
void pointerAxisDiscrete(void*, wl_pointer*, uint32_t, int32_t) {}

const wl_pointer_listener kPointerListener{
    pointerEnter, pointerLeave,      pointerMotion,   pointerButton,       pointerAxis,
    pointerFrame, pointerAxisSource, pointerAxisStop, pointerAxisDiscrete, nullptr};

// ---- Seat and registry ---------------------------------------------------------------------

void seatCapabilities(void* data, wl_seat* seat, uint32_t capabilities) {
    auto* state = static_cast<SessionLock::State*>(data);
    const bool keyboard = capabilities & WL_SEAT_CAPABILITY_KEYBOARD;
    const bool pointer = capabilities & WL_SEAT_CAPABILITY_POINTER;
    if (keyboard && !state->keyboard) {
        state->keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(state->keyboard, &kKeyboardListener, state);
    } else if (!keyboard && state->keyboard) {
        wl_keyboard_release(state->keyboard);
        state->keyboard = nullptr;
    }
    if (pointer && !state->pointer) {
        state->pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(state->pointer, &kPointerListener, state);
    } else if (!pointer && state->pointer) {
        wl_pointer_release(state->pointer);
        state->pointer = nullptr;
        state->pointerOutput = nullptr;
    }
}

void seatName(void*, wl_seat*, const char*) {}

const wl_seat_listener kSeatListener{seatCapabilities, seatName};

void registryGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface,
                    uint32_t version) {
    auto* state = static_cast<SessionLock::State*>(data);
    const auto is = [interface](const wl_interface& known) {
        return std::strcmp(interface, known.name) == 0;
    };
    if (is(wl_compositor_interface) && !state->compositor) {
        state->compositor = static_cast<wl_compositor*>(
            wl_registry_bind(registry, name, &wl_compositor_interface, std::min(version, 4u)));
    } else if (is(wl_shm_interface) && !state->shm) {
        state->shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
    } else if (is(wl_seat_interface) && !state->seat) {
        // Version 5 for the pointer's frame events; release requests came with 3 and 5.
        if (version < 5) return;
        state->seat =
            static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 5));
        wl_seat_add_listener(state->seat, &kSeatListener, state);
    } else if (is(ext_session_lock_manager_v1_interface) && !state->manager) {
        state->manager = static_cast<ext_session_lock_manager_v1*>(
            wl_registry_bind(registry, name, &ext_session_lock_manager_v1_interface, 1));
    } else if (is(wl_output_interface)) {
        state->addOutput(name, version);
    }
}

void registryGlobalRemove(void* data, wl_registry*, uint32_t name) {
    static_cast<SessionLock::State*>(data)->removeOutput(name);
}

const wl_registry_listener kRegistryListener{registryGlobal, registryGlobalRemove};

int createSharedMemory(size_t bytes) {
    const int fd = memfd_create("brinewave3-lock", MFD_CLOEXEC);
    if (fd < 0) return -1;
    if (ftruncate(fd, off_t(bytes)) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

// ---- State ---------------------------------------------------------------------------------

void SessionLock::State::addOutput(uint32_t name, uint32_t version) {
    // Version 3 for release; scale and done came with 2.
    if (version < 3) return;
    auto output = std::make_unique<LockOutput>();
    output->state = this;
    output->name = name;
    output->output =
        static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, 3));
    wl_output_add_listener(output->output, &kOutputListener, output.get());
    LockOutput& added = *output;
    lockOutputs.push_back(std::move(output));
    if (lock) makeLockSurface(added);
}

void SessionLock::State::removeOutput(uint32_t name) {
    const auto gone = std::find_if(lockOutputs.begin(), lockOutputs.end(),
                                   [name](const auto& output) { return output->name == name; });
    if (gone == lockOutputs.end()) return;
    if (pointerOutput == gone->get()) pointerOutput = nullptr;
    lockOutputs.erase(gone);
    refreshOutputs();
}

void SessionLock::State::makeLockSurface(LockOutput& output) {
    output.surface = wl_compositor_create_surface(compositor);
    output.lockSurface = ext_session_lock_v1_get_lock_surface(lock, output.surface, output.output);
    ext_session_lock_surface_v1_add_listener(output.lockSurface, &kLockSurfaceListener, &output);
}

void SessionLock::State::refreshOutputs() {
    outputs.clear();
    for (const auto& output : lockOutputs) {
        const QSize logical =
            output->configured.isEmpty() ? output->modePixels / output->scale : output->configured;
        outputs.push_back(
            {output->name, QRect(output->position, logical), output->scale, output->pixels()});
    }
}

std::unique_ptr<PooledBuffer> makeShmBuffer(const SessionLock::State& state, QSize size) {
    auto buffer = std::make_unique<ShmBuffer>();
    const int stride = size.width() * 4;
    buffer->bytes = size_t(stride) * size_t(size.height());
    const int fd = createSharedMemory(buffer->bytes);
    if (fd < 0) return nullptr;
    buffer->memory = mmap(nullptr, buffer->bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (buffer->memory == MAP_FAILED) {
        buffer->memory = nullptr;
        close(fd);
        return nullptr;
    }
    wl_shm_pool* pool = wl_shm_create_pool(state.shm, fd, int32_t(buffer->bytes));
    // XRGB8888 in little-endian memory is QImage's RGB32 (0xffRRGGBB words).
    buffer->buffer = wl_shm_pool_create_buffer(pool, 0, size.width(), size.height(), stride,
                                               WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    wl_buffer_add_listener(buffer->buffer, &kBufferListener, buffer.get());
    buffer->image = QImage(static_cast<uchar*>(buffer->memory), size.width(), size.height(), stride,
                           QImage::Format_RGB32);
    return buffer;
}

void SessionLock::State::commitFrame(LockOutput& output, PooledBuffer& buffer,
                                     const QRegion& damage) {
    wl_surface_set_buffer_scale(output.surface, buffer.scale);
    wl_surface_attach(output.surface, static_cast<ShmBuffer&>(buffer).buffer, 0, 0);
    for (const QRect& r : damage)
        wl_surface_damage_buffer(output.surface, r.x(), r.y(), r.width(), r.height());
    destroyWith(output.frameCallback, wl_callback_destroy);
    output.frameCallback = wl_surface_frame(output.surface);
    wl_callback_add_listener(output.frameCallback, &kFrameListener, &output);
    wl_surface_commit(output.surface);
    buffer.busy = true;
    output.hasFrame = true;
}

void SessionLock::State::showBlack(LockOutput& output) {
    PooledBuffer* buffer = output.buffers.take(output.pixels(), output.scale);
    if (!buffer) return;
    buffer->image.fill(Qt::black);
    buffer->whole = true;  // black is no frame
    commitFrame(output, *buffer, QRegion(buffer->image.rect()));
}

bool SessionLock::State::wait(int timeoutMs) {
    while (wl_display_prepare_read(display) != 0) {
        if (wl_display_dispatch_pending(display) < 0) return false;
    }
    if (wl_display_flush(display) < 0 && errno != EAGAIN) {
        wl_display_cancel_read(display);
        return false;
    }
    pollfd ready{wl_display_get_fd(display), POLLIN, 0};
    if (poll(&ready, 1, timeoutMs) > 0) {
        if (wl_display_read_events(display) < 0) return false;
    } else {
        wl_display_cancel_read(display);
    }
    // What the handlers sent in answer (a configure's first buffer) goes out now.
    return wl_display_dispatch_pending(display) >= 0 &&
           (wl_display_flush(display) >= 0 || errno == EAGAIN);
}

// ---- SessionLock ---------------------------------------------------------------------------

SessionLock::SessionLock(std::unique_ptr<State> state)
    : state_(std::move(state)), outputs_(state_->outputs) {}

SessionLock::~SessionLock() = default;

std::unique_ptr<SessionLock> SessionLock::connect(Handlers handlers) {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (!name || !*name) return nullptr;
    auto state = std::make_unique<State>();
    state->handlers = std::move(handlers);
    state->display = wl_display_connect(nullptr);
    if (!state->display) return nullptr;
    state->xkb = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    state->registry = wl_display_get_registry(state->display);
    wl_registry_add_listener(state->registry, &kRegistryListener, state.get());
    // The globals, then what the bound ones tell at once (outputs' sizes, the seat).
    if (wl_display_roundtrip(state->display) < 0 || wl_display_roundtrip(state->display) < 0)
        return nullptr;
    if (!state->manager || !state->compositor || !state->shm || !state->xkb) return nullptr;
    state->refreshOutputs();
    return std::unique_ptr<SessionLock>(new SessionLock(std::move(state)));
}

bool SessionLock::lock(int timeoutMs) {
    State& s = *state_;
    if (s.lock) return s.locked;
    s.lock = ext_session_lock_manager_v1_lock(s.manager);
    ext_session_lock_v1_add_listener(s.lock, &kLockListener, &s);
    for (const auto& output : s.lockOutputs) s.makeLockSurface(*output);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!s.locked && !s.finished) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !s.wait(int(left.count()))) break;
    }
    return s.locked;
}

size_t SessionLock::pointerOutput() const {
    const auto& all = state_->lockOutputs;
    for (size_t index = 0; index < all.size(); ++index)
        if (all[index].get() == state_->pointerOutput) return index;
    return 0;
}

int SessionLock::fd() const { return wl_display_get_fd(state_->display); }

bool SessionLock::dispatch() {
    State& s = *state_;
    const bool alive = s.wait(0);
    if (!alive && !s.finished) {
        s.finished = true;
        if (s.handlers.lost) s.handlers.lost();
    }
    return alive;
}

void SessionLock::frameChanged(const DirtyTiles& changes) {
    for (const auto& output : state_->lockOutputs) output->buffers.frameChanged(changes);
}

bool SessionLock::wantsFrame(size_t index) const {
    if (index >= state_->lockOutputs.size()) return false;
    LockOutput& output = *state_->lockOutputs[index];
    return !output.configured.isEmpty() && !output.frameCallback && output.buffers.hasRoom();
}

bool SessionLock::present(size_t index, const Painter& paint) {
    if (!wantsFrame(index)) return false;
    State& s = *state_;
    LockOutput& output = *s.lockOutputs[index];
    PooledBuffer* buffer = output.buffers.take(output.pixels(), output.scale);
    if (!buffer) return false;
    const QRegion damage = paint(buffer->image, buffer->unshown, buffer->whole);
    buffer->whole = false;
    buffer->unshown.clear();
    if (damage.isEmpty()) return true;  // nothing to show: the buffer stays free
    s.commitFrame(output, *buffer, damage);
    wl_display_flush(s.display);
    return true;
}

void SessionLock::unlock() {
    State& s = *state_;
    if (!s.lock) return;
    // A lock the compositor never confirmed is withdrawn; a confirmed one is unlocked.
    if (s.locked)
        ext_session_lock_v1_unlock_and_destroy(s.lock);
    else
        ext_session_lock_v1_destroy(s.lock);
    s.lock = nullptr;
    s.locked = false;
    s.lockOutputs.clear();
    s.outputs.clear();
    // The program may end only once the compositor has handled it.
    wl_display_roundtrip(s.display);
}

}  // namespace bw
