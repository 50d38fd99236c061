#pragma once

#include <QString>

namespace tarvelo {
struct AppContext;
}

namespace tarvelo::playback {

// The transport commands. Each runs to completion on the GUI thread; the buttons, the tray
// menu, the hotkeys, the end of a track, the schedule and the list box all run these same
// functions.

// Starts the current track from the slider's stored position when stopped, pauses with a
// fade to silence when playing, resumes with a fade up when paused. With an empty list it
// opens the add dialog instead and plays nothing.
void playPauseCommand(AppContext &ctx);
// Plays the track that follows by the play mode: random, single loop or the next in order
// (after the last comes the first). Empty list: the add dialog.
void nextCommand(AppContext &ctx);
// Plays the track before the current one (before the first comes the last), in every mode.
// Empty list: the add dialog.
void previousCommand(AppContext &ctx);
// Stops playback, puts the slider at 0 and shows the stopped texts. Works on an empty list.
void stopCommand(AppContext &ctx);
// Plays the selected row's track from its beginning; nothing when no row is selected.
void playSelectedCommand(AppContext &ctx);

// The play mode lives only in the check marks of the two list menu items; at most one of
// them is ticked. Each toggle inverts its own item and, when that ticks it, unticks the other.
void toggleRandom(AppContext &ctx);
void toggleSingleLoop(AppContext &ctx);

// Steps the commands share.
void focusList(AppContext &ctx);
void selectCurrentTrack(AppContext &ctx);
// The tray tip "播放中:" + name, then the balloon.
void announceTrack(AppContext &ctx);
// The balloon with the current track's display name, pointing at the top centre of the
// primary screen. An empty name shows none.
void showTrackBalloon(AppContext &ctx);

// Starts the current track at `start` percent with the feedback label as target, and tells
// the skip guard whether it began at the start.
void startCurrentTrack(AppContext &ctx, int start);
// The display name of the current track; empty when the playlist has no such entry.
QString currentName(const AppContext &ctx);
// The texts of a stopped player: caption "播放" and the tray tip "停止中:" + name.
void showStoppedTexts(AppContext &ctx);

} // namespace tarvelo::playback
