#include "playback/random.h"

#include "app/context.h"
#include "services/clock.h"

namespace tarvelo::playback {

void seedRandom(AppContext &ctx)
{
    static std::uint32_t seedings = 0;
    ctx.random.seed(static_cast<std::uint32_t>(ctx.clock.tickMs()) + seedings++);
}

} // namespace tarvelo::playback
