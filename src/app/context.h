#pragma once

#include "playback/skipguard.h"

namespace tarvelo {

struct SharedState;
namespace ui {
class MainWindow;
class Dialogs;
} // namespace ui
namespace desktop {
class TrayIcon;
} // namespace desktop
namespace services {
class AudioPlayer;
class Mixer;
class Clock;
} // namespace services
namespace playback {
class RandomSource;
} // namespace playback

// What the commands work on: the shared state, the main window with its controls, and the
// platform facilities. The program makes one from the real facilities; tests make their own
// from test doubles. It owns nothing.
struct AppContext
{
    AppContext(SharedState &state, ui::MainWindow &window, services::AudioPlayer &player,
               services::Mixer &mixer, services::Clock &clock, ui::Dialogs &dialogs,
               desktop::TrayIcon &tray, playback::RandomSource &random)
        : state(state)
        , window(window)
        , player(player)
        , mixer(mixer)
        , clock(clock)
        , dialogs(dialogs)
        , tray(tray)
        , random(random)
    {}
    AppContext(const AppContext &) = delete;
    AppContext &operator=(const AppContext &) = delete;

    SharedState &state;
    ui::MainWindow &window;
    services::AudioPlayer &player;
    services::Mixer &mixer;
    services::Clock &clock;
    ui::Dialogs &dialogs;
    desktop::TrayIcon &tray;
    playback::RandomSource &random;

    // Set once a close or exit has got past its question: a second request that arrives
    // while the fade-out runs is ignored, so the program ends once.
    bool ending = false;

    // The run of tracks that ended before playing, which stops the endless skipping through
    // a playlist of undecodable files.
    playback::SkipGuard skipGuard {};
};

} // namespace tarvelo
