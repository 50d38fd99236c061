#pragma once

#include "services/audioplayer.h"
#include "services/mixer.h"

#include <memory>

namespace tarvelo::services {

// The real services: playback on libmpg123 and PulseAudio, the mixer on PulseAudio's
// default sink. Neither connects to the sound server before it is first used.
std::unique_ptr<AudioPlayer> makeSystemAudioPlayer();
std::unique_ptr<Mixer> makeSystemMixer();

} // namespace tarvelo::services
