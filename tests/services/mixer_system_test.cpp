#include "services/system.h"
#include "soundcheck.h"
#include "systemdesktop.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace tarvelo::testing;
using tarvelo::services::Mixer;

namespace {

QString pactl(const QStringList &args)
{
    return runCommand(QStringLiteral("pactl"), args).out;
}

// The default sink's per-channel volume as pactl reports it.
std::vector<int> sinkVolume()
{
    const QString out = pactl({QStringLiteral("get-sink-volume"), QStringLiteral("@DEFAULT_SINK@")});
    static const QRegularExpression channel(QStringLiteral("[\\w-]+: (\\d+) /"));
    std::vector<int> v;
    for (auto it = channel.globalMatch(out); it.hasNext();)
        v.push_back(it.next().captured(1).toInt());
    return v;
}

std::optional<bool> sinkMuted()
{
    const QString out = pactl({QStringLiteral("get-sink-mute"), QStringLiteral("@DEFAULT_SINK@")});
    if (out.contains(QLatin1String("Mute: yes")))
        return true;
    if (out.contains(QLatin1String("Mute: no")))
        return false;
    return std::nullopt;
}

class MixerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        TARVELO_REQUIRE_DESKTOP();
        resetTestSink();
        mixer = tarvelo::services::makeSystemMixer();
    }
    void TearDown() override { resetTestSink(); }

    std::unique_ptr<Mixer> mixer;
};

// A mono null sink made the default for the test's length.
class MonoSink
{
public:
    MonoSink()
    {
        module_ = pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                         QStringLiteral("sink_name=tarvelo_mono"), QStringLiteral("channels=1"),
                         QStringLiteral("channel_map=mono")})
                      .trimmed();
        pactl({QStringLiteral("set-default-sink"), QStringLiteral("tarvelo_mono")});
    }
    ~MonoSink()
    {
        pactl({QStringLiteral("set-default-sink"), QStringLiteral("tarvelo_test")});
        if (!module_.isEmpty())
            pactl({QStringLiteral("unload-module"), module_});
    }
    bool loaded() const { return !module_.isEmpty(); }

private:
    QString module_;
};

} // namespace

TEST_F(MixerTest, StereoDefaultSink)
{
    ASSERT_EQ(mixer->SelectMixerLine(Mixer::kMasterOutputLine), 1);
    EXPECT_EQ(mixer->GetMaxVolume(), 65536);

    EXPECT_EQ(mixer->SetVolume(30000, 40000), 1);
    EXPECT_EQ(sinkVolume(), (std::vector<int> {30000, 40000}));
    int left = 0;
    int right = 0;
    EXPECT_EQ(mixer->GetVolume(left, right), 1);
    EXPECT_EQ(left, 30000);
    EXPECT_EQ(right, 40000);
    // One variable for both: it holds the right channel.
    int both = 0;
    EXPECT_EQ(mixer->GetVolume(both, both), 1);
    EXPECT_EQ(both, 40000);

    // A change made by another program is read back.
    pactl({QStringLiteral("set-sink-volume"), QStringLiteral("@DEFAULT_SINK@"),
           QStringLiteral("12345"), QStringLiteral("23456")});
    EXPECT_EQ(mixer->GetVolume(left, right), 1);
    EXPECT_EQ(left, 12345);
    EXPECT_EQ(right, 23456);

    EXPECT_EQ(mixer->SetMute(1), 1);
    EXPECT_EQ(sinkMuted(), std::optional<bool>(true));
    EXPECT_EQ(mixer->GetMute(), 1);
    EXPECT_EQ(mixer->SetMute(0), 1);
    EXPECT_EQ(sinkMuted(), std::optional<bool>(false));
    EXPECT_EQ(mixer->GetMute(), 0);
}

// The line follows the default sink on every call: selected while the stereo sink was the
// default, the mixer controls the mono one once it is made the default, channel 0 only.
TEST_F(MixerTest, MonoSinkAndTheDefaultFollowed)
{
    ASSERT_EQ(mixer->SelectMixerLine(Mixer::kMasterOutputLine), 1);
    {
        MonoSink mono;
        ASSERT_TRUE(mono.loaded());
        EXPECT_EQ(mixer->SetVolume(20000, 50000), 1);
        EXPECT_EQ(sinkVolume(), std::vector<int> {20000});
        int both = 0;
        EXPECT_EQ(mixer->GetVolume(both, both), 1);
        EXPECT_EQ(both, 20000);
        int left = 0;
        int right = 0;
        EXPECT_EQ(mixer->GetVolume(left, right), 1);
        EXPECT_EQ(left, 20000);
        EXPECT_EQ(right, -1);
        EXPECT_EQ(mixer->SetMute(1), 1);
        EXPECT_EQ(sinkMuted(), std::optional<bool>(true));
        EXPECT_EQ(mixer->GetMute(), 1);
        EXPECT_EQ(mixer->SetMute(0), 1);
        EXPECT_EQ(mixer->GetMute(), 0);
    }
    // Back on the stereo sink.
    EXPECT_EQ(mixer->SetVolume(1000, 2000), 1);
    EXPECT_EQ(sinkVolume(), (std::vector<int> {1000, 2000}));
}
