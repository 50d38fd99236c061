#include "app/shutdown.h"
#include "app/startup.h"
#include "app/windowfade.h"
#include "guiapp.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>

#include <gtest/gtest.h>

namespace tarvelo {
namespace {

using testing::GuiApp;

const QString kQuestion = QStringLiteral("确认退出|正在播放音乐，真的要退出吗？");

void putPlayerIn(GuiApp &app, int state)
{
    app.player.state = state;
    app.player.log.clear();
}

struct CloseCase
{
    const char *what;
    int playState;
    std::optional<bool> answer; // none: no question may be asked
    bool closes;
};

TEST(ConfirmClose, AsksOnlyWhileATrackPlaysOrIsPaused)
{
    const CloseCase cases[] = {
        { "stopped", 0, std::nullopt, true },   { "playing, OK", 1, true, true },
        { "playing, Cancel", 1, false, false }, { "paused, OK", -1, true, true },
        { "paused, Cancel", -1, false, false },
    };
    for (const CloseCase &c : cases) {
        GuiApp app;
        setWindowOpacity255(app.window, 255);
        putPlayerIn(app, c.playState);
        if (c.answer)
            app.dialogs.answers.push_back(*c.answer);

        EXPECT_EQ(confirmClose(app.ctx), c.closes) << c.what;
        EXPECT_EQ(app.dialogs.asked, c.answer ? QStringList { kQuestion } : QStringList())
            << c.what;
        if (c.closes) {
            EXPECT_EQ(windowOpacity255(app.window), 0) << c.what << ": faded out";
        } else {
            EXPECT_EQ(windowOpacity255(app.window), 255) << c.what << ": stays opaque";
            EXPECT_EQ(app.player.state, c.playState) << c.what << ": playback untouched";
            EXPECT_TRUE(app.player.log.isEmpty()) << c.what;
            EXPECT_FALSE(app.ctx.ending) << c.what;
        }
    }
}

TEST(ConfirmClose, ClosingTheQuestionBoxCountsAsCancel)
{
    GuiApp app;
    setWindowOpacity255(app.window, 255);
    putPlayerIn(app, 1);
    // No answer queued: the double answers as a box closed by its title-bar button.
    EXPECT_FALSE(confirmClose(app.ctx));
    EXPECT_EQ(windowOpacity255(app.window), 255);
    EXPECT_EQ(app.player.state, 1);
}

// A clock that posts a second close request to the window in the middle of the fade-out,
// as a user pressing Alt+F4 twice would.
class SecondCloseClock final : public services::Clock
{
public:
    explicit SecondCloseClock(QWidget &w)
        : window(w)
    {}
    std::int64_t tickMs() override
    {
        if (armed && ++reads == 40)
            QCoreApplication::postEvent(&window, new QCloseEvent);
        return ++ticks;
    }
    void sleepMs(int) override {}

    QWidget &window;
    bool armed = false;
    std::int64_t ticks = 0;
    int reads = 0;
};

TEST(ConfirmClose, ASecondCloseDuringTheFadeOutEndsTheProgramOnce)
{
    GuiApp app;
    SecondCloseClock clock(app.window);
    AppContext ctx { app.state, app.window,  app.player, app.mixer,
                     clock,     app.dialogs, app.tray,   app.random };
    loadMainWindow(ctx);
    app.window.raiseFirstActivation();
    ASSERT_EQ(windowOpacity255(app.window), 255);
    putPlayerIn(app, 0);
    clock.armed = true;

    ASSERT_FALSE(ctx.ending);
    ASSERT_TRUE(app.window.handlers.canBeClosed);
    const bool closed = app.window.close();
    QCoreApplication::processEvents();
    EXPECT_TRUE(closed);

    EXPECT_GE(clock.reads, 40) << "the second request came during the fade";
    EXPECT_FALSE(app.window.isVisible());
    EXPECT_EQ(windowOpacity255(app.window), 0);
    EXPECT_FALSE(app.tray.present());
    EXPECT_EQ(app.player.log, QStringList { QStringLiteral("StopPlayback") }) << "ended once";
}

TEST(ExitCommand, AsksWhilePlayingThenRemovesTheTrayIconAndEnds)
{
    GuiApp app;
    app.tray.setTrayTip(QStringLiteral("Tarvelo"));
    setWindowOpacity255(app.window, 255);
    putPlayerIn(app, 1);

    app.dialogs.answers.push_back(false);
    exitCommand(app.ctx);
    EXPECT_EQ(app.dialogs.asked, QStringList { kQuestion });
    EXPECT_TRUE(app.tray.present());
    EXPECT_EQ(windowOpacity255(app.window), 255);
    EXPECT_EQ(app.player.state, 1);

    app.dialogs.answers.push_back(true);
    exitCommand(app.ctx);
    EXPECT_FALSE(app.tray.present());
    EXPECT_EQ(windowOpacity255(app.window), 0);
    EXPECT_EQ(app.player.state, 0) << "the player's threads are stopped before the end";

    // Once ending, a further exit or close does nothing more.
    app.player.log.clear();
    exitCommand(app.ctx);
    EXPECT_FALSE(confirmClose(app.ctx));
    EXPECT_TRUE(app.player.log.isEmpty());
}

TEST(ExitCommand, WhileStoppedEndsWithoutAsking)
{
    GuiApp app;
    app.tray.setTrayTip(QStringLiteral("Tarvelo"));
    exitCommand(app.ctx);
    EXPECT_TRUE(app.dialogs.asked.isEmpty());
    EXPECT_FALSE(app.tray.present());
    EXPECT_TRUE(app.ctx.ending);
}

TEST(TrayIcon, OneEntryUpdatedInPlaceAndRemovedOnce)
{
    GuiApp app;
    app.tray.removeTrayIcon(); // without an entry: nothing
    EXPECT_FALSE(app.tray.present());
    app.tray.setTrayTip(QStringLiteral("Tarvelo"));
    QSystemTrayIcon *entry = app.tray.entry();
    app.tray.setTrayTip(QStringLiteral("播放中:a.mp3"));
    EXPECT_EQ(app.tray.entry(), entry);
    EXPECT_EQ(app.tray.tip(), QStringLiteral("播放中:a.mp3"));
    app.tray.removeTrayIcon();
    EXPECT_FALSE(app.tray.present());
}

} // namespace
} // namespace tarvelo
