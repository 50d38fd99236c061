#include "services/system.h"

#include "services/systemaudioplayer.h"
#include "services/systemmixer.h"

namespace tarvelo::services {

std::unique_ptr<AudioPlayer> makeSystemAudioPlayer()
{
    return std::make_unique<SystemAudioPlayer>();
}

std::unique_ptr<Mixer> makeSystemMixer()
{
    return std::make_unique<SystemMixer>();
}

} // namespace tarvelo::services
