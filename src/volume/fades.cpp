#include "volume/fades.h"

#include "app/context.h"
#include "app/sharedstate.h"
#include "services/clock.h"
#include "services/mixer.h"

namespace tarvelo::volume {

namespace {
constexpr int kSteps = 10;
constexpr int kStepMs = 100;
} // namespace

void fadeOutVolume(AppContext &ctx)
{
    SharedState &s = ctx.state;
    // One variable for both channels: on a stereo line it ends up with the right channel.
    ctx.mixer.GetVolume(s.savedVolume, s.savedVolume);
    s.fadeStep = s.savedVolume / 10;
    int level = s.savedVolume;
    for (int i = 0; i < kSteps; ++i) {
        level -= s.fadeStep;
        ctx.mixer.SetVolume(level, level);
        ctx.clock.sleepMs(kStepMs);
    }
    // The ten steps stop up to 9 above silence.
    ctx.mixer.SetVolume(0, 0);
}

void fadeInVolume(AppContext &ctx)
{
    int level = 0;
    for (int i = 0; i < kSteps; ++i) {
        level += ctx.state.fadeStep;
        ctx.mixer.SetVolume(level, level);
        ctx.clock.sleepMs(kStepMs);
    }
}

} // namespace tarvelo::volume
