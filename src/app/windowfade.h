#pragma once

class QWidget;

namespace tarvelo {
namespace services {
class Clock;
}

// A window's opacity as the program counts it: 0 invisible to 255 opaque. A value outside
// that range counts as 255. On X11 it becomes _NET_WM_WINDOW_OPACITY, which a compositing
// window manager applies; without one the window is simply seen at once.
void setWindowOpacity255(QWidget &window, int opacity);
int windowOpacity255(const QWidget &window);

// Handles pending events of the GUI thread until the tick count has moved past `ms`
// milliseconds from now. Timer ticks, feedback values and clicks run in between.
void pumpEvents(int ms, services::Clock &clock);

// The 51-step opacity ramps: 5, 10, ... 255 and 250, 245, ... 0, pumping events after each.
void fadeInWindow(QWidget &window, services::Clock &clock);
void fadeOutWindow(QWidget &window, services::Clock &clock);

} // namespace tarvelo
