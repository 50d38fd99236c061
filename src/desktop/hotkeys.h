#pragma once

namespace tarvelo {
struct AppContext;
}

namespace tarvelo::desktop {

// Registers the four global hotkeys (Shift+Pause, Shift+Page Down, Shift+Page Up,
// Shift+End) and stores their ids in hotkeyIds.
void registerHotkeys(AppContext &ctx);

// Attaches the hotkey tooltips to the four buttons and appends the hotkey hints to the
// captions of the first four tray menu items.
void attachHotkeyHints(AppContext &ctx);

// Warns once when a registration failed.
void warnFailedHotkeys(AppContext &ctx);

} // namespace tarvelo::desktop
