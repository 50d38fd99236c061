#include "playback/feedback.h"

#include "app/context.h"
#include "app/sharedstate.h"
#include "playback/transport.h"
#include "services/audioplayer.h"
#include "ui/mainwindow.h"
#include "ui/playlistbox.h"
#include "ui/progressslider.h"

namespace tarvelo::playback {

namespace {

constexpr int kEndOfTrack = 100;

// Whether the end that just came means the whole playlist has failed in a row.
bool endStopsPlayback(AppContext &ctx)
{
    SkipGuard &g = ctx.skipGuard;
    if (g.startedFromBeginning && !g.progressed)
        ++g.failuresInARow;
    else
        g.failuresInARow = 0;
    const auto size = ctx.state.playlist.size();
    return size > 0 && g.failuresInARow >= size;
}

void runHotkey(AppContext &ctx, int value)
{
    using Command = void (*)(AppContext &);
    static constexpr Command kCommands[] = { &playPauseCommand, &nextCommand, &previousCommand,
                                             &stopCommand };
    for (std::size_t i = 0; i < ctx.state.hotkeyIds.size(); ++i) {
        const int id = ctx.state.hotkeyIds[i];
        if (id != 0 && id == value) {
            kCommands[i](ctx);
            return;
        }
    }
}

} // namespace

void dispatchFeedback(AppContext &ctx, int value)
{
    if (value < kEndOfTrack) {
        ctx.window.滑块条_播放进度->setPosition(value);
        // The first value may come as soon as the file is open; only a later percentage
        // shows that the track really decodes and plays.
        if (value > 0) {
            ctx.skipGuard.progressed = true;
            ctx.skipGuard.failuresInARow = 0;
        }
        return;
    }
    if (value == kEndOfTrack) {
        ctx.window.滑块条_播放进度->setPosition(kEndOfTrack);
        if (endStopsPlayback(ctx))
            stopCommand(ctx);
        else
            nextCommand(ctx);
        return;
    }
    runHotkey(ctx, value);
}

void seekToSlider(AppContext &ctx)
{
    if (ctx.window.列表框->rowCount() == 0)
        return;
    if (ctx.player.GetPlayState() != 1)
        return;
    startCurrentTrack(ctx, ctx.window.滑块条_播放进度->position());
    // The file went away while it played: say so instead of claiming it still plays.
    if (ctx.player.GetPlayState() == 0)
        showStoppedTexts(ctx);
}

} // namespace tarvelo::playback
