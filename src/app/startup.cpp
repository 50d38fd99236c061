#include "app/startup.h"

#include "app/context.h"
#include "app/sharedstate.h"
#include "app/shutdown.h"
#include "app/windowfade.h"
#include "desktop/hotkeys.h"
#include "desktop/tray.h"
#include "playback/random.h"
#include "playback/wiring.h"
#include "playlist/addtracks.h"
#include "playlist/wiring.h"
#include "ui/mainwindow.h"
#include "ui/skin.h"
#include "volume/volume.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

namespace tarvelo {

namespace {

void switchOnSkin(AppContext &)
{
    if (auto *app = qobject_cast<QApplication *>(QCoreApplication::instance()))
        ui::applyXpSkin(*app);
}

void setFirstTrack(AppContext &ctx)
{
    ctx.state.currentIndex = 1;
}

void showTrayIcon(AppContext &ctx)
{
    ctx.tray.setTrayTip(QStringLiteral("Tarvelo"));
}

void makeTransparent(AppContext &ctx)
{
    setWindowOpacity255(ctx.window, 0);
}

void sizeClientArea(AppContext &ctx)
{
    // Qt sizes the client area itself, whatever frame the window manager draws around it;
    // the frame's top-left corner stays where it was placed.
    ctx.window.setFixedSize(ui::MainWindow::kClientWidth, ui::MainWindow::kClientHeight);
}

constexpr StartupStep kSteps[] = {
    { "bind drop target", &playlist::bindDropTarget },
    { "register hotkeys", &desktop::registerHotkeys },
    { "hotkey hints", &desktop::attachHotkeyHints },
    { "skin", &switchOnSkin },
    { "seed random", &playback::seedRandom },
    { "mixer line and saved volume", &volume::initVolume },
    { "current track", &setFirstTrack },
    { "tray icon", &showTrayIcon },
    { "opacity 0", &makeTransparent },
    { "hotkey warning", &desktop::warnFailedHotkeys },
    { "client height", &sizeClientArea },
};

// How long the window waits for its first activation before it fades in anyway. Some window
// managers do not activate new windows, and the window is invisible until it fades in.
constexpr int kActivationGraceMs = 1500;

} // namespace

std::span<const StartupStep> startupSteps()
{
    return kSteps;
}

void initMainWindow(AppContext &ctx)
{
    for (const StartupStep &step : kSteps)
        step.run(ctx);
}

void loadMainWindow(AppContext &ctx)
{
    ui::MainWindow &w = ctx.window;
    w.handlers.firstActivated = [&ctx] { fadeInWindow(ctx.window, ctx.clock); };
    w.handlers.canBeClosed = [&ctx] { return confirmClose(ctx); };
    w.handlers.willBeDestroyed = [&ctx] { finishShutdown(ctx); };
    QObject::connect(w.托盘_退出, &QAction::triggered, &w, [&ctx] { exitCommand(ctx); });
    playlist::connectPlaylistInput(ctx);
    playback::connectTransport(ctx);

    initMainWindow(ctx);
    if (w.handlers.positionChanged)
        w.handlers.positionChanged();
    w.show();
    QTimer::singleShot(kActivationGraceMs, &w, [&w] { w.raiseFirstActivation(); });
}

} // namespace tarvelo
