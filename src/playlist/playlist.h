#pragma once

#include <QString>

namespace tarvelo {
struct AppContext;
}

namespace tarvelo::playlist {

// What follows the last path separator, "/" or "\", of a path; the whole path when it has
// none, and empty when it ends in one. The search runs on characters, so the second byte of
// a double-byte character, whatever its value was in the encoding the path came from, is
// never taken for a separator.
QString displayName(const QString &path);

// The text of the list row of track `trackNumber` (from 1): the number, ": ", spaces that
// bring these to five characters up to track 999 (none from 1000 on), then the display name.
QString rowText(int trackNumber, const QString &path);

// Replaces all rows of the list box by the rows of the playlist as it is now, one per track
// in playlist order; no row stays selected. The box keeps a shared copy of the playlist and
// makes each row's text when it is shown, so this costs the same for any length of names.
void rebuildList(AppContext &ctx);

} // namespace tarvelo::playlist
