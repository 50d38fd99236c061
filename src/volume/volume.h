#pragma once

namespace tarvelo {
struct AppContext;
}

namespace tarvelo::volume {

// Opens the master output line and reads its level into savedVolume, with fadeStep a tenth
// of it, before any fade has run.
void initVolume(AppContext &ctx);

} // namespace tarvelo::volume
