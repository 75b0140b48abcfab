#include <gtest/gtest.h>
#include <wayland-server.h>

#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <list>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ext-session-lock-v1-server.h"
#include "platform/wayland/SessionLock.h"

namespace bw {
namespace {

// A compositor of the least, on its own thread: surfaces, shared memory, outputs that come and
// go, and a session lock that locks at once and sizes each lock surface to its output. It keeps
// what a client did against the lock's rules: a commit before the configure was acknowledged, a
// surface left without a buffer, a buffer attached again while the compositor still held it.
class StandInCompositor {
  public:
    struct Output {
        wl_global* global = nullptr;
        QSize pixels;
        int scale = 1;
    };
    struct LockSurface {
        Output* output = nullptr;
        wl_resource* surface = nullptr;
        uint32_t configured = 0;
        uint32_t acknowledged = 0;
        QSize shownPixels;  // of the last buffer committed
    };

    StandInCompositor() {
        qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
        display_ = wl_display_create();
        wl_display_init_shm(display_);
        const char* socket = wl_display_add_socket_auto(display_);
        qputenv("WAYLAND_DISPLAY", socket ? socket : "");
        wl_global_create(display_, &wl_compositor_interface, 4, this, bindCompositor);
        wl_global_create(display_, &ext_session_lock_manager_v1_interface, 1, this, bindManager);
        thread_ = std::thread([this] {
            while (!stop_) {
                std::lock_guard<std::mutex> hold(mutex_);
                for (auto& action : actions_) action();
                actions_.clear();
                wl_event_loop_dispatch(wl_display_get_event_loop(display_), 5);
                wl_display_flush_clients(display_);
            }
        });
    }

    ~StandInCompositor() {
        stop_ = true;
        thread_.join();
        wl_display_destroy_clients(display_);
        wl_display_destroy(display_);
    }

    // Runs on the compositor's thread, with what it keeps.
    void run(std::function<void()> action) {
        std::lock_guard<std::mutex> hold(mutex_);
        actions_.push_back(std::move(action));
    }
    template <typename F>
    auto read(F f) {
        std::lock_guard<std::mutex> hold(mutex_);
        return f();
    }

    void plugIn(QSize pixels, int scale) {
        run([this, pixels, scale] {
            outputs_.push_back({nullptr, pixels, scale});
            outputs_.back().global =
                wl_global_create(display_, &wl_output_interface, 3, &outputs_.back(), bindOutput);
        });
    }
    void unplug(size_t index) {
        run([this, index] {
            auto output = std::next(outputs_.begin(), long(index));
            wl_global_destroy(output->global);
            output->global = nullptr;
        });
    }
    // Holding buffers, the compositor releases none: a client must draw into none of them.
    // Letting go, it releases all but the last one of each surface, as after reading them.
    void holdBuffers(bool hold) {
        run([this, hold] {
            holdingBuffers_ = hold;
            if (!hold)
                for (Surface* surface : surfaces_) surface->releaseAllBut(1);
        });
    }

    std::vector<std::string> brokenRules;  // read() them
    std::list<LockSurface> lockSurfaces;
    bool unlocked = false;

  private:
    struct Surface;
    // A buffer the compositor has not released; forgotten when the client destroys it.
    struct Held {
        wl_listener destroyed;
        Surface* surface;
        wl_resource* buffer;
    };
    struct Surface {
        StandInCompositor* compositor = nullptr;
        wl_resource* pending = nullptr;
        bool attached = false;
        bool everShown = false;
        wl_resource* frameCallback = nullptr;
        LockSurface* lockSurface = nullptr;
        std::list<Held*> held;  // oldest first

