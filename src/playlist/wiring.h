#pragma once

namespace tarvelo {
struct AppContext;
}

namespace tarvelo::playlist {

// Binds the list box's own input and the list popup menu's playlist items to the playlist
// commands.
void connectPlaylistInput(AppContext &ctx);

} // namespace tarvelo::playlist
