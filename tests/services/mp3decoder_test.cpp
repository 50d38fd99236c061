#include "services/mp3decoder.h"

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

using tarvelo::services::Mp3Decoder;
using Status = Mp3Decoder::Status;

namespace {

struct File
{
    explicit File(const char *name)
        : fd(::open((std::string(TARVELO_FIXTURE_DIR "/") + name).c_str(), O_RDONLY | O_CLOEXEC))
    {
    }
    ~File()
    {
        if (fd >= 0)
            ::close(fd);
    }
    int fd;
};

using Pcm = std::vector<unsigned char>;

// Every frame's samples, by absolute frame number, decoding from the start.
std::map<std::int64_t, Pcm> decodeAll(const char *name, std::int64_t *total = nullptr)
{
    File f(name);
    Mp3Decoder d(f.fd);
    std::map<std::int64_t, Pcm> frames;
    if (!d.open())
        return frames;
    while (d.decodeFrame() == Status::Frame)
        frames[d.framesDecoded() - 1].assign(d.pcm().begin(), d.pcm().end());
    if (total)
        *total = d.totalFrames();
    return frames;
}

int maxSampleDifference(const Pcm &a, const Pcm &b)
{
    int most = 0;
    for (std::size_t i = 0; i + 1 < a.size(); i += 2) {
        std::int16_t x = 0;
        std::int16_t y = 0;
        std::memcpy(&x, &a[i], 2);
        std::memcpy(&y, &b[i], 2);
        most = std::max(most, std::abs(int(x) - int(y)));
    }
    return most;
}

} // namespace

// What is heard after a start at N % must be frame trunc(total * N / 100) itself, sample
// for sample as a decode from the beginning gives it, on CBR and VBR files alike.
TEST(Mp3Decoder, StartLandsExactlyOnTheFrame)
{
    for (const char *name : {"cbr.mp3", "vbr.mp3", "cbr-noinfo.mp3", "id3v2-big.mp3", "mono.mp3",
                             "22k.mp3", "mpeg25.mp3"}) {
        SCOPED_TRACE(name);
        std::int64_t total = 0;
        const auto reference = decodeAll(name, &total);
        ASSERT_FALSE(reference.empty());
        // Decoding from the start meets every counted frame.
        EXPECT_NEAR(static_cast<double>(reference.rbegin()->first + 1), static_cast<double>(total),
                    1.0);
        for (int start : {10, 37, 50, 90, 99}) {
            SCOPED_TRACE(start);
            File f(name);
            Mp3Decoder d(f.fd);
            ASSERT_TRUE(d.open());
            ASSERT_TRUE(d.seek(start));
            const std::int64_t target = total * start / 100;
            EXPECT_EQ(d.framesDecoded(), target);
            for (std::int64_t i = 0; i < std::min<std::int64_t>(3, total - target); ++i) {
                ASSERT_EQ(d.decodeFrame(), Status::Frame);
                const std::int64_t frame = d.framesDecoded() - 1;
                EXPECT_EQ(frame, target + i);
                const auto ref = reference.find(frame);
                ASSERT_NE(ref, reference.end());
                // The same samples, but for the last bit: the synthesis filter's rounding
                // state after a seek differs from a run from the start for a frame or two.
                const Pcm got(d.pcm().begin(), d.pcm().end());
                ASSERT_EQ(got.size(), ref->second.size()) << "frame " << frame;
                EXPECT_LE(maxSampleDifference(got, ref->second), 2) << "frame " << frame;
            }
        }
    }
}

TEST(Mp3Decoder, StartAtTheEndDecodesNothing)
{
    File f("cbr.mp3");
    Mp3Decoder d(f.fd);
    ASSERT_TRUE(d.open());
    ASSERT_TRUE(d.seek(100));
    EXPECT_EQ(d.decodeFrame(), Status::End);
}

TEST(Mp3Decoder, PinsTheFirstFormatWhenTheFileChangesIt)
{
    // 1 s at 22.05 kHz mono, then 1 s at 44.1 kHz stereo and 1 s at 48 kHz stereo: all of it
    // comes out at 22.05 kHz mono, about 3 s of it.
    File f("format-change.mp3");
    Mp3Decoder d(f.fd);
    ASSERT_TRUE(d.open());
    EXPECT_EQ(d.format(), (Mp3Decoder::Format {22050, 1}));
    std::size_t bytes = 0;
    Status s;
    while ((s = d.decodeFrame()) == Status::Frame)
        bytes += d.pcm().size();
    EXPECT_EQ(s, Status::End);
    EXPECT_NEAR(static_cast<double>(bytes) / (22050.0 * 2), 3.0, 0.2);  // each part has its padding
}

TEST(Mp3Decoder, RejectsFilesWithoutAudio)
{
    for (const char *name : {"empty.mp3", "text.mp3", "png.mp3"}) {
        File f(name);
        Mp3Decoder d(f.fd);
        EXPECT_FALSE(d.open()) << name;
    }
    // Noise may hold a few chance frames; it must end either way, and soon.
    File f("random.mp3");
    Mp3Decoder d(f.fd);
    if (d.open()) {
        int frames = 0;
        while (d.decodeFrame() == Status::Frame)
            ASSERT_LT(++frames, 100000);
    }
}

TEST(Mp3Decoder, TruncatedFileEndsAfterWhatDecodes)
{
    File f("truncated.mp3");
    Mp3Decoder d(f.fd);
    ASSERT_TRUE(d.open());
    Status s;
    while ((s = d.decodeFrame()) == Status::Frame) {
    }
    EXPECT_NE(s, Status::Frame);
    // About half of the counted frames were there.
    EXPECT_NEAR(static_cast<double>(d.framesDecoded()) / static_cast<double>(d.totalFrames()),
                0.5, 0.05);
}
