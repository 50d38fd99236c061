#include "services/pulse.h"

namespace tarvelo::services::pulse {

void StreamRelease::operator()(pa_stream *s) const
{
    pa_stream_set_state_callback(s, nullptr, nullptr);
    pa_stream_set_write_callback(s, nullptr, nullptr);
    if (PA_STREAM_IS_GOOD(pa_stream_get_state(s)))
        pa_stream_disconnect(s);
    pa_stream_unref(s);
}

void Connection::MainloopFree::operator()(pa_threaded_mainloop *m) const
{
    pa_threaded_mainloop_stop(m);
    pa_threaded_mainloop_free(m);
}

void Connection::ContextRelease::operator()(pa_context *c) const
{
    pa_context_set_state_callback(c, nullptr, nullptr);
    pa_context_disconnect(c);
    pa_context_unref(c);
}

void Connection::signalCallback(void *connection)
{
    static_cast<Connection *>(connection)->signal();
}

std::unique_ptr<Connection> Connection::open(const char *clientName,
                                             std::chrono::milliseconds timeout)
{
    std::unique_ptr<Connection> c(new Connection);
    c->mainloop_.reset(pa_threaded_mainloop_new());
    if (!c->mainloop_)
        return nullptr;
    pa_mainloop_api *api = pa_threaded_mainloop_get_api(c->mainloop_.get());
    c->context_.reset(pa_context_new(api, clientName));
    if (!c->context_)
        return nullptr;
    pa_context_set_state_callback(
        c->context_.get(), [](pa_context *, void *self) { signalCallback(self); }, c.get());
    // No autospawn: without a server the program must learn it at once, not start a daemon.
    if (pa_context_connect(c->context_.get(), nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        return nullptr;
    if (pa_threaded_mainloop_start(c->mainloop_.get()) < 0)
        return nullptr;

    bool ready;
    {
        Lock lock(*c);
        ready = c->waitUntil(
            [&] { return pa_context_get_state(c->context_.get()) == PA_CONTEXT_READY; }, timeout);
        if (!ready)
            c->context_.reset();  // still under the lock, as every context call must be
    }
    if (!ready)
        return nullptr;
    return c;
}

Connection::~Connection()
{
    if (context_ && mainloop_) {
        Lock lock(*this);
        context_.reset();
    }
    context_.reset();
    mainloop_.reset();  // stops the mainloop thread; never with the lock held
}

bool Connection::good()
{
    Lock lock(*this);
    return pa_context_get_state(context_.get()) == PA_CONTEXT_READY;
}

namespace {

struct Deadline
{
    Connection *connection;
    bool passed = false;
};

} // namespace

bool Connection::waitUntil(const std::function<bool()> &done,
                           std::optional<std::chrono::milliseconds> timeout)
{
    Deadline deadline {this};
    pa_time_event *timer = nullptr;
    if (timeout) {
        const auto usec = std::chrono::duration_cast<std::chrono::microseconds>(*timeout);
        timer = pa_context_rttime_new(
            context_.get(), pa_rtclock_now() + static_cast<pa_usec_t>(usec.count()),
            [](pa_mainloop_api *, pa_time_event *, const struct timeval *, void *userdata) {
                auto *d = static_cast<Deadline *>(userdata);
                d->passed = true;
                d->connection->signal();
            },
            &deadline);
    }
    bool ok = false;
    for (;;) {
        if (done()) {
            ok = true;
            break;
        }
        if (deadline.passed || !PA_CONTEXT_IS_GOOD(pa_context_get_state(context_.get())))
            break;
        pa_threaded_mainloop_wait(mainloop_.get());
    }
    if (timer) {
        pa_mainloop_api *api = pa_threaded_mainloop_get_api(mainloop_.get());
        api->time_free(timer);
    }
    return ok;
}

Operation Connection::watch(pa_operation *op)
{
    if (op)
        pa_operation_set_state_callback(
            op, [](pa_operation *, void *self) { signalCallback(self); }, this);
    return Operation(op);
}

bool Connection::waitFor(pa_operation *op, std::chrono::milliseconds timeout)
{
    if (!op)
        return false;
    Operation owned = watch(op);
    const bool ended = waitUntil(
        [&] { return pa_operation_get_state(op) != PA_OPERATION_RUNNING; }, timeout);
    if (!ended) {
        pa_operation_cancel(op);
        return false;
    }
    return pa_operation_get_state(op) == PA_OPERATION_DONE;
}

} // namespace tarvelo::services::pulse
