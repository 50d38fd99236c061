#include "services/systemmixer.h"

#include "services/pulse.h"

#include <algorithm>

namespace tarvelo::services {

namespace {

constexpr const char *kDefaultSink = "@DEFAULT_SINK@";

bool onLeft(pa_channel_position_t p)
{
    switch (p) {
    case PA_CHANNEL_POSITION_FRONT_LEFT:
    case PA_CHANNEL_POSITION_REAR_LEFT:
    case PA_CHANNEL_POSITION_FRONT_LEFT_OF_CENTER:
    case PA_CHANNEL_POSITION_SIDE_LEFT:
    case PA_CHANNEL_POSITION_TOP_FRONT_LEFT:
    case PA_CHANNEL_POSITION_TOP_REAR_LEFT:
        return true;
    default:
        return false;
    }
}

bool onRight(pa_channel_position_t p)
{
    switch (p) {
    case PA_CHANNEL_POSITION_FRONT_RIGHT:
    case PA_CHANNEL_POSITION_REAR_RIGHT:
    case PA_CHANNEL_POSITION_FRONT_RIGHT_OF_CENTER:
    case PA_CHANNEL_POSITION_SIDE_RIGHT:
    case PA_CHANNEL_POSITION_TOP_FRONT_RIGHT:
    case PA_CHANNEL_POSITION_TOP_REAR_RIGHT:
        return true;
    default:
        return false;
    }
}

pa_volume_t level(int v)
{
    return static_cast<pa_volume_t>(std::clamp<long long>(v, 0, PA_VOLUME_MAX));
}

} // namespace

pa_cvolume mixerLevels(const pa_cvolume &current, const pa_channel_map &map, int left, int right)
{
    pa_cvolume v = current;
    if (v.channels == 0)
        return v;
    v.values[0] = level(left);
    if (v.channels >= 2)
        v.values[1] = level(right);
    for (unsigned i = 2; i < v.channels; ++i) {
        const pa_channel_position_t p =
            i < map.channels ? map.map[i] : PA_CHANNEL_POSITION_INVALID;
        v.values[i] = onLeft(p) ? level(left) : onRight(p) ? level(right)
                                                           : std::max(level(left), level(right));
    }
    return v;
}

struct SystemMixer::SinkState
{
    bool found = false;
    pa_cvolume volume {};
    pa_channel_map map {};
    bool mute = false;
};

SystemMixer::SystemMixer() = default;
SystemMixer::~SystemMixer() = default;

pulse::Connection *SystemMixer::connection()
{
    if (connection_ && !connection_->good())
        connection_.reset();
    if (!connection_)
        connection_ = pulse::Connection::open("Tarvelo mixer");
    return connection_.get();
}

bool SystemMixer::readDefaultSink(SinkState &out)
{
    pulse::Connection *pa = connection();
    if (!pa)
        return false;
    pulse::Connection::Lock lock(*pa);
    pa_operation *op = pa_context_get_sink_info_by_name(
        pa->context(), kDefaultSink,
        [](pa_context *, const pa_sink_info *info, int eol, void *userdata) {
            auto *s = static_cast<SinkState *>(userdata);
            if (eol == 0 && info) {
                s->found = true;
                s->volume = info->volume;
                s->map = info->channel_map;
                s->mute = info->mute != 0;
            }
        },
        &out);
    return pa->waitFor(op) && out.found && out.volume.channels > 0;
}

namespace {

void successCallback(pa_context *, int success, void *userdata)
{
    *static_cast<bool *>(userdata) = success != 0;
}

} // namespace

int SystemMixer::SelectMixerLine(int componentType)
{
    // The volume and the mute switch both belong to the default sink: they open together.
    open_ = false;
    if (componentType != kMasterOutputLine)
        return 0;
    SinkState sink;
    open_ = readDefaultSink(sink);
    return open_ ? 1 : 0;
}

int SystemMixer::GetVolume(int &left, int &right)
{
    if (!open_)
        return -1;
    // In this order, so that one variable passed as both ends up with the last channel read.
    left = -1;
    right = -1;
    SinkState sink;
    if (!readDefaultSink(sink))
        return -1;
    left = static_cast<int>(sink.volume.values[0]);
    if (sink.volume.channels >= 2)
        right = static_cast<int>(sink.volume.values[1]);
    return 1;
}

int SystemMixer::SetVolume(int left, int right)
{
    if (!open_)
        return 0;
    SinkState sink;
    if (!readDefaultSink(sink))
        return 0;
    const pa_cvolume v = mixerLevels(sink.volume, sink.map, left, right);
    pulse::Connection *pa = connection();
    pulse::Connection::Lock lock(*pa);
    bool ok = false;
    pa_operation *op =
        pa_context_set_sink_volume_by_name(pa->context(), kDefaultSink, &v, successCallback, &ok);
    return pa->waitFor(op) && ok ? 1 : 0;
}

int SystemMixer::GetMaxVolume()
{
    return open_ ? static_cast<int>(PA_VOLUME_NORM) : 0;
}

int SystemMixer::GetMute()
{
    if (!open_)
        return -1;
    SinkState sink;
    if (!readDefaultSink(sink))
        return -1;
    return sink.mute ? 1 : 0;
}

int SystemMixer::SetMute(int flag)
{
    if (!open_)
        return 0;
    pulse::Connection *pa = connection();
    if (!pa)
        return 0;
    pulse::Connection::Lock lock(*pa);
    bool ok = false;
    pa_operation *op = pa_context_set_sink_mute_by_name(pa->context(), kDefaultSink,
                                                        flag != 0 ? 1 : 0, successCallback, &ok);
    return pa->waitFor(op) && ok ? 1 : 0;
}

} // namespace tarvelo::services
