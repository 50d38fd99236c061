#include "services/systemaudioplayer.h"

#include "services/feedbackrelay.h"
#include "services/mp3decoder.h"
#include "services/mp3layout.h"
#include "services/pulse.h"

#include <QFile>

#include <atomic>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvelo::services {

namespace {

class UniqueFd
{
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) { }
    UniqueFd(UniqueFd &&o) noexcept : fd_(std::exchange(o.fd_, -1)) { }
    UniqueFd &operator=(UniqueFd &&o) noexcept
    {
        std::swap(fd_, o.fd_);
        return *this;
    }
    ~UniqueFd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// Opens a track for reading. Only a regular file counts as opened: a directory, a device
// or a FIFO named like a track is a file that fails to open. O_NONBLOCK keeps the open of a
// FIFO from blocking the GUI thread until a writer appears; it is cleared again after.
UniqueFd openTrackFile(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    UniqueFd fd(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd)
        return {};
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) < 0)
        return {};
    return fd;
}

// Decoded audio goes to the stream in batches of up to this many MPEG frames, so that a
// refill of the server's buffer is a few large writes rather than one per frame, and the
// first write of a track comes after a fraction of a millisecond of decoding.
constexpr std::size_t kBatchFrames = 16;

} // namespace

// One player: a file, its decoder thread and its stream.
class Track
{
public:
    // Made on the GUI thread, like its relay, which turns the state to 0 when it delivers the
    // end of the track: until the target has been told, the track counts as playing.
    Track(pulse::Connection &pa, UniqueFd fd, int start, QObject *target,
          std::function<void()> firstWriteHook)
        : pa_(pa)
        , fd_(std::move(fd))
        , start_(mp3::clampStart(start))
        , relay_(new FeedbackRelay(target, [this] { state_ = 0; }))
        , firstWriteHook_(std::move(firstWriteHook))
    {
        thread_ = std::thread([this] { run(); });
    }

    ~Track() { discard(); }

    Track(const Track &) = delete;
    Track &operator=(const Track &) = delete;

    int state() const { return state_.load(); }

    // Stops the decoder thread and waits for it. The thread disconnects the stream on its
    // way out, which ends the sound at once; then the relay goes, and with it every value
    // still queued for the target.
    void discard()
    {
        {
            pulse::Connection::Lock lock(pa_);
            stopping_ = true;
            pa_.signal();
        }
        if (thread_.joinable())
            thread_.join();
        if (relay_) {
            relay_->discard();
            relay_ = nullptr;
        }
    }

    void setPaused(int flag)
    {
        pulse::Connection::Lock lock(pa_);
        int expected = flag == 1 ? 1 : flag == 0 ? -1 : 2;
        if (!state_.compare_exchange_strong(expected, flag == 1 ? -1 : 1))
            return;
        paused_ = flag == 1;
        if (!stream_)
            return;  // the stream will be created corked (or not) to match
        // A stream still being created cannot be corked yet; it is ready within a round trip.
        pa_.waitUntil([&] { return pa_stream_get_state(stream_.get()) != PA_STREAM_CREATING; },
                      pulse::kReplyTimeout);
        if (pa_stream_get_state(stream_.get()) == PA_STREAM_READY)
            pa_.waitFor(pa_stream_cork(stream_.get(), paused_ ? 1 : 0, nullptr, nullptr));
    }

private:
    void run()
    {
        Mp3Decoder decoder(fd_.get());
        if (decoder.open()) {
            // The stream is connected before the seek so that the server sets it up while a
            // long file's frames are counted.
            if (start_ < 100) {
                pulse::Connection::Lock lock(pa_);
                connectStream(decoder);
            }
            if (decoder.seek(start_, &stopping_))
                play(decoder);
        }
        {
            pulse::Connection::Lock lock(pa_);
            stream_.reset();
        }
        if (!stopping_)
            relay_->send(100);
    }

    // With the lock held.
    void connectStream(const Mp3Decoder &decoder)
    {
        const Mp3Decoder::Format f = decoder.format();
        const pa_sample_spec sampleFormat { PA_SAMPLE_S16NE, static_cast<std::uint32_t>(f.rate),
                                    static_cast<std::uint8_t>(f.channels) };
        if (!pa_sample_spec_valid(&sampleFormat))
            return;
        stream_.reset(pa_stream_new(pa_.context(), "Tarvelo", &sampleFormat, nullptr));
        if (!stream_)
            return;
        pa_stream_set_state_callback(
            stream_.get(), [](pa_stream *, void *c) { pulse::Connection::signalCallback(c); }, &pa_);
        pa_stream_set_write_callback(
            stream_.get(),
            [](pa_stream *, std::size_t, void *c) { pulse::Connection::signalCallback(c); }, &pa_);

        // The server holds the output buffer: 512 KiB of whole frames. Playback starts as
        // soon as the first batch is there.
        const std::size_t frameBytes = decoder.frameBytes();
        const auto buffer = static_cast<std::uint32_t>(mp3::outputBufferBytes(frameBytes));
        pa_buffer_attr attr {};
        attr.maxlength = buffer;
        attr.tlength = buffer;
        attr.prebuf = std::min<std::uint32_t>(buffer, static_cast<std::uint32_t>(frameBytes * kBatchFrames));
        attr.minreq = static_cast<std::uint32_t>(-1);
        attr.fragsize = static_cast<std::uint32_t>(-1);
        const auto flags = paused_ ? PA_STREAM_START_CORKED : PA_STREAM_NOFLAGS;
        if (pa_stream_connect_playback(stream_.get(), nullptr, &attr, flags, nullptr, nullptr) < 0)
            stream_.reset();
    }

