#pragma once

#include "services/mixer.h"

#include <pulse/channelmap.h>
#include <pulse/volume.h>

#include <memory>

namespace tarvelo::services {

namespace pulse {
class Connection;
}

// The levels SetVolume gives a sink whose current volume is `current`: channel 0 gets
// `left`, channel 1 `right`; on a sink of more than two channels the other left-side
// channels follow `left`, the right-side ones `right` and the rest the louder of the two.
// Levels are clamped to 0..PA_VOLUME_MAX.
pa_cvolume mixerLevels(const pa_cvolume &current, const pa_channel_map &map, int left, int right);

// The system mixer service on PulseAudio. The master output line is the default sink,
// looked up as @DEFAULT_SINK@ on every call, so that the controls follow the user's choice
// of output device; its volume runs from 0 to PA_VOLUME_NORM (100 %). Every call is a
// synchronous round trip on a threaded mainloop, bounded by a timeout, and a connection the
// server dropped is made again on the next call.
class SystemMixer final : public Mixer
{
public:
    SystemMixer();
    ~SystemMixer() override;

    int SelectMixerLine(int componentType) override;
    int GetVolume(int &left, int &right) override;
    int SetVolume(int left, int right) override;
    int GetMaxVolume() override;
    int GetMute() override;
    int SetMute(int flag) override;

private:
    struct SinkState;
    bool readDefaultSink(SinkState &out);
    pulse::Connection *connection();

    std::unique_ptr<pulse::Connection> connection_;
    bool open_ = false;
};

} // namespace tarvelo::services
