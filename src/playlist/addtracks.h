#pragma once

#include <QString>

namespace tarvelo {
struct AppContext;
}

namespace tarvelo::playlist {

// Asks for MP3 files with the multi-select dialog and appends them to the playlist and the
// list box. Nothing starts playing.
void addTracksCommand(AppContext &ctx);

// Takes the paths of a drop text ("\r\n"-separated) that end in ".mp3" or ".MP3", appends
// them, rebuilds the list and selects its last row.
void dropFiles(AppContext &ctx, const QString &dropText);

// Makes the list box accept files dropped from a file manager, handing them to dropFiles.
void bindDropTarget(AppContext &ctx);

} // namespace tarvelo::playlist
