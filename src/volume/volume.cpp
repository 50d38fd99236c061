#include "volume/volume.h"

#include "app/context.h"
#include "app/sharedstate.h"
#include "services/mixer.h"

namespace tarvelo::volume {

void initVolume(AppContext &ctx)
{
    ctx.mixer.SelectMixerLine(services::Mixer::kMasterOutputLine);
    // One variable for both channels: on a stereo line it ends up with the right channel.
    ctx.mixer.GetVolume(ctx.state.savedVolume, ctx.state.savedVolume);
    ctx.state.fadeStep = ctx.state.savedVolume / 10;
}

} // namespace tarvelo::volume
