#pragma once

#include <QIcon>

namespace tarvelo::ui {

// The program's icon, drawn at 256, 64, 48, 32 and 16 pixels; the window and the tray
// show it.
QIcon appIcon();
QImage appIconImage(int size);

} // namespace tarvelo::ui