        void hold(wl_resource* buffer) {
            auto* held = new Held{{}, this, buffer};
            held->destroyed.notify = [](wl_listener* listener, void*) {
                auto* gone = reinterpret_cast<Held*>(reinterpret_cast<char*>(listener) -
                                                     offsetof(Held, destroyed));
                gone->surface->held.remove(gone);
                delete gone;
            };
            wl_resource_add_destroy_listener(buffer, &held->destroyed);
            this->held.push_back(held);
        }
        bool holds(wl_resource* buffer) const {
            for (const Held* h : held)
                if (h->buffer == buffer) return true;
            return false;
        }
        void releaseAllBut(size_t kept, bool send = true) {
            while (held.size() > kept) {
                Held* oldest = held.front();
                held.pop_front();
                if (send) wl_buffer_send_release(oldest->buffer);
                wl_list_remove(&oldest->destroyed.link);
                delete oldest;
            }
        }
        ~Surface() {
            releaseAllBut(0, false);
            compositor->surfaces_.remove(this);
        }
    };

    static StandInCompositor* of(wl_resource* resource) {
        return static_cast<StandInCompositor*>(wl_resource_get_user_data(resource));
    }

    static void bindCompositor(wl_client* client, void* data, uint32_t version, uint32_t id) {
        static const struct wl_compositor_interface calls = {
            .create_surface = createSurface,
            .create_region = [](wl_client* c, wl_resource*, uint32_t id) {
                wl_resource_create(c, &wl_region_interface, 1, id);
            },
        };
        wl_resource* resource = wl_resource_create(client, &wl_compositor_interface, version, id);
        wl_resource_set_implementation(resource, &calls, data, nullptr);
    }

    static void createSurface(wl_client* client, wl_resource* compositor, uint32_t id) {
        static const struct wl_surface_interface calls = {
            .destroy = [](wl_client*, wl_resource* r) { wl_resource_destroy(r); },
            .attach = [](wl_client*, wl_resource* r, wl_resource* buffer, int32_t, int32_t) {
                auto* surface = static_cast<Surface*>(wl_resource_get_user_data(r));
                surface->pending = buffer;
                surface->attached = true;
            },
            .damage = [](wl_client*, wl_resource*, int32_t, int32_t, int32_t, int32_t) {},
            .frame = [](wl_client* c, wl_resource* r, uint32_t id) {
                auto* surface = static_cast<Surface*>(wl_resource_get_user_data(r));
                surface->frameCallback = wl_resource_create(c, &wl_callback_interface, 1, id);
            },
            .set_opaque_region = [](wl_client*, wl_resource*, wl_resource*) {},
            .set_input_region = [](wl_client*, wl_resource*, wl_resource*) {},
            .commit = commit,
            .set_buffer_transform = [](wl_client*, wl_resource*, int32_t) {},
            .set_buffer_scale = [](wl_client*, wl_resource*, int32_t) {},
            .damage_buffer = [](wl_client*, wl_resource*, int32_t, int32_t, int32_t, int32_t) {},
            .offset = [](wl_client*, wl_resource*, int32_t, int32_t) {},
        };
        wl_resource* resource =
            wl_resource_create(client, &wl_surface_interface, wl_resource_get_version(compositor), id);
        auto* surface = new Surface;
        surface->compositor = of(compositor);
        of(compositor)->surfaces_.push_back(surface);
        wl_resource_set_implementation(resource, &calls, surface, [](wl_resource* r) {
            delete static_cast<Surface*>(wl_resource_get_user_data(r));
        });
    }

    static void commit(wl_client*, wl_resource* resource) {
        auto* surface = static_cast<Surface*>(wl_resource_get_user_data(resource));
        StandInCompositor& self = *surface->compositor;
        LockSurface* lock = surface->lockSurface;
        if (lock && lock->acknowledged != lock->configured)
            self.brokenRules.push_back("a commit before the configure was acknowledged");
        if (surface->attached) {
            surface->attached = false;
            if (!surface->pending) {
                self.brokenRules.push_back("a lock surface left without a buffer");
            } else {
                if (surface->holds(surface->pending))
                    self.brokenRules.push_back("a buffer attached while still held");
                // The last one goes back once the new one shows.
                if (!self.holdingBuffers_) surface->releaseAllBut(0);
                surface->hold(surface->pending);
                if (wl_shm_buffer* shm = wl_shm_buffer_get(surface->pending); shm && lock)
                    lock->shownPixels = {wl_shm_buffer_get_width(shm),
                                         wl_shm_buffer_get_height(shm)};
                surface->everShown = true;
            }
        } else if (lock && !surface->everShown && lock->acknowledged) {
            self.brokenRules.push_back("a lock surface committed without a buffer");
        }
        if (surface->frameCallback) {
            wl_callback_send_done(surface->frameCallback, 0);
            wl_resource_destroy(surface->frameCallback);
            surface->frameCallback = nullptr;
        }
    }

