#include "services/mp3layout.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace tarvelo::services::mp3 {

namespace {

// Kilobits per second by [MPEG-1 ? 0 : 1][layer - 1][bit-rate index].
constexpr int kBitrates[2][3][16] = {
    { { 0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0 },
      { 0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0 },
      { 0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0 } },
    { { 0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0 },
      { 0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0 },
      { 0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0 } },
};
constexpr int kSampleRates[3] = { 44100, 48000, 32000 };

// The largest frame is a layer II/III MPEG-1 frame at 384 kbit/s and 32 kHz (1729 bytes)
// or a layer I one at 448 kbit/s and 32 kHz (1680 bytes); 2881 covers free-format too.
constexpr std::size_t kMaxFrameSize = 2881;

// How far past the ID3v2 tags the first frame is looked for.
constexpr std::uint64_t kFirstFrameSearch = 64 * 1024;

// The frame index holds at most this many entries, so that memory stays small on a long
// file; seeking then reads at most `step` frames forward from the entry before the target.
constexpr std::int64_t kMaxIndexEntries = 4096;

std::uint32_t be32(const unsigned char *p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8)
           | std::uint32_t(p[3]);
}

// Reads through a window of the file, so that walking thousands of frame headers costs a
// few large reads instead of one read per header.
class Window
{
public:
    Window(const ReadAt &read, std::uint64_t end, std::size_t size) : read_(read), end_(end)
    {
        buf_.resize(size);
    }

    // The bytes at [offset, offset + len), or null when the file ends before that.
    const unsigned char *at(std::uint64_t offset, std::size_t len)
    {
        if (offset + len > end_)
            return nullptr;
        if (offset < start_ || offset + len > start_ + fill_) {
            start_ = offset;
            fill_ = read_(offset, buf_.data(), std::min<std::uint64_t>(buf_.size(), end_ - offset));
        }
        return offset + len <= start_ + fill_ ? buf_.data() + (offset - start_) : nullptr;
    }

private:
    const ReadAt &read_;
    std::uint64_t end_;
    std::vector<unsigned char> buf_;
    std::uint64_t start_ = 0;
    std::size_t fill_ = 0;
};

// A header at `offset` that the following frame confirms: its header parses and belongs to
// the same stream, or the audio ends where this frame does. One lucky 0xFFE sync in a tag's
// or a picture's bytes does not pass this.
std::optional<FrameHeader> confirmedHeader(Window &w, std::uint64_t offset, std::uint64_t end)
{
    const unsigned char *p = w.at(offset, 4);
    if (!p)
        return std::nullopt;
    const auto h = parseHeader(p);
    if (!h)
        return std::nullopt;
    const std::uint64_t next = offset + static_cast<std::uint64_t>(h->size);
    if (next + 4 > end)
        return next <= end ? h : std::nullopt;
    const unsigned char *q = w.at(next, 4);
    if (!q)
        return std::nullopt;
    const auto n = parseHeader(q);
    if (!n || !sameStream(*h, *n))
        return std::nullopt;
    return h;
}

std::optional<std::uint64_t> findFrame(Window &w, std::uint64_t from, std::uint64_t limit,
                                       std::uint64_t end)
{
    const std::uint64_t stop = std::min(end, from + limit);
    for (std::uint64_t off = from; off + 4 <= stop; ++off) {
        const unsigned char *p = w.at(off, 2);
        if (!p)
            return std::nullopt;
        if (p[0] == 0xFF && (p[1] & 0xE0) == 0xE0 && confirmedHeader(w, off, end))
            return off;
    }
    return std::nullopt;
}

