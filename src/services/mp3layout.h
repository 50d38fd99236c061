#pragma once

// What the player needs to know about an MP3 file before it decodes it: where the audio
// begins and ends, how many frames the track has, and where each frame lies, so that a
// start percentage lands on the right frame. Pure functions over the file's bytes.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace tarvelo::services::mp3 {

// One MPEG audio frame header (layers I to III, MPEG-1, 2 and 2.5).
struct FrameHeader
{
    int version = 0;     // 10 = MPEG-1, 20 = MPEG-2, 25 = MPEG-2.5
    int layer = 0;       // 1..3
    int bitrate = 0;     // bits per second
    int sampleRate = 0;  // Hz
    int channels = 0;    // 1 or 2
    bool crc = false;    // a 16-bit CRC follows the header
    int size = 0;        // the whole frame in bytes, header included
    int samples = 0;     // PCM samples per channel in the frame
};

// Parses the four bytes at `p`. Free-format frames (bit-rate index 0) are not accepted:
// their size cannot be known from the header alone.
std::optional<FrameHeader> parseHeader(const unsigned char *p);

// Two headers belong to one stream when version, layer and sample rate agree.
bool sameStream(const FrameHeader &a, const FrameHeader &b);

// Reads up to `len` bytes at `offset` into `buf`; returns how many it read (fewer at the end
// of the file, 0 on an error).
using ReadAt = std::function<std::size_t(std::uint64_t offset, unsigned char *buf, std::size_t len)>;

struct Layout
{
    std::uint64_t fileSize = 0;
    std::uint64_t audioStart = 0;  // the first frame header, after any ID3v2 tags
    std::uint64_t audioEnd = 0;    // the file's end, less a trailing 128-byte "TAG" block
    FrameHeader first;             // the first frame (a Xing/Info/VBRI frame when there is one)
    bool firstIsInfo = false;      // the first frame carries a VBR header, not audio
    std::optional<std::int64_t> vbrFrames;  // the VBR header's frame count
    // Audio frames in the track: the VBR header's count when there is one, otherwise the
    // bytes from the first frame to audioEnd divided by the first frame's size.
    std::int64_t totalFrames = 0;

    // Offset of audio frame 0, the first one that holds sound.
    std::uint64_t firstAudioFrame() const { return audioStart + (firstIsInfo ? first.size : 0); }
};

// Finds the layout of a file of `fileSize` bytes. Nullopt when no MPEG audio frame is found
// (an empty file, text, a picture, noise).
std::optional<Layout> analyze(std::uint64_t fileSize, const ReadAt &read);

// Byte offsets of audio frames 0, step, 2*step, ... up to frame `upTo`, found by walking the
// frame headers from the first audio frame. The walk stops early where the frames stop
// (a truncated file, garbage) or when `cancelled` returns true.
struct FrameIndex
{
    std::int64_t step = 1;
    std::vector<std::int64_t> offsets;
};
FrameIndex buildFrameIndex(const Layout &layout, const ReadAt &read, std::int64_t upTo,
                           const std::function<bool()> &cancelled = {});

// The start percentage the player uses: clamped to 0..100.
int clampStart(int start);

// The frame a start percentage lands on: trunc(totalFrames * start / 100), start clamped.
std::int64_t startFrame(std::int64_t totalFrames, int start);

// The output buffer: 512 KiB of decoded audio in whole frames of `frameBytes` each (about
// 3 s at 44.1 kHz stereo). Never less than one frame.
std::size_t outputBufferBytes(std::size_t frameBytes);

// The progress values of one player. Fed the absolute number of frames decoded after each
// frame, it gives the value to send, if any: clamped to 0..99, only when it changes. The
// first value is the start percentage itself, so that a start at 40 % sends 40 first even
// on a track too short for every percent to have a frame of its own.
class ProgressTracker
{
public:
    ProgressTracker(std::int64_t totalFrames, int start);
    std::optional<int> frameDecoded(std::int64_t framesDecoded);

private:
    std::int64_t totalFrames_;
    int first_;
    int last_ = -1;
};

} // namespace tarvelo::services::mp3