    static void bindOutput(wl_client* client, void* data, uint32_t version, uint32_t id) {
        static const struct wl_output_interface calls = {
            .release = [](wl_client*, wl_resource* r) { wl_resource_destroy(r); },
        };
        auto* output = static_cast<Output*>(data);
        wl_resource* resource = wl_resource_create(client, &wl_output_interface, version, id);
        wl_resource_set_implementation(resource, &calls, output, nullptr);
        wl_output_send_geometry(resource, 0, 0, 300, 200, WL_OUTPUT_SUBPIXEL_UNKNOWN, "", "",
                                WL_OUTPUT_TRANSFORM_NORMAL);
        wl_output_send_mode(resource, WL_OUTPUT_MODE_CURRENT, output->pixels.width(),
                            output->pixels.height(), 60000);
        wl_output_send_scale(resource, output->scale);
        wl_output_send_done(resource);
    }

    static void bindManager(wl_client* client, void* data, uint32_t version, uint32_t id) {
        static const struct ext_session_lock_manager_v1_interface calls = {
            .destroy = [](wl_client*, wl_resource* r) { wl_resource_destroy(r); },
            .lock = lock,
        };
        wl_resource* resource =
            wl_resource_create(client, &ext_session_lock_manager_v1_interface, version, id);
        wl_resource_set_implementation(resource, &calls, data, nullptr);
    }

    static void lock(wl_client* client, wl_resource* manager, uint32_t id) {
        static const struct ext_session_lock_v1_interface calls = {
            .destroy = [](wl_client*, wl_resource* r) { wl_resource_destroy(r); },
            .get_lock_surface = getLockSurface,
            .unlock_and_destroy =
                [](wl_client*, wl_resource* r) {
                    of(r)->unlocked = true;
                    wl_resource_destroy(r);
                },
        };
        wl_resource* resource = wl_resource_create(client, &ext_session_lock_v1_interface, 1, id);
        wl_resource_set_implementation(resource, &calls, of(manager), nullptr);
        ext_session_lock_v1_send_locked(resource);
    }

    static void getLockSurface(wl_client* client, wl_resource* lock, uint32_t id,
                               wl_resource* surfaceResource, wl_resource* outputResource) {
        static const struct ext_session_lock_surface_v1_interface calls = {
            .destroy = [](wl_client*, wl_resource* r) { wl_resource_destroy(r); },
            .ack_configure =
                [](wl_client*, wl_resource* r, uint32_t serial) {
                    static_cast<LockSurface*>(wl_resource_get_user_data(r))->acknowledged = serial;
                },
        };
        StandInCompositor& self = *of(lock);
        auto* output = static_cast<Output*>(wl_resource_get_user_data(outputResource));
        self.lockSurfaces.push_back({output, surfaceResource, ++self.serial_, 0, {}});
        LockSurface& lockSurface = self.lockSurfaces.back();
        static_cast<Surface*>(wl_resource_get_user_data(surfaceResource))->lockSurface =
            &lockSurface;
        wl_resource* resource =
            wl_resource_create(client, &ext_session_lock_surface_v1_interface, 1, id);
        wl_resource_set_implementation(resource, &calls, &lockSurface, nullptr);
        const QSize logical = output->pixels / output->scale;
        ext_session_lock_surface_v1_send_configure(resource, lockSurface.configured,
                                                   uint32_t(logical.width()),
                                                   uint32_t(logical.height()));
    }

