#pragma once

#include <QString>

namespace tarvelo {
struct AppContext;
}

namespace tarvelo::playlist {

// Asks for MP3 files with the multi-select dialog and adds them, in the dialog's order, at
// the end of the playlist. The list box gets one row per new track appended to the rows it
// shows, numbered on from the playlist's size, before the paths themselves are appended; it
// is not rebuilt. Cancel adds nothing. The selection, the current track and playback are
// left alone: nothing starts playing.
void addTracksCommand(AppContext &ctx);

// Takes a drop text: paths separated by "\r\n", a "\r\n" at the very end closing the last
// one. Each path that ends exactly in ".mp3" or ".MP3" is appended to the playlist; others,
// folders included, are passed over. Then the list is rebuilt and its last row selected,
// also when nothing was taken.
void dropFiles(AppContext &ctx, const QString &dropText);

// Makes the list box accept files dropped from a file manager, handing them to dropFiles.
void bindDropTarget(AppContext &ctx);

} // namespace tarvelo::playlist
