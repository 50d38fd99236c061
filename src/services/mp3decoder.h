#pragma once

// The decoding half of a player: libmpg123 on an open file, the track's frame count, the
// seek to a start percentage and one decoded frame at a time, always in the one output
// format the stream was opened with.

#include "services/mp3layout.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

struct mpg123_handle_struct;

namespace tarvelo::services {

class Mp3Decoder
{
public:
    struct Format
    {
        long rate = 0;
        int channels = 0;
        // Bytes of one PCM frame (one sample of every channel) and of one MPEG frame.
        std::size_t sampleBytes() const { return static_cast<std::size_t>(channels) * 2; }
        bool operator==(const Format &) const = default;
    };

    enum class Status {
        Frame,  // `pcm` holds the next frame's samples (possibly none)
        End,    // the track has been decoded to its end
        Error,  // the decoder gave up: the file ended badly or holds no more audio
    };

    // Decodes the file behind `fd`, which stays the caller's and must outlive the decoder.
    explicit Mp3Decoder(int fd);
    ~Mp3Decoder();
    Mp3Decoder(const Mp3Decoder &) = delete;
    Mp3Decoder &operator=(const Mp3Decoder &) = delete;

    // Finds the first frame and the output format. False when the file holds no decodable
    // MPEG audio (empty, text, a picture, noise) or libmpg123 failed.
    bool open();

    // Positions the decoder on frame startFrame(totalFrames, start). With start 100 (or a
    // frame past the end) the next decodeFrame() gives End. `cancel` aborts the scan of a
    // long file. False when the seek failed.
    bool seek(int start, const std::atomic<bool> *cancel = nullptr);

    Status decodeFrame();

    // The samples of the last Frame, in format(); valid until the next call.
    std::span<const unsigned char> pcm() const { return pcm_; }
    // Absolute number of frames decoded so far, counted from the start of the track.
    std::int64_t framesDecoded() const { return framesDecoded_; }

    Format format() const { return format_; }
    std::int64_t totalFrames() const { return totalFrames_; }
    const std::optional<mp3::Layout> &layout() const { return layout_; }
    // The output bytes of one MPEG frame of the first frame's kind.
    std::size_t frameBytes() const;

private:
    struct HandleDelete
    {
        void operator()(mpg123_handle_struct *h) const;
    };

    mp3::ReadAt reader() const;

    int fd_;
    std::unique_ptr<mpg123_handle_struct, HandleDelete> mh_;
    std::optional<mp3::Layout> layout_;
    Format format_;
    std::int64_t totalFrames_ = 0;
    std::int64_t framesDecoded_ = 0;
    bool atEnd_ = false;
    std::span<const unsigned char> pcm_;
};

} // namespace tarvelo::services
