#pragma once

namespace tarvelo {
struct AppContext;
}

namespace tarvelo::playback {

// Handles one feedback value on the GUI thread: below 100 it moves the progress slider;
// 100, the end of the track, puts the slider at 100 and runs nextCommand (stopCommand when
// the whole playlist has in a row ended without playing); above 100 it runs the command of
// the first hotkey id that equals it. Ids of 0 (a failed registration) never match.
void dispatchFeedback(AppContext &ctx, int value);

// The slider was moved by the user: while playing, the current track starts again at the
// slider's position. Paused or stopped, only the slider changes.
void seekToSlider(AppContext &ctx);

} // namespace tarvelo::playback
