#pragma once

namespace tarvelo {

struct AppContext;

// The main window's close check. While a track plays or is paused it asks first; Cancel
// (or closing the question) answers false and keeps the window as it was. Otherwise the
// window fades out and the answer is true. A request that arrives while a close is already
// under way answers false, so the program ends once.
bool confirmClose(AppContext &ctx);

// The tray menu's exit: the same question, the fade-out, the tray icon removed, the end.
void exitCommand(AppContext &ctx);

// Runs when the main window has been closed: the tray icon goes, then the program ends.
void finishShutdown(AppContext &ctx);

// Ends the program with exit code 0. The player's threads are stopped first, so that no
// sound is left hanging; the shared state is released once the event loop has returned.
void endProgram(AppContext &ctx);

} // namespace tarvelo
