#include "services/mp3layout.h"

#include <mpg123.h>

#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tarvelo::services::mp3;

namespace {

using Bytes = std::vector<unsigned char>;

ReadAt readerOf(const Bytes &b)
{
    return [&b](std::uint64_t offset, unsigned char *buf, std::size_t len) -> std::size_t {
        if (offset >= b.size())
            return 0;
        const std::size_t n = std::min<std::size_t>(len, b.size() - offset);
        std::memcpy(buf, b.data() + offset, n);
        return n;
    };
}

std::optional<Layout> analyzeBytes(const Bytes &b)
{
    return analyze(b.size(), readerOf(b));
}

// Headers used below: byte 1..3 after 0xFF.
struct Kind
{
    unsigned char b1, b2, b3;
    int size;
};
constexpr Kind kCbr128 {0xFB, 0x90, 0x00, 417};      // MPEG-1 L3 128k 44.1 kHz stereo
constexpr Kind kCbr32 {0xFB, 0x10, 0x00, 104};       // MPEG-1 L3 32k 44.1 kHz stereo
constexpr Kind kMono128 {0xFB, 0x90, 0xC0, 417};     // MPEG-1 L3 128k 44.1 kHz mono
constexpr Kind kLsfStereo {0xF3, 0x80, 0x00, 208};   // MPEG-2 L3 64k 22.05 kHz stereo
constexpr Kind kLsfMono {0xF3, 0x80, 0xC0, 208};     // MPEG-2 L3 64k 22.05 kHz mono
constexpr Kind kBig {0xFB, 0xD0, 0x00, 835};         // MPEG-1 L3 256k 44.1 kHz stereo

void appendFrame(Bytes &b, const Kind &k)
{
    const std::size_t at = b.size();
    b.resize(at + static_cast<std::size_t>(k.size), 0);
    b[at] = 0xFF;
    b[at + 1] = k.b1;
    b[at + 2] = k.b2;
    b[at + 3] = k.b3;
}

void appendFrames(Bytes &b, const Kind &k, int n)
{
    for (int i = 0; i < n; ++i)
        appendFrame(b, k);
}

void put32(Bytes &b, std::size_t at, std::uint32_t v)
{
    b[at] = static_cast<unsigned char>(v >> 24);
    b[at + 1] = static_cast<unsigned char>(v >> 16);
    b[at + 2] = static_cast<unsigned char>(v >> 8);
    b[at + 3] = static_cast<unsigned char>(v);
}

// A Xing/Info frame of kind `k` with its tag at `offset` into the frame.
void appendVbrFrame(Bytes &b, const Kind &k, std::size_t offset, const char *tag,
                    std::uint32_t flags, std::uint32_t frames)
{
    const std::size_t at = b.size();
    appendFrame(b, k);
    std::memcpy(&b[at + offset], tag, 4);
    put32(b, at + offset + 4, flags);
    put32(b, at + offset + 8, frames);
}

void appendId3v2(Bytes &b, std::uint32_t bodySize, bool footer)
{
    const unsigned char h[10] = {
        'I', 'D', '3', 4, 0, static_cast<unsigned char>(footer ? 0x10 : 0),
        static_cast<unsigned char>((bodySize >> 21) & 0x7F),
        static_cast<unsigned char>((bodySize >> 14) & 0x7F),
        static_cast<unsigned char>((bodySize >> 7) & 0x7F),
        static_cast<unsigned char>(bodySize & 0x7F) };
    b.insert(b.end(), h, h + 10);
    // A body full of false frame syncs: only the tag's size may be trusted.
    for (std::uint32_t i = 0; i < bodySize; ++i)
        b.push_back(i % 2 ? 0xFB : 0xFF);
    if (footer)
        b.insert(b.end(), {'3', 'D', 'I', 4, 0, 0x10, h[6], h[7], h[8], h[9]});
}

void appendTag(Bytes &b)
{
    const std::size_t at = b.size();
    b.resize(at + 128, ' ');
    std::memcpy(&b[at], "TAG", 3);
}

} // namespace