// ID3v2 tags at the start: "ID3", version, revision, flags, a 28-bit syncsafe size, and a
// 10-byte footer when flag bit 4 is set. Several may follow one another.
std::uint64_t skipId3v2(const ReadAt &read, std::uint64_t fileSize)
{
    std::uint64_t pos = 0;
    for (int tags = 0; tags < 16 && pos + 10 <= fileSize; ++tags) {
        unsigned char h[10];
        if (read(pos, h, sizeof h) != sizeof h)
            break;
        if (std::memcmp(h, "ID3", 3) != 0 || h[3] == 0xFF || h[4] == 0xFF
            || ((h[6] | h[7] | h[8] | h[9]) & 0x80))
            break;
        const std::uint64_t size = (std::uint64_t(h[6]) << 21) | (std::uint64_t(h[7]) << 14)
                                   | (std::uint64_t(h[8]) << 7) | std::uint64_t(h[9]);
        pos += 10 + size + ((h[5] & 0x10) ? 10 : 0);
    }
    return std::min(pos, fileSize);
}

// A Xing/Info header sits after the side information; a VBRI header 32 bytes after the
// frame header. Both give the number of frames.
void readVbrHeader(const unsigned char *frame, std::size_t len, Layout &layout)
{
    const FrameHeader &h = layout.first;
    const bool lsf = h.version != 10;
    const std::size_t side = h.channels == 2 ? (lsf ? 17 : 32) : (lsf ? 9 : 17);
    const std::size_t xing = 4 + (h.crc ? 2 : 0) + side;
    if (h.layer == 3 && xing + 8 <= len
        && (std::memcmp(frame + xing, "Xing", 4) == 0 || std::memcmp(frame + xing, "Info", 4) == 0)) {
        // libmpg123 takes any Xing/Info frame as a header, not as audio, and so do we.
        layout.firstIsInfo = true;
        const std::uint32_t flags = be32(frame + xing + 4);
        if ((flags & 1) && xing + 12 <= len) {
            const std::uint32_t frames = be32(frame + xing + 8);
            if (frames > 0)
                layout.vbrFrames = frames;
        }
        return;
    }
    // A VBRI frame is decoded as an ordinary (silent) frame by libmpg123, so it stays
    // audio frame 0; only its count is taken.
    const std::size_t vbri = 4 + 32;
    if (vbri + 18 <= len && std::memcmp(frame + vbri, "VBRI", 4) == 0) {
        const std::uint32_t frames = be32(frame + vbri + 14);
        if (frames > 0)
            layout.vbrFrames = frames;
    }
}

} // namespace

std::optional<FrameHeader> parseHeader(const unsigned char *p)
{
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0)
        return std::nullopt;
    const int versionBits = (p[1] >> 3) & 3;
    const int layerBits = (p[1] >> 1) & 3;
    const int bitrateIndex = p[2] >> 4;
    const int rateIndex = (p[2] >> 2) & 3;
    if (versionBits == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15
        || rateIndex == 3)
        return std::nullopt;

    FrameHeader h;
    h.version = versionBits == 3 ? 10 : versionBits == 2 ? 20 : 25;
    h.layer = 4 - layerBits;
    h.crc = !(p[1] & 1);
    h.channels = (p[3] >> 6) == 3 ? 1 : 2;
    const bool lsf = h.version != 10;
    h.bitrate = kBitrates[lsf ? 1 : 0][h.layer - 1][bitrateIndex] * 1000;
    h.sampleRate = kSampleRates[rateIndex] / (h.version == 10 ? 1 : h.version == 20 ? 2 : 4);
    const int padding = (p[2] >> 1) & 1;
    switch (h.layer) {
    case 1:
        h.size = (12 * h.bitrate / h.sampleRate + padding) * 4;
        h.samples = 384;
        break;
    case 2:
        h.size = 144 * h.bitrate / h.sampleRate + padding;
        h.samples = 1152;
        break;
    default:
        h.size = (lsf ? 72 : 144) * h.bitrate / h.sampleRate + padding;
        h.samples = lsf ? 576 : 1152;
        break;
    }
    return h;
}

bool sameStream(const FrameHeader &a, const FrameHeader &b)
{
    return a.version == b.version && a.layer == b.layer && a.sampleRate == b.sampleRate;
}

