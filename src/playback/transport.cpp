#include "playback/transport.h"

#include "app/context.h"
#include "app/sharedstate.h"
#include "desktop/tray.h"
#include "playback/random.h"
#include "playlist/addtracks.h"
#include "playlist/playlist.h"
#include "services/audioplayer.h"
#include "services/mixer.h"
#include "ui/balloontip.h"
#include "ui/feedbacklabel.h"
#include "ui/mainwindow.h"
#include "ui/playlistbox.h"
#include "ui/progressslider.h"
#include "volume/fades.h"

#include <QAction>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

namespace tarvelo::playback {

namespace {

const QString kCaptionPlay = QStringLiteral("播放");
const QString kCaptionPause = QStringLiteral("暂停");
const QString kCaptionResume = QStringLiteral("继续");

int playlistSize(const AppContext &ctx)
{
    return static_cast<int>(ctx.state.playlist.size());
}

bool currentIsValid(const AppContext &ctx)
{
    return ctx.state.currentIndex >= 1 && ctx.state.currentIndex <= playlistSize(ctx);
}

// Empty when currentIndex designates no entry: the player then gets an empty path, which
// only discards the current player.
QString currentPath(const AppContext &ctx)
{
    return currentIsValid(ctx) ? ctx.state.playlist.at(ctx.state.currentIndex - 1) : QString();
}

void setCaption(AppContext &ctx, const QString &caption)
{
    ctx.window.按钮_播放->setText(caption);
}

void setTipWithName(AppContext &ctx, const QString &prefix)
{
    ctx.tray.setTrayTip(prefix + currentName(ctx));
}

bool listIsEmpty(const AppContext &ctx)
{
    return ctx.window.列表框->rowCount() == 0;
}

// Starts the current track from its beginning and shows what came of it: the playing texts
// and the balloon, or the stopped texts when the file could not be opened.
void playCurrentFromStart(AppContext &ctx)
{
    startCurrentTrack(ctx, 0);
    if (ctx.player.GetPlayState() == 0) {
        showStoppedTexts(ctx);
        return;
    }
    setCaption(ctx, kCaptionPause);
    announceTrack(ctx);
}

} // namespace

QString currentName(const AppContext &ctx)
{
    return playlist::displayName(currentPath(ctx));
}

void focusList(AppContext &ctx)
{
    ctx.window.列表框->setFocus(Qt::OtherFocusReason);
}

void selectCurrentTrack(AppContext &ctx)
{
    ctx.window.列表框->setSelection(ctx.state.currentIndex - 1);
}

void showTrackBalloon(AppContext &ctx)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const int width = screen ? screen->geometry().width() : 0;
    // showMessage shows nothing for an empty name.
    ctx.window.气球提示框->showMessage(currentName(ctx), QPoint(width / 2, 0));
}

void announceTrack(AppContext &ctx)
{
    setTipWithName(ctx, QStringLiteral("播放中:"));
    showTrackBalloon(ctx);
}

void showStoppedTexts(AppContext &ctx)
{
    setCaption(ctx, kCaptionPlay);
    setTipWithName(ctx, QStringLiteral("停止中:"));
}

void startCurrentTrack(AppContext &ctx, int start)
{
    ctx.skipGuard.startedFromBeginning = start == 0;
    ctx.skipGuard.progressed = false;
    ctx.player.PlayFile(currentPath(ctx), start, ctx.window.标签_反馈事件);
}

void playPauseCommand(AppContext &ctx)
{
    focusList(ctx);
    if (listIsEmpty(ctx)) {
        playlist::addTracksCommand(ctx);
        return;
    }
    playlist::rebuildList(ctx);
    switch (ctx.player.GetPlayState()) {
    case 1:
        setCaption(ctx, kCaptionResume);
        volume::fadeOutVolume(ctx);
        ctx.player.SetPauseState(1);
        // Paused, the system is back at its level from before the fade.
        ctx.mixer.SetVolume(ctx.state.savedVolume, ctx.state.savedVolume);
        setTipWithName(ctx, QStringLiteral("暂停中:"));
        break;
    case -1:
        setCaption(ctx, kCaptionPause);
        ctx.mixer.SetVolume(0, 0);
        ctx.player.SetPauseState(0);
        volume::fadeInVolume(ctx);
        setTipWithName(ctx, QStringLiteral("播放中:"));
        break;
    case 0:
        // The slider's stored position: 1 before anything reached it, 0 after a stop, or
        // where the user left it while stopped.
        startCurrentTrack(ctx, ctx.window.滑块条_播放进度->position());
        if (ctx.player.GetPlayState() == 0) {
            showStoppedTexts(ctx);
        } else {
            setCaption(ctx, kCaptionPause);
            announceTrack(ctx);
        }
        break;
    default:
        break;
    }
    selectCurrentTrack(ctx);
}

void nextCommand(AppContext &ctx)
{
    focusList(ctx);
    if (listIsEmpty(ctx)) {
        playlist::addTracksCommand(ctx);
        return;
    }
    playlist::rebuildList(ctx);
    const int size = playlistSize(ctx);
    if (ctx.window.随机播放->isChecked()) {
        if (size > 0)
            ctx.state.currentIndex = 1 + ctx.random.next() % size;
    } else if (!ctx.window.单曲循环->isChecked()) {
        ctx.state.currentIndex += 1;
        if (ctx.state.currentIndex > size)
            ctx.state.currentIndex = 1;
    }
    playCurrentFromStart(ctx);
    selectCurrentTrack(ctx);
}

void previousCommand(AppContext &ctx)
{
    focusList(ctx);
    if (listIsEmpty(ctx)) {
        playlist::addTracksCommand(ctx);
        return;
    }
    playlist::rebuildList(ctx);
    ctx.state.currentIndex -= 1;
    if (ctx.state.currentIndex == 0)
        ctx.state.currentIndex = playlistSize(ctx);
    playCurrentFromStart(ctx);
    selectCurrentTrack(ctx);
}

void stopCommand(AppContext &ctx)
{
    focusList(ctx);
    ctx.player.StopPlayback();
    ctx.window.滑块条_播放进度->setPosition(0);
    // A stop ends any run of failed tracks: the next start tries the whole list again.
    ctx.skipGuard = SkipGuard {};
    if (ctx.state.playlist.isEmpty()) {
        setCaption(ctx, kCaptionPlay);
        ctx.tray.setTrayTip(QStringLiteral("Tarvelo"));
        return;
    }
    showStoppedTexts(ctx);
}

void playSelectedCommand(AppContext &ctx)
{
    const int s = ctx.window.列表框->selection();
    if (s == -1)
        return;
    ctx.state.currentIndex = s + 1;
    playCurrentFromStart(ctx);
}

namespace {

void toggleExclusive(QAction *item, QAction *other)
{
    item->setChecked(!item->isChecked());
    if (item->isChecked())
        other->setChecked(false);
}

} // namespace

void toggleRandom(AppContext &ctx)
{
    toggleExclusive(ctx.window.随机播放, ctx.window.单曲循环);
}

void toggleSingleLoop(AppContext &ctx)
{
    toggleExclusive(ctx.window.单曲循环, ctx.window.随机播放);
}

} // namespace tarvelo::playback