TEST(Mp3Header, ParsesEveryVersionAndLayer)
{
    struct Row
    {
        unsigned char h[4];
        int version, layer, bitrate, rate, channels, size, samples;
    };
    const Row rows[] = {
        {{0xFF, 0xFB, 0x90, 0x00}, 10, 3, 128000, 44100, 2, 417, 1152},
        {{0xFF, 0xFB, 0x92, 0x00}, 10, 3, 128000, 44100, 2, 418, 1152},  // padded
        {{0xFF, 0xFB, 0x94, 0xC0}, 10, 3, 128000, 48000, 1, 384, 1152},
        {{0xFF, 0xF3, 0x80, 0xC0}, 20, 3, 64000, 22050, 1, 208, 576},
        {{0xFF, 0xE3, 0x40, 0x00}, 25, 3, 32000, 11025, 2, 208, 576},
        {{0xFF, 0xE3, 0x18, 0x00}, 25, 3, 8000, 8000, 2, 72, 576},
        {{0xFF, 0xFD, 0xA4, 0x00}, 10, 2, 192000, 48000, 2, 576, 1152},
        {{0xFF, 0xFF, 0x10, 0x00}, 10, 1, 32000, 44100, 2, 32, 384},
    };
    for (const Row &r : rows) {
        const auto h = parseHeader(r.h);
        ASSERT_TRUE(h) << int(r.h[1]) << " " << int(r.h[2]);
        EXPECT_EQ(h->version, r.version);
        EXPECT_EQ(h->layer, r.layer);
        EXPECT_EQ(h->bitrate, r.bitrate);
        EXPECT_EQ(h->sampleRate, r.rate);
        EXPECT_EQ(h->channels, r.channels);
        EXPECT_EQ(h->size, r.size);
        EXPECT_EQ(h->samples, r.samples);
    }
}

TEST(Mp3Header, RejectsWhatIsNoFrame)
{
    const unsigned char bad[][4] = {
        {0xFE, 0xFB, 0x90, 0x00},  // no sync
        {0xFF, 0xEB, 0x90, 0x00},  // reserved version
        {0xFF, 0xF9, 0x90, 0x00},  // reserved layer
        {0xFF, 0xFB, 0xF0, 0x00},  // bad bit rate
        {0xFF, 0xFB, 0x00, 0x00},  // free format
        {0xFF, 0xFB, 0x9C, 0x00},  // reserved sample rate
    };
    for (const auto &h : bad)
        EXPECT_FALSE(parseHeader(h)) << int(h[1]) << " " << int(h[2]);
}

TEST(Mp3Layout, CountsFrames)
{
    struct Row
    {
        const char *name;
        Bytes bytes;
        std::uint64_t audioStart;
        bool info;
        std::int64_t total;
    };
    std::vector<Row> rows;
    {
        Row r {"plain CBR", {}, 0, false, 30};
        appendFrames(r.bytes, kCbr128, 30);
        rows.push_back(std::move(r));
    }
    {
        // The tag's bytes are no frames: counted from the first frame, a 3000-byte tag
        // would add 7 frames.
        Row r {"ID3v2 with footer", {}, 3020, false, 30};
        appendId3v2(r.bytes, 3000, true);
        appendFrames(r.bytes, kCbr128, 30);
        rows.push_back(std::move(r));
    }
    {
        Row r {"two ID3v2 tags", {}, 20 + 100 + 50, false, 5};
        appendId3v2(r.bytes, 100, false);
        appendId3v2(r.bytes, 50, false);
        appendFrames(r.bytes, kCbr128, 5);
        rows.push_back(std::move(r));
    }
    {
        // Small frames: the 128-byte block would count as one more frame.
        Row r {"trailing TAG", {}, 0, false, 10};
        appendFrames(r.bytes, kCbr32, 10);
        appendTag(r.bytes);
        rows.push_back(std::move(r));
    }
    {
        Row r {"TAG text that is no trailing block", {}, 0, false, 11};
        appendFrames(r.bytes, kCbr32, 10);
        appendTag(r.bytes);
        r.bytes.push_back(0);  // the block no longer ends the file
        rows.push_back(std::move(r));
    }
    {
        // VBR: the header's count wins over any arithmetic on the length.
        Row r {"Xing, MPEG-1 stereo", {}, 0, true, 1234};
        appendVbrFrame(r.bytes, kCbr128, 36, "Xing", 0x0F, 1234);
        appendFrames(r.bytes, kBig, 5);
        appendFrames(r.bytes, kCbr32, 5);
        rows.push_back(std::move(r));
    }
    {
        Row r {"Info, MPEG-1 mono", {}, 0, true, 77};
        appendVbrFrame(r.bytes, kMono128, 21, "Info", 0x01, 77);
        appendFrames(r.bytes, kMono128, 3);
        rows.push_back(std::move(r));
    }
    {
        Row r {"Xing, MPEG-2 stereo", {}, 0, true, 500};
        appendVbrFrame(r.bytes, kLsfStereo, 21, "Xing", 0x03, 500);
        appendFrames(r.bytes, kLsfStereo, 3);
        rows.push_back(std::move(r));
    }
    {
        Row r {"Xing, MPEG-2 mono", {}, 0, true, 321};
        appendVbrFrame(r.bytes, kLsfMono, 13, "Xing", 0x01, 321);
        appendFrames(r.bytes, kLsfMono, 3);
        rows.push_back(std::move(r));
    }
    {
        // No frame count in the header: the length rule, with the Info frame as first frame.
        Row r {"Xing without a count", {}, 0, true, 8};
        appendVbrFrame(r.bytes, kCbr128, 36, "Xing", 0x06, 999);
        appendFrames(r.bytes, kCbr128, 7);
        rows.push_back(std::move(r));
    }
    {
        Row r {"VBRI", {}, 0, false, 4321};
        appendFrame(r.bytes, kCbr128);
        std::memcpy(&r.bytes[36], "VBRI", 4);
        put32(r.bytes, 36 + 14, 4321);
        appendFrames(r.bytes, kCbr128, 3);
        rows.push_back(std::move(r));
    }
    {
        // Junk, with a lone sync that no second frame confirms, before the audio.
        Row r {"junk before the first frame", {}, 600, false, 4};
        r.bytes.assign(600, 0x20);
        r.bytes[100] = 0xFF;
        r.bytes[101] = 0xFB;
        r.bytes[102] = 0x90;
        appendFrames(r.bytes, kCbr128, 4);
        rows.push_back(std::move(r));
    }
    {
        Row r {"a single frame", {}, 0, false, 1};
        appendFrame(r.bytes, kCbr128);
        rows.push_back(std::move(r));
    }

    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        const auto layout = analyzeBytes(r.bytes);
        ASSERT_TRUE(layout);
        EXPECT_EQ(layout->audioStart, r.audioStart);
        EXPECT_EQ(layout->firstIsInfo, r.info);
        EXPECT_EQ(layout->totalFrames, r.total);
    }
}

