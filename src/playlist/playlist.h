#pragma once

#include <QString>

namespace tarvelo {
struct AppContext;
}

namespace tarvelo::playlist {

// What follows the last path separator, "/" or "\", of a path; the whole path when it has
// none, and empty when it ends in one.
QString displayName(const QString &path);

// The text of the list row of track i (from 1): the number, ": ", padding to five
// characters up to track 999, then the display name.
QString rowText(int trackNumber, const QString &path);

// Replaces all rows of the list box by the row texts of the playlist; no row stays selected.
void rebuildList(AppContext &ctx);

} // namespace tarvelo::playlist
