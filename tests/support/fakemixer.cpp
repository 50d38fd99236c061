#include "fakemixer.h"

namespace tarvelo::testing {

int FakeMixer::SelectMixerLine(int componentType)
{
    open = available && componentType == kMasterOutputLine;
    return open ? 1 : 0;
}

int FakeMixer::GetVolume(int &left, int &right)
{
    if (!open)
        return -1;
    left = -1;
    right = -1;
    left = volume[0];
    if (channels == 2)
        right = volume[1];
    return 1;
}

int FakeMixer::SetVolume(int left, int right)
{
    if (!open)
        return 0;
    writes.append({ left, right });
    volume[0] = left;
    if (channels == 2)
        volume[1] = right;
    return 1;
}

int FakeMixer::GetMaxVolume()
{
    return open ? maxVolume : 0;
}

int FakeMixer::GetMute()
{
    return open ? mute : -1;
}

int FakeMixer::SetMute(int flag)
{
    if (!open)
        return 0;
    mute = flag ? 1 : 0;
    return 1;
}

} // namespace tarvelo::testing
