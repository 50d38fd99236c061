#pragma once

class QApplication;

namespace tarvelo::ui {

// The XP-like flat skin in its olive-green colour scheme, for every window of the program,
// those created later included. Buttons, check boxes drawn as buttons, edit boxes, scroll
// bars and the slider get the olive control frame.
void applyXpSkin(QApplication &app);

} // namespace tarvelo::ui