    QTemporaryDir runtime_;
    wl_display* display_ = nullptr;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<std::function<void()>> actions_;
    std::list<Output> outputs_;
    std::list<Surface*> surfaces_;
    bool holdingBuffers_ = false;
    uint32_t serial_ = 0;
};

// Handles what the compositor sends until `done` (two seconds at most).
bool dispatchUntil(SessionLock& lock, const std::function<bool()>& done) {
    for (int i = 0; i < 400; ++i) {
        lock.dispatch();
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

// A frame: the buffer all grey.
bool presentGrey(SessionLock& lock, size_t output) {
    return lock.present(output, [](QImage& buffer, const DirtyTiles&, bool) {
        buffer.fill(Qt::gray);
        return QRegion(buffer.rect());
    });
}

QSize pixelsOf(SessionLock& lock, size_t index) {
    return index < lock.outputs().size() ? lock.outputs()[index].pixels : QSize();
}

// The session locked on one output of `pixels`, its surface configured; null when it failed.
std::unique_ptr<SessionLock> lockedOn(StandInCompositor& compositor, QSize pixels) {
    compositor.plugIn(pixels, 1);
    std::unique_ptr<SessionLock> lock = SessionLock::connect({});
    if (!lock || !lock->lock(2000) ||
        !dispatchUntil(*lock, [&] { return pixelsOf(*lock, 0) == pixels; }))
        return nullptr;
    return lock;
}

TEST(SessionLock, EveryOutputThatComesGetsItsSurfaceAndOneThatGoesLosesIt) {
    StandInCompositor compositor;
    std::unique_ptr<SessionLock> lock = lockedOn(compositor, {1280, 720});
    ASSERT_NE(lock, nullptr);

    // A HiDPI output plugged in while locked: its surface has its pixels, not its logical size.
    compositor.plugIn({1600, 1200}, 2);
    ASSERT_TRUE(dispatchUntil(*lock, [&] { return pixelsOf(*lock, 1) == QSize(1600, 1200); }));
    EXPECT_EQ(lock->outputs()[1].area.size(), QSize(800, 600));
    ASSERT_TRUE(dispatchUntil(*lock, [&] { return presentGrey(*lock, 1); }));
    EXPECT_TRUE(dispatchUntil(*lock, [&] {
        return compositor.read([&] {
            return compositor.lockSurfaces.size() == 2 &&
                   compositor.lockSurfaces.back().shownPixels == QSize(1600, 1200);
        });
    }));

    compositor.unplug(0);
    ASSERT_TRUE(dispatchUntil(*lock, [&] { return lock->outputs().size() == 1; }));
    EXPECT_EQ(pixelsOf(*lock, 0), QSize(1600, 1200));
    EXPECT_TRUE(dispatchUntil(*lock, [&] { return presentGrey(*lock, 0); }));

    lock->unlock();
    EXPECT_TRUE(compositor.read([&] { return compositor.unlocked; }));
    EXPECT_EQ(compositor.read([&] { return compositor.brokenRules; }), std::vector<std::string>());
}

TEST(SessionLock, FramesWaitWhileTheCompositorHoldsEveryBuffer) {
    StandInCompositor compositor;
    std::unique_ptr<SessionLock> lock = lockedOn(compositor, {640, 480});
    ASSERT_NE(lock, nullptr);
    compositor.holdBuffers(true);
    // The black first buffer is held too: two frames more, then none until one is released.
    int shown = 0;
    for (int i = 0; i < 100; ++i) {
        lock->dispatch();
        if (presentGrey(*lock, 0)) ++shown;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(shown, 2);
    EXPECT_FALSE(lock->wantsFrame(0));
    // Frames go on once the compositor lets go of a buffer.
    compositor.holdBuffers(false);
    EXPECT_TRUE(dispatchUntil(*lock, [&] { return presentGrey(*lock, 0); }));
    EXPECT_EQ(compositor.read([&] { return compositor.brokenRules; }), std::vector<std::string>());
}

}  // namespace
}  // namespace bw
