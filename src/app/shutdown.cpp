#include "app/shutdown.h"

#include "app/context.h"
#include "app/windowfade.h"
#include "desktop/tray.h"
#include "services/audioplayer.h"
#include "ui/dialogs.h"
#include "ui/mainwindow.h"

#include <QCoreApplication>
#include <QTimer>

namespace tarvelo {

namespace {

// True when the user lets the program end: at once while stopped, after an OK otherwise.
bool userAgreesToEnd(AppContext &ctx)
{
    if (ctx.player.GetPlayState() == 0)
        return true;
    return ctx.dialogs.askOkCancel(QStringLiteral("正在播放音乐，真的要退出吗？"),
                                   QStringLiteral("确认退出"));
}

} // namespace

bool confirmClose(AppContext &ctx)
{
    if (ctx.ending || !userAgreesToEnd(ctx))
        return false;
    // The question box handles events while it waits: a second request may have got past
    // the check above meanwhile.
    if (ctx.ending)
        return false;
    ctx.ending = true;
    fadeOutWindow(ctx.window, ctx.clock);
    return true;
}

void exitCommand(AppContext &ctx)
{
    if (ctx.ending || !userAgreesToEnd(ctx) || ctx.ending)
        return;
    ctx.ending = true;
    fadeOutWindow(ctx.window, ctx.clock);
    ctx.tray.removeTrayIcon();
    endProgram(ctx);
}

void finishShutdown(AppContext &ctx)
{
    ctx.tray.removeTrayIcon();
    endProgram(ctx);
}

void endProgram(AppContext &ctx)
{
    ctx.ending = true;
    ctx.window.时钟_音量->stop();
    ctx.player.StopPlayback();
    QCoreApplication::exit(0);
}

} // namespace tarvelo