TEST(Mp3Layout, FindsNoAudioInWhatHoldsNone)
{
    std::vector<std::pair<const char *, Bytes>> rows;
    rows.emplace_back("empty", Bytes {});
    rows.emplace_back("text", Bytes(2000, 'a'));
    Bytes lone(1000, 0);
    lone[0] = 0xFF;
    lone[1] = 0xFB;
    lone[2] = 0x90;
    rows.emplace_back("one unconfirmed sync", lone);
    Bytes tagOnly;
    appendId3v2(tagOnly, 5000, false);
    rows.emplace_back("a tag and nothing else", tagOnly);
    Bytes cut;
    appendFrame(cut, kCbr128);
    cut.resize(200);
    rows.emplace_back("half a frame", cut);
    for (const auto &[name, bytes] : rows)
        EXPECT_FALSE(analyzeBytes(bytes)) << name;
}

TEST(Mp3Layout, IndexesFramesAcrossGarbage)
{
    Bytes b;
    appendVbrFrame(b, kCbr128, 36, "Info", 0x01, 20);
    appendFrames(b, kCbr128, 10);
    appendFrames(b, kBig, 5);
    b.insert(b.end(), 37, 0x55);  // garbage between frames 14 and 15
    appendFrames(b, kCbr32, 5);
    const auto layout = analyzeBytes(b);
    ASSERT_TRUE(layout);

    const FrameIndex index = buildFrameIndex(*layout, readerOf(b), 19);
    EXPECT_EQ(index.step, 1);
    ASSERT_EQ(index.offsets.size(), 20u);
    EXPECT_EQ(index.offsets[0], 417);  // after the Info frame
    EXPECT_EQ(index.offsets[10], 417 + 10 * 417);
    EXPECT_EQ(index.offsets[15], 417 + 10 * 417 + 5 * 835 + 37);
    EXPECT_EQ(index.offsets[19], 417 + 10 * 417 + 5 * 835 + 37 + 4 * 104);

    // A truncated walk stops where the frames stop.
    EXPECT_EQ(buildFrameIndex(*layout, readerOf(b), 1000).offsets.size(), 20u);
    // Cancelled, it ends early.
    EXPECT_LE(buildFrameIndex(*layout, readerOf(b), 19, [] { return true; }).offsets.size(), 20u);
}

TEST(Mp3Layout, StartFrameTruncatesAndClamps)
{
    struct Row
    {
        std::int64_t total;
        int start;
        std::int64_t frame;
    };
    const Row rows[] = {
        {153, 0, 0},    {153, 50, 76},   {153, 99, 151},  {153, 100, 153},
        {153, -20, 0},  {153, 170, 153}, {137814, 50, 68907}, {3, 50, 1},
        {1, 99, 0},
    };
    for (const Row &r : rows)
        EXPECT_EQ(startFrame(r.total, r.start), r.frame) << r.total << " at " << r.start;
    EXPECT_EQ(clampStart(-1), 0);
    EXPECT_EQ(clampStart(101), 100);
    EXPECT_EQ(clampStart(42), 42);
}

