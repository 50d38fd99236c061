#include "services/systemmixer.h"

#include <gtest/gtest.h>

using tarvelo::services::mixerLevels;
using tarvelo::services::SystemMixer;

// Before SelectMixerLine succeeds nothing is open, and the server is never asked.
TEST(SystemMixer, NotOpenUntilALineIsSelected)
{
    SystemMixer mixer;
    int left = 7;
    int right = 8;
    EXPECT_EQ(mixer.GetVolume(left, right), -1);
    EXPECT_EQ(left, 7);
    EXPECT_EQ(right, 8);
    EXPECT_EQ(mixer.SetVolume(100, 100), 0);
    EXPECT_EQ(mixer.GetMaxVolume(), 0);
    EXPECT_EQ(mixer.GetMute(), -1);
    EXPECT_EQ(mixer.SetMute(1), 0);
    // A line other than the master output is never opened.
    EXPECT_EQ(mixer.SelectMixerLine(5), 0);
    EXPECT_EQ(mixer.GetMaxVolume(), 0);
}

TEST(MixerLevels, SetsChannelsByCount)
{
    struct Row
    {
        const char *name;
        pa_channel_map_def_t def;
        unsigned channels;
        int left, right;
        std::vector<pa_volume_t> expected;
    };
    const Row rows[] = {
        {"stereo", PA_CHANNEL_MAP_AIFF, 2, 30000, 40000, {30000, 40000}},
        {"mono: only channel 0", PA_CHANNEL_MAP_AIFF, 1, 20000, 50000, {20000}},
        {"clamped", PA_CHANNEL_MAP_AIFF, 2, -5, 2147483647, {0, PA_VOLUME_MAX}},
        // 5.1 (ALSA order): FL FR RL RR FC LFE
        {"5.1", PA_CHANNEL_MAP_ALSA, 6, 1000, 3000, {1000, 3000, 1000, 3000, 3000, 3000}},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        pa_channel_map map;
        ASSERT_TRUE(pa_channel_map_init_auto(&map, r.channels, r.def));
        pa_cvolume current;
        pa_cvolume_set(&current, r.channels, PA_VOLUME_NORM);
        const pa_cvolume v = mixerLevels(current, map, r.left, r.right);
        ASSERT_EQ(v.channels, r.channels);
        for (unsigned i = 0; i < r.channels; ++i)
            EXPECT_EQ(v.values[i], r.expected[i]) << "channel " << i;
    }
}
