#include "app/windowfade.h"

#include "services/clock.h"

#include <QCoreApplication>
#include <QWidget>

#include <cmath>

namespace tarvelo {

void setWindowOpacity255(QWidget &window, int opacity)
{
    if (opacity < 0 || opacity > 255)
        opacity = 255;
    window.setWindowOpacity(opacity / 255.0);
}

int windowOpacity255(const QWidget &window)
{
    return static_cast<int>(std::lround(window.windowOpacity() * 255.0));
}

void pumpEvents(int ms, services::Clock &clock)
{
    if (ms <= 0)
        return;
    const auto handleAll = [] {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    };
    const std::int64_t t0 = clock.tickMs();
    for (;;) {
        handleAll();
        if (clock.tickMs() > t0 + ms)
            break;
        handleAll();
    }
}

void fadeInWindow(QWidget &window, services::Clock &clock)
{
    for (int i = 1; i <= 51; ++i) {
        setWindowOpacity255(window, 5 * i);
        pumpEvents(1, clock);
    }
}

void fadeOutWindow(QWidget &window, services::Clock &clock)
{
    for (int i = 1; i <= 51; ++i) {
        setWindowOpacity255(window, 255 - 5 * i);
        pumpEvents(1, clock);
    }
}

} // namespace tarvelo
