#include "playback/wiring.h"

#include "app/context.h"

namespace tarvelo::playback {

void connectTransport(AppContext &) {}

} // namespace tarvelo::playback
