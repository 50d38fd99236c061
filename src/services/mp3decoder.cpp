#include "services/mp3decoder.h"

#include <mpg123.h>

#include <mutex>

#include <sys/stat.h>
#include <unistd.h>

namespace tarvelo::services {

void Mp3Decoder::HandleDelete::operator()(mpg123_handle_struct *h) const
{
    mpg123_close(h);
    mpg123_delete(h);
}

Mp3Decoder::Mp3Decoder(int fd) : fd_(fd)
{
    // mpg123_init() is needed only by libmpg123 before 1.27 and does nothing afterwards;
    // calling it once keeps older builds right.
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

Mp3Decoder::~Mp3Decoder() = default;

mp3::ReadAt Mp3Decoder::reader() const
{
    // pread leaves the descriptor's offset, which libmpg123 reads from, untouched. The file
    // is never mapped: one truncated while it plays would then fault instead of ending.
    const int fd = fd_;
    return [fd](std::uint64_t offset, unsigned char *buf, std::size_t len) -> std::size_t {
        std::size_t got = 0;
        while (got < len) {
            const ssize_t n = ::pread(fd, buf + got, len - got, static_cast<off_t>(offset + got));
            if (n <= 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        return got;
    };
}

bool Mp3Decoder::open()
{
    int err = MPG123_OK;
    mh_.reset(mpg123_new(nullptr, &err));
    if (!mh_)
        return false;
    mpg123_handle *mh = mh_.get();
    // Quiet: nothing is printed. ID3v2 tags are skipped without being parsed, so that a tag
    // of several MiB costs no memory.
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_SKIP_ID3V2 | MPG123_GAPLESS, 0);
    mpg123_param(mh, MPG123_REMOVE_FLAGS, MPG123_FUZZY, 0);

    // Any rate and either channel count, as signed 16-bit samples, until the first frame is
    // known.
    mpg123_format_none(mh);
    const long *rates = nullptr;
    std::size_t count = 0;
    mpg123_rates(&rates, &count);
    for (std::size_t i = 0; i < count; ++i)
        mpg123_format(mh, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);

    if (mpg123_open_fd(mh, fd_) != MPG123_OK)
        return false;
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(mh, &rate, &channels, &encoding) != MPG123_OK || rate <= 0
        || channels < 1)
        return false;
    format_ = { rate, channels };

    // Pin the output to this one format for the rest of the file. A file whose later frames
    // change rate or channels (joined from two recordings) is then converted by libmpg123
    // into the format the stream already plays, with no gap and no new stream.
    mpg123_format_none(mh);
    mpg123_format(mh, rate, channels == 1 ? MPG123_MONO : MPG123_STEREO, MPG123_ENC_SIGNED_16);

    struct stat st {};
    if (::fstat(fd_, &st) == 0)
        layout_ = mp3::analyze(static_cast<std::uint64_t>(st.st_size), reader());
    if (layout_) {
        totalFrames_ = layout_->totalFrames;
    } else {
        // Frames libmpg123 decodes but the header walk cannot follow (free format):
        // libmpg123's own estimate is the best there is.
        totalFrames_ = std::max<std::int64_t>(1, mpg123_framelength(mh));
    }
    return true;
}

std::size_t Mp3Decoder::frameBytes() const
{
    const int samples = layout_ ? layout_->first.samples : 1152;
    return static_cast<std::size_t>(samples) * format_.sampleBytes();
}

bool Mp3Decoder::seek(int start, const std::atomic<bool> *cancel)
{
    const std::int64_t target = mp3::startFrame(totalFrames_, start);
    framesDecoded_ = target;
    if (target <= 0)
        return true;
    if (target >= totalFrames_) {
        atEnd_ = true;
        return true;
    }
    mpg123_handle *mh = mh_.get();
    if (layout_) {
        // libmpg123 seeks accurately only by reading every frame from the last point it
        // knows, which on an hour-long file takes a tenth of a second. Walking the headers
        // ourselves in large reads takes a few milliseconds; handing it the offsets as its
        // frame index makes its seek exact and immediate.
        const auto cancelled = [cancel] { return cancel && cancel->load(); };
        auto index = mp3::buildFrameIndex(*layout_, reader(), target, cancelled);
        if (cancelled())
            return false;
        if (!index.offsets.empty()) {
            std::vector<off_t> offsets(index.offsets.begin(), index.offsets.end());
            mpg123_set_index(mh, offsets.data(), static_cast<off_t>(index.step), offsets.size());
        }
    }
    return mpg123_seek_frame(mh, static_cast<off_t>(target), SEEK_SET) >= 0;
}

Mp3Decoder::Status Mp3Decoder::decodeFrame()
{
    pcm_ = {};
    if (atEnd_)
        return Status::End;
    mpg123_handle *mh = mh_.get();
    for (;;) {
        off_t num = 0;
        unsigned char *audio = nullptr;
        std::size_t bytes = 0;
        const int r = mpg123_decode_frame(mh, &num, &audio, &bytes);
        if (r == MPG123_OK) {
            framesDecoded_ = static_cast<std::int64_t>(num) + 1;
            if (audio && bytes)
                pcm_ = { audio, bytes - bytes % format_.sampleBytes() };
            return Status::Frame;
        }
        if (r == MPG123_NEW_FORMAT) {
            // With the format pinned this only confirms it; should libmpg123 ever be unable
            // to convert, the track ends rather than playing at the wrong speed.
            long rate = 0;
            int channels = 0;
            int encoding = 0;
            mpg123_getformat(mh, &rate, &channels, &encoding);
            if (Format { rate, channels } != format_ || encoding != MPG123_ENC_SIGNED_16)
                return Status::Error;
            continue;
        }
        if (r == MPG123_DONE) {
            atEnd_ = true;
            return Status::End;
        }
        return Status::Error;
    }
}

} // namespace tarvelo::services