TEST(Mp3Layout, OutputBufferHoldsWholeFramesOfHalfAMebibyte)
{
    // 44.1 kHz stereo: 113 frames of 4608 bytes, 2.95 s.
    EXPECT_EQ(outputBufferBytes(1152 * 4), 113u * 4608u);
    // MPEG-2 mono: 455 frames of 1152 bytes.
    EXPECT_EQ(outputBufferBytes(576 * 2), 455u * 1152u);
    EXPECT_EQ(outputBufferBytes(0), 512u * 1024u);
    EXPECT_EQ(outputBufferBytes(600000), 600000u);  // never less than one frame
}

TEST(ProgressTracker, SendsEachValueOnceFromTheStart)
{
    struct Row
    {
        std::int64_t total;
        int start;
    };
    for (const Row r : {Row {153, 0}, Row {153, 50}, Row {40, 0}, Row {40, 73}, Row {137814, 25}}) {
        SCOPED_TRACE(testing::Message() << r.total << " frames from " << r.start);
        ProgressTracker t(r.total, r.start);
        std::vector<int> sent;
        // Decoding runs past the counted frames, as it may on a file whose count is short.
        for (std::int64_t f = startFrame(r.total, r.start) + 1; f <= r.total + 5; ++f)
            if (const auto v = t.frameDecoded(f))
                sent.push_back(*v);
        ASSERT_FALSE(sent.empty());
        EXPECT_EQ(sent.front(), r.start);
        EXPECT_EQ(sent.back(), 99);
        EXPECT_TRUE(std::is_sorted(sent.begin(), sent.end()));
        EXPECT_EQ(std::adjacent_find(sent.begin(), sent.end()), sent.end());
        if (r.total >= 100) {
            // At least one frame per percent: every value is sent.
            EXPECT_EQ(sent.size(), static_cast<std::size_t>(100 - r.start));
        }
    }
}

TEST(ProgressTracker, ClampsTheFirstValueToNinetyNine)
{
    ProgressTracker t(10, 100);
    EXPECT_EQ(t.frameDecoded(10), 99);
    EXPECT_FALSE(t.frameDecoded(11));
}

// The frame count and the frame offsets must agree with libmpg123's own full scan, or a
// seek through our index would land on the wrong frame.
TEST(Mp3Layout, FixturesAgreeWithLibmpg123)
{
    struct Row
    {
        const char *file;
        bool exactCount;  // from a Xing/Info header; else the length rule, off by padding
    };
    const Row rows[] = {
        {"cbr.mp3", true},        {"vbr.mp3", true},       {"cbr-noinfo.mp3", false},
        {"id3v1.mp3", false},     {"id3v2-big.mp3", true}, {"mono.mp3", true},
        {"48k.mp3", true},        {"22k.mp3", true},       {"mpeg25.mp3", true},
        {"truncated.mp3", true},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.file);
        const std::string path = std::string(TARVELO_FIXTURE_DIR "/") + r.file;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        struct stat st {};
        ASSERT_EQ(::fstat(fd, &st), 0);
        const ReadAt read = [fd](std::uint64_t off, unsigned char *buf, std::size_t len) {
            const ssize_t n = ::pread(fd, buf, len, static_cast<off_t>(off));
            return n > 0 ? static_cast<std::size_t>(n) : 0;
        };
        const auto layout = analyze(static_cast<std::uint64_t>(st.st_size), read);
        ASSERT_TRUE(layout);

        mpg123_handle *mh = mpg123_new(nullptr, nullptr);
        mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
        mpg123_param(mh, MPG123_INDEX_SIZE, -1, 0);  // grow: one entry per frame
        ASSERT_EQ(mpg123_open_fd(mh, fd), MPG123_OK);
        ASSERT_EQ(mpg123_scan(mh), MPG123_OK);
        off_t *offsets = nullptr;
        off_t step = 0;
        std::size_t fill = 0;
        ASSERT_EQ(mpg123_index(mh, &offsets, &step, &fill), MPG123_OK);
        ASSERT_GT(fill, 10u);

        const std::int64_t scanned = static_cast<std::int64_t>(fill) * step;
        if (std::string(r.file) != "truncated.mp3") {
            if (r.exactCount)
                EXPECT_EQ(layout->totalFrames, mpg123_framelength(mh));
            else
                EXPECT_NEAR(static_cast<double>(layout->totalFrames),
                            static_cast<double>(mpg123_framelength(mh)), 1.0);
        }
        const FrameIndex ours = buildFrameIndex(*layout, read, scanned - 1);
        for (std::size_t i = 0; i < fill; ++i) {
            const auto frame = static_cast<std::size_t>(i * static_cast<std::size_t>(step));
            ASSERT_LT(frame / static_cast<std::size_t>(ours.step), ours.offsets.size());
            ASSERT_EQ(ours.offsets[frame / static_cast<std::size_t>(ours.step)], offsets[i])
                << "frame " << frame;
        }
        mpg123_delete(mh);
        ::close(fd);
    }
}