    // With the lock held: the stream has failed, or the server has gone.
    bool streamBroken() const
    {
        return !stream_ || !PA_STREAM_IS_GOOD(pa_stream_get_state(stream_.get()));
    }

    // Waits until the stream takes at least `need` bytes. 0 when the player stops or the
    // stream breaks instead.
    std::size_t waitForRoom(std::size_t need)
    {
        std::size_t room = 0;
        pulse::Connection::Lock lock(pa_);
        const bool ok = pa_.waitUntil(
            [&] {
                if (stopping_ || streamBroken())
                    return true;
                if (pa_stream_get_state(stream_.get()) != PA_STREAM_READY)
                    return false;
                room = pa_stream_writable_size(stream_.get());
                return room != static_cast<std::size_t>(-1) && room >= need;
            },
            std::nullopt);
        if (!ok || stopping_ || streamBroken() || room == static_cast<std::size_t>(-1))
            return 0;
        return room;
    }

    // Writes from the front of `pending` what the stream takes now; false when it broke.
    bool write(std::vector<unsigned char> &pending, std::size_t sampleBytes)
    {
        pulse::Connection::Lock lock(pa_);
        if (stopping_ || streamBroken())
            return false;
        std::size_t n = pa_stream_writable_size(stream_.get());
        if (n == static_cast<std::size_t>(-1))
            return false;
        n = std::min(n, pending.size());
        n -= n % sampleBytes;
        if (n == 0)
            return true;
        if (pa_stream_write(stream_.get(), pending.data(), n, nullptr, 0, PA_SEEK_RELATIVE) < 0)
            return false;
        pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(n));
        if (!wroteOnce_) {
            wroteOnce_ = true;
            if (firstWriteHook_)
                firstWriteHook_();
        }
        return true;
    }

    // Decodes the track to its end, never more than the stream has room for ahead of what
    // it plays, then waits until the last sample has been played out.
    void play(Mp3Decoder &decoder)
    {
        mp3::ProgressTracker progress(decoder.totalFrames(), start_);
        const std::size_t frameBytes = decoder.frameBytes();
        const std::size_t sampleBytes = decoder.format().sampleBytes();
        const std::size_t batch = frameBytes * kBatchFrames;
        std::vector<unsigned char> pending;
        pending.reserve(batch + frameBytes);
        bool decoding = true;

        while (decoding || !pending.empty()) {
            const std::size_t room = waitForRoom(pending.empty() ? frameBytes : sampleBytes);
            if (room == 0)
                return;
            while (decoding && !stopping_ && pending.size() + frameBytes <= std::min(room, batch)) {
                if (decoder.decodeFrame() != Mp3Decoder::Status::Frame) {
                    decoding = false;  // the end, or an error that ends the track
                    break;
                }
                if (const auto value = progress.frameDecoded(decoder.framesDecoded()))
                    relay_->send(*value);
                const auto pcm = decoder.pcm();
                pending.insert(pending.end(), pcm.begin(), pcm.end());
            }
            if (stopping_ || !write(pending, sampleBytes))
                return;
        }

        pulse::Connection::Lock lock(pa_);
        if (stopping_ || streamBroken() || !wroteOnce_)
            return;
        pulse::Operation drain = pa_.watch(pa_stream_drain(stream_.get(), nullptr, nullptr));
        if (!drain)
            return;
        // No deadline: a paused stream drains only once it is resumed.
        pa_.waitUntil(
            [&] {
                return stopping_ || streamBroken()
                       || pa_operation_get_state(drain.get()) != PA_OPERATION_RUNNING;
            },
            std::nullopt);
        if (pa_operation_get_state(drain.get()) == PA_OPERATION_RUNNING)
            pa_operation_cancel(drain.get());
    }

    pulse::Connection &pa_;
    UniqueFd fd_;
    const int start_;
    FeedbackRelay *relay_;
    const std::function<void()> firstWriteHook_;

    std::atomic<int> state_ {1};
    std::atomic<bool> stopping_ {false};  // written with the lock held, so that waits see it
    // Guarded by the mainloop lock.
    pulse::Stream stream_;
    bool paused_ = false;
    bool wroteOnce_ = false;

    std::thread thread_;  // last: started once everything above is in place
};

SystemAudioPlayer::SystemAudioPlayer() = default;

SystemAudioPlayer::~SystemAudioPlayer()
{
    StopPlayback();
}

pulse::Connection *SystemAudioPlayer::connection()
{
    // A server that went away (or was restarted) leaves a failed context behind; the next
    // track connects afresh.
    if (connection_ && !connection_->good())
        connection_.reset();
    if (!connection_)
        connection_ = pulse::Connection::open("Tarvelo");
    return connection_.get();
}

void SystemAudioPlayer::PlayFile(const QString &path, int start, QObject *target)
{
    StopPlayback();
    if (path.isEmpty())
        return;
    UniqueFd fd = openTrackFile(path);
    if (!fd)
        return;
    pulse::Connection *pa = connection();
    if (!pa)
        return;  // no sound server: as for a file that fails to open
    current_ = std::make_unique<Track>(*pa, std::move(fd), start, target, firstWriteHook_);
}

void SystemAudioPlayer::SetPauseState(int flag)
{
    if (current_)
        current_->setPaused(flag);
}

void SystemAudioPlayer::StopPlayback()
{
    current_.reset();
}

int SystemAudioPlayer::GetPlayState()
{
    return current_ ? current_->state() : 0;
}

} // namespace tarvelo::services
