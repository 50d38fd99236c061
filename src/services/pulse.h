#pragma once

// A connection to the PulseAudio server for the player and the mixer: a threaded mainloop
// with one context, owned handles for the C objects, and the one wait that every synchronous
// step goes through.

#include <pulse/pulseaudio.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace tarvelo::services::pulse {

struct OperationUnref
{
    void operator()(pa_operation *op) const { pa_operation_unref(op); }
};
using Operation = std::unique_ptr<pa_operation, OperationUnref>;

// Disconnects and releases a stream. Run it with the mainloop locked: the callbacks are
// cleared first so that nothing of the stream's owner is called once it is gone.
struct StreamRelease
{
    void operator()(pa_stream *s) const;
};
using Stream = std::unique_ptr<pa_stream, StreamRelease>;

// How long a synchronous step may take before it counts as failed: a server that is there
// answers within a millisecond, one that hangs must not freeze the caller.
inline constexpr std::chrono::milliseconds kReplyTimeout {1000};

class Connection
{
public:
    // Connects to the server the environment names (never spawning one) and waits until the
    // context is ready. Null when there is no server or it did not answer within `timeout`.
    static std::unique_ptr<Connection> open(const char *clientName,
                                            std::chrono::milliseconds timeout = kReplyTimeout);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // False once the server has gone away; a new Connection is needed then.
    bool good();

    pa_threaded_mainloop *mainloop() const { return mainloop_.get(); }
    pa_context *context() const { return context_.get(); }

    // Holds the mainloop lock for the scope; every pa_ call outside the callbacks needs it.
    class Lock
    {
    public:
        explicit Lock(Connection &c) : m_(c.mainloop()) { pa_threaded_mainloop_lock(m_); }
        ~Lock() { pa_threaded_mainloop_unlock(m_); }
        Lock(const Lock &) = delete;
        Lock &operator=(const Lock &) = delete;

    private:
        pa_threaded_mainloop *m_;
    };

    // The one wait. With the lock held, sleeps on the mainloop's condition until `done`
    // holds, and returns true then. Returns false, without waiting further, when the context
    // has failed or `timeout` (if given) has passed. Every callback that can make `done`
    // true calls signal(), so nothing here ever polls.
    bool waitUntil(const std::function<bool()> &done,
                   std::optional<std::chrono::milliseconds> timeout);

    // Takes the reference to an operation and has its end wake the waiters.
    Operation watch(pa_operation *op);

    // Waits for an operation to end; true when it completed. Takes the reference; a null
    // operation (the request could not even be sent) is simply a failure.
    bool waitFor(pa_operation *op, std::chrono::milliseconds timeout = kReplyTimeout);

    // Wakes every waiter; for callbacks running on the mainloop thread.
    void signal() { pa_threaded_mainloop_signal(mainloop_.get(), 0); }
    static void signalCallback(void *connection);

private:
    struct MainloopFree
    {
        void operator()(pa_threaded_mainloop *m) const;
    };
    struct ContextRelease
    {
        void operator()(pa_context *c) const;
    };

    Connection() = default;

    std::unique_ptr<pa_threaded_mainloop, MainloopFree> mainloop_;
    std::unique_ptr<pa_context, ContextRelease> context_;
};

} // namespace tarvelo::services::pulse
