#pragma once

namespace tarvelo {
struct AppContext;
}

namespace tarvelo::playback {

// Binds the transport buttons, the slider, the feedback label and the menu items that drive
// playback to their commands.
void connectTransport(AppContext &ctx);

} // namespace tarvelo::playback
