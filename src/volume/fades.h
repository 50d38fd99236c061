#pragma once

namespace tarvelo {
struct AppContext;
}

namespace tarvelo::volume {

// Takes the system volume down to silence in ten steps of 100 ms: reads the level into
// savedVolume, takes a tenth of it as fadeStep, lowers the level by fadeStep ten times and
// then silences the line. Blocks the GUI thread for about a second without handling events.
void fadeOutVolume(AppContext &ctx);

// Brings the volume up from silence in ten steps of fadeStep, 100 ms apart, ending at
// 10 × fadeStep. Blocks like the fade-out. It reads nothing: it follows the level the last
// fade-out saved, not the present one.
void fadeInVolume(AppContext &ctx);

} // namespace tarvelo::volume
