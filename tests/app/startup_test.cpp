#include "app/startup.h"
#include "app/windowfade.h"
#include "guiapp.h"
#include "ui/playlistbox.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>

#include <gtest/gtest.h>

namespace tarvelo {
namespace {

using testing::GuiApp;

// Each start-up step has an effect that is absent before it and present after it, so
// running the steps one by one shows both that each does its work and that they come in
// the right order. Steps whose subsystem adds nothing visible here have no check.
TEST(Startup, StepsRunInOrderEachWithItsEffect)
{
    GuiApp app;
    app.mixer.volume[0] = 30000;
    app.mixer.volume[1] = 40000;
    const playback::RandomSource unseeded;

    using Check = std::function<bool()>;
    const std::vector<std::pair<std::string, Check>> expected = {
        { "bind drop target", [&] { return app.window.列表框->acceptDrops(); } },
        { "register hotkeys", nullptr },
        { "hotkey hints",
          [&] {
              return app.window.按钮_停止->toolTip() == QStringLiteral("Shift + End") &&
                     app.window.托盘_暂停->text() == QStringLiteral("暂停\t[Shift + Pause]");
          } },
        { "skin",
          [&] {
              return QApplication::palette().color(QPalette::Highlight) == QColor(147, 160, 112);
          } },
        { "seed random",
          [&] {
              playback::RandomSource a = app.random, b = unseeded;
              return a.next() != b.next();
          } },
        { "mixer line and saved volume",
          // One variable for both channels: the right channel's level is what stays.
          [&] {
              return app.mixer.open && app.state.savedVolume == 40000 && app.state.fadeStep == 4000;
          } },
        { "current track", [&] { return app.state.currentIndex == 1; } },
        { "tray icon",
          [&] { return app.tray.present() && app.tray.tip() == QStringLiteral("Tarvelo"); } },
        { "opacity 0", [&] { return windowOpacity255(app.window) == 0; } },
        { "hotkey warning", nullptr },
        { "client height",
          [&] { return app.window.height() == 267 && app.window.width() == 244; } },
    };

    const auto steps = startupSteps();
    ASSERT_EQ(steps.size(), expected.size());
    for (size_t i = 0; i < steps.size(); ++i) {
        ASSERT_EQ(steps[i].name, expected[i].first);
        const Check &effect = expected[i].second;
        if (effect) {
            EXPECT_FALSE(effect()) << "before step " << steps[i].name;
        }
        steps[i].run(app.ctx);
        if (effect) {
            EXPECT_TRUE(effect()) << "after step " << steps[i].name;
        }
    }
    EXPECT_TRUE(app.dialogs.warned.isEmpty());
    EXPECT_TRUE(app.dialogs.asked.isEmpty());
}

TEST(Startup, NoMixerLeavesSavedVolumeAtZero)
{
    GuiApp app;
    app.mixer.available = false;
    initMainWindow(app.ctx);
    EXPECT_EQ(app.state.savedVolume, 0);
    EXPECT_EQ(app.state.fadeStep, 0);
    EXPECT_EQ(app.state.currentIndex, 1);
}

// A clock that notes the window's opacity whenever the fade reads the tick count.
class WatchingClock final : public services::Clock
{
public:
    explicit WatchingClock(QWidget &w)
        : window(w)
    {}
    std::int64_t tickMs() override
    {
        const int o = windowOpacity255(window);
        if (seen.isEmpty() || seen.last() != o)
            seen << o;
        return now++;
    }
    void sleepMs(int ms) override { now += ms; }

    QWidget &window;
    std::int64_t now = 0;
    QList<int> seen;
};

TEST(WindowFade, RampsInFiftyOneStepsOfFive)
{
    QWidget w;
    QList<int> in, out;
    for (int i = 1; i <= 51; ++i) {
        in << 5 * i;
        out << 255 - 5 * i;
    }
    WatchingClock clock(w);
    setWindowOpacity255(w, 0);
    fadeInWindow(w, clock);
    EXPECT_EQ(clock.seen, in);
    clock.seen.clear();
    fadeOutWindow(w, clock);
    EXPECT_EQ(clock.seen, out);
    EXPECT_EQ(windowOpacity255(w), 0);
}

TEST(WindowFade, OpacityOutsideTheRangeCountsAsOpaque)
{
    QWidget w;
    for (int value : { -1, 256, 100000 }) {
        setWindowOpacity255(w, 0);
        setWindowOpacity255(w, value);
        EXPECT_EQ(windowOpacity255(w), 255) << value;
    }
}

TEST(WindowFade, PumpEventsHandlesPendingEventsUntilTheTickMoves)
{
    testing::FakeClock clock;
    QWidget w;
    bool handled = false;
    QMetaObject::invokeMethod(
        &w, [&] { handled = true; }, Qt::QueuedConnection);
    const auto before = clock.now;
    pumpEvents(1, clock);
    EXPECT_TRUE(handled);
    EXPECT_GT(clock.now, before + 1);

    handled = false;
    QMetaObject::invokeMethod(
        &w, [&] { handled = true; }, Qt::QueuedConnection);
    pumpEvents(0, clock);
    EXPECT_FALSE(handled) << "no wait at all for ms <= 0";
    QCoreApplication::processEvents();
}

} // namespace
} // namespace tarvelo