std::optional<Layout> analyze(std::uint64_t fileSize, const ReadAt &read)
{
    Layout layout;
    layout.fileSize = fileSize;
    layout.audioEnd = fileSize;
    const std::uint64_t tagsEnd = skipId3v2(read, fileSize);
    if (fileSize >= tagsEnd + 128) {
        unsigned char tag[3];
        if (read(fileSize - 128, tag, 3) == 3 && std::memcmp(tag, "TAG", 3) == 0)
            layout.audioEnd = fileSize - 128;
    }

    Window window(read, layout.audioEnd, 64 * 1024);
    const auto first = findFrame(window, tagsEnd, kFirstFrameSearch, layout.audioEnd);
    if (!first)
        return std::nullopt;
    layout.audioStart = *first;
    layout.first = *parseHeader(window.at(*first, 4));

    std::array<unsigned char, kMaxFrameSize> frame {};
    const std::size_t len = read(layout.audioStart, frame.data(),
                                 std::min<std::uint64_t>(static_cast<std::uint64_t>(layout.first.size),
                                                         layout.audioEnd - layout.audioStart));
    readVbrHeader(frame.data(), len, layout);

    if (layout.vbrFrames) {
        layout.totalFrames = *layout.vbrFrames;
    } else {
        // The audio's bytes, less what a trailing TAG block took, over the first frame's size.
        // The count starts at the first frame, not at the start of the file: an ID3v2 tag of
        // several MiB is no part of the track.
        layout.totalFrames = static_cast<std::int64_t>((layout.audioEnd - layout.audioStart)
                                                       / static_cast<std::uint64_t>(layout.first.size));
    }
    layout.totalFrames = std::max<std::int64_t>(layout.totalFrames, 1);
    return layout;
}

FrameIndex buildFrameIndex(const Layout &layout, const ReadAt &read, std::int64_t upTo,
                           const std::function<bool()> &cancelled)
{
    FrameIndex index;
    if (upTo < 0)
        return index;
    index.step = std::max<std::int64_t>(1, (upTo + kMaxIndexEntries) / kMaxIndexEntries);
    index.offsets.reserve(static_cast<std::size_t>(upTo / index.step + 1));

    Window window(read, layout.audioEnd, 256 * 1024);
    std::uint64_t pos = layout.firstAudioFrame();
    for (std::int64_t frame = 0; frame <= upTo; ++frame) {
        if ((frame & 4095) == 4095 && cancelled && cancelled())
            break;
        const unsigned char *p = window.at(pos, 4);
        if (!p)
            break;
        auto h = parseHeader(p);
        if (!h) {
            // Garbage between frames: resynchronise on the next confirmed header, as the
            // decoder does.
            const auto next = findFrame(window, pos + 1, kFirstFrameSearch, layout.audioEnd);
            if (!next)
                break;
            pos = *next;
            h = parseHeader(window.at(pos, 4));
        }
        if (frame % index.step == 0)
            index.offsets.push_back(static_cast<std::int64_t>(pos));
        pos += static_cast<std::uint64_t>(h->size);
    }
    return index;
}

int clampStart(int start)
{
    return std::clamp(start, 0, 100);
}

std::int64_t startFrame(std::int64_t totalFrames, int start)
{
    return static_cast<std::int64_t>(static_cast<double>(totalFrames) * clampStart(start) / 100.0);
}

std::size_t outputBufferBytes(std::size_t frameBytes)
{
    constexpr std::size_t kBuffer = 512 * 1024;
    if (frameBytes == 0)
        return kBuffer;
    return std::max<std::size_t>(1, kBuffer / frameBytes) * frameBytes;
}

ProgressTracker::ProgressTracker(std::int64_t totalFrames, int start)
    : totalFrames_(totalFrames), first_(std::min(clampStart(start), 99))
{
}

std::optional<int> ProgressTracker::frameDecoded(std::int64_t framesDecoded)
{
    int p = first_;
    if (last_ >= 0) {
        const double exact = totalFrames_ > 0
                                 ? static_cast<double>(framesDecoded) * 100.0
                                       / static_cast<double>(totalFrames_)
                                 : 99.0;
        p = static_cast<int>(std::clamp(exact, 0.0, 99.0));
    }
    if (p == last_)
        return std::nullopt;
    last_ = p;
    return p;
}

} // namespace tarvelo::services::mp3
