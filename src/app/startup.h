#pragma once

#include <span>

namespace tarvelo {

struct AppContext;

// One step of the start-up that runs when the main window has been created.
struct StartupStep
{
    const char *name;
    void (*run)(AppContext &ctx);
};

// The start-up steps in the order they must run: drop target, hotkeys, hotkey hints, skin,
// random seed, mixer line and saved volume, current track, tray icon, opacity, hotkey
// warning, client height.
std::span<const StartupStep> startupSteps();

// Runs every start-up step in order.
void initMainWindow(AppContext &ctx);

// Loads the main window: binds its events to their handlers, runs initMainWindow, raises
// the position-changed event and shows the window (still invisible, at opacity 0; its first
// activation fades it in).
void loadMainWindow(AppContext &ctx);

} // namespace tarvelo
