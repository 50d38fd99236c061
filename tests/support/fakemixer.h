#pragma once

#include "services/mixer.h"

#include <QList>
#include <QPair>

namespace tarvelo::testing {

// An ideal mixer line with one or two channels. `writes` records every SetVolume.
class FakeMixer final : public services::Mixer
{
public:
    int SelectMixerLine(int componentType) override;
    int GetVolume(int &left, int &right) override;
    int SetVolume(int left, int right) override;
    int GetMaxVolume() override;
    int GetMute() override;
    int SetMute(int flag) override;

    bool available = true; // false: no mixer device, SelectMixerLine opens nothing
    bool open = false;
    int channels = 2;
    int maxVolume = 65535;
    int volume[2] = { 65535, 65535 };
    int mute = 0;
    QList<QPair<int, int>> writes;
};

} // namespace tarvelo::testing
