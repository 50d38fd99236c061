// The built program on the virtual desktop, driven and observed from outside as a user's
// tools would: xdotool, xwininfo, xprop and the accessibility tree.
#include "systemdesktop.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace tarvelo::testing {
namespace {

constexpr qint64 kOpaque = 0xFFFFFFFFLL;

class ProgramOnDesktop : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TARVELO_REQUIRE_DESKTOP();
        program.start();
        const auto id = waitForWindow(QStringLiteral("Tarvelo"), 10000);
        ASSERT_TRUE(id.has_value()) << "the main window never appeared";
        // The visible one of the program's windows named so (Qt also has a hidden leader).
        ASSERT_TRUE(waitUntil(
            [&] {
                const auto g = windowGeometry(*findWindow(QStringLiteral("Tarvelo")));
                return g && g->viewable;
            },
            5000));
        window = *findWindow(QStringLiteral("Tarvelo"));
    }

    TarveloProcess program;
    QString window;
};

TEST_F(ProgramOnDesktop, MapsCentredWithItsClientAreaAndFadesIn)
{
    const auto g = windowGeometry(window);
    ASSERT_TRUE(g.has_value());
    EXPECT_EQ(g->width, 244);
    EXPECT_EQ(g->height, 267) << "under openbox's real frame";
    // Centred on the 1365 x 768 screen for the design size 250 x 322.
    EXPECT_NEAR(g->x, (1365 - 250) / 2, 6);
    EXPECT_NEAR(g->y, (768 - 322) / 2, 30);

    EXPECT_TRUE(waitUntil([&] { return windowOpacity(window) == kOpaque; }, 2000))
        << "opacity now " << windowOpacity(window).value_or(-1);

    const auto actions =
        runCommand(QStringLiteral("xprop"),
                   { QStringLiteral("-id"), window, QStringLiteral("_NET_WM_ALLOWED_ACTIONS") });
    EXPECT_TRUE(actions.out.contains(QLatin1String("_NET_WM_ACTION_MINIMIZE")));
    EXPECT_FALSE(actions.out.contains(QLatin1String("_NET_WM_ACTION_MAXIMIZE"))) << "no maximise";
    EXPECT_FALSE(actions.out.contains(QLatin1String("_NET_WM_ACTION_RESIZE"))) << "fixed size";
}

TEST_F(ProgramOnDesktop, PutsItsIconInTheTray)
{
    const auto panel = runCommand(
        QStringLiteral("xdotool"),
        { QStringLiteral("search"), QStringLiteral("--classname"), QStringLiteral("^panel$") });
    const QString panelId = panel.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).value(0);
    ASSERT_FALSE(panelId.isEmpty()) << "trayer's panel is not there";
    EXPECT_TRUE(waitUntil(
        [&] {
            const auto tree =
                runCommand(QStringLiteral("xwininfo"),
                           { QStringLiteral("-id"), panelId, QStringLiteral("-tree") });
            return tree.out.contains(QLatin1String("(\"tarvelo\" \"Tarvelo\")"));
        },
        5000))
        << "no icon of the program is embedded in trayer";
}

TEST_F(ProgramOnDesktop, ShowsEveryControlInTheAccessibilityTree)
{
    QString tree;
    ASSERT_TRUE(waitUntil(
        [&] {
            tree = runCommand(QStringLiteral("/usr/bin/python3"),
                              { QStringLiteral(TARVELO_SOURCE_DIR "/tests/support/atspi_tree.py"),
                                QStringLiteral("Tarvelo") })
                       .out;
            return tree.contains(QStringLiteral("push button|停止|"));
        },
        10000))
        << tree.toStdString();
    for (const char *line :
         { "push button|播放|", "push button|上一曲|", "push button|定时|", "push button|下一曲|",
           "push button|停止|", "check box|静音|", "slider|滑块条_播放进度|", "list|列表框|",
           "scroll bar|纵向滚动条_音量|" }) {
        EXPECT_TRUE(tree.contains(QString::fromUtf8(line))) << line << "\n" << tree.toStdString();
    }
}

TEST_F(ProgramOnDesktop, EscDoesNotCloseAndAltF4WhileStoppedEndsWithCodeZero)
{
    ASSERT_TRUE(waitUntil([&] { return windowOpacity(window) == kOpaque; }, 3000));
    runCommand(QStringLiteral("xdotool"),
               { QStringLiteral("windowactivate"), QStringLiteral("--sync"), window });
    runCommand(QStringLiteral("xdotool"), { QStringLiteral("key"), QStringLiteral("--window"),
                                            window, QStringLiteral("Escape") });
    EXPECT_FALSE(program.waitForExit(500)) << "Esc closed the window";

    runCommand(QStringLiteral("xdotool"),
               { QStringLiteral("windowactivate"), QStringLiteral("--sync"), window });
    runCommand(QStringLiteral("xdotool"), { QStringLiteral("key"), QStringLiteral("alt+F4") });
    ASSERT_TRUE(program.waitForExit(3000)) << "still running 3 s after Alt+F4";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

} // namespace
} // namespace tarvelo::testing
