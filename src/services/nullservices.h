#pragma once

#include "services/audioplayer.h"
#include "services/mixer.h"

namespace tarvelo::services {

// A player for a machine where no audio output can be opened: every file fails to open.
class NullAudioPlayer final : public AudioPlayer
{
public:
    void PlayFile(const QString &, int, QObject *) override {}
    void SetPauseState(int) override {}
    void StopPlayback() override {}
    int GetPlayState() override { return 0; }
};

// A mixer whose line never opens: the results of a machine without a mixer device.
class NullMixer final : public Mixer
{
public:
    int SelectMixerLine(int) override { return 0; }
    int GetVolume(int &, int &) override { return -1; }
    int SetVolume(int, int) override { return 0; }
    int GetMaxVolume() override { return 0; }
    int GetMute() override { return -1; }
    int SetMute(int) override { return 0; }
};

} // namespace tarvelo::services
