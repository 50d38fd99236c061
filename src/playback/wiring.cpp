#include "playback/wiring.h"

#include "app/context.h"
#include "playback/feedback.h"
#include "playback/transport.h"
#include "ui/feedbacklabel.h"
#include "ui/mainwindow.h"
#include "ui/playlistbox.h"
#include "ui/progressslider.h"

#include <QAction>
#include <QPushButton>

namespace tarvelo::playback {

namespace {

// A checkable QAction has already inverted its check mark when `triggered` arrives; the
// toggle commands do the inversion themselves, so the automatic one is undone first.
void bindToggle(AppContext &ctx, QAction *item, void (*toggle)(AppContext &))
{
    item->setCheckable(true);
    item->setChecked(false);
    QObject::connect(item, &QAction::triggered, &ctx.window, [&ctx, item, toggle](bool checked) {
        item->setChecked(!checked);
        toggle(ctx);
    });
}

template <typename Sender, typename Signal>
void bind(AppContext &ctx, Sender *sender, Signal signal, void (*command)(AppContext &))
{
    QObject::connect(sender, signal, &ctx.window, [&ctx, command] { command(ctx); });
}

} // namespace

void connectTransport(AppContext &ctx)
{
    ui::MainWindow &w = ctx.window;
    bind(ctx, w.按钮_播放, &QPushButton::clicked, &playPauseCommand);
    bind(ctx, w.按钮_上一曲, &QPushButton::clicked, &previousCommand);
    bind(ctx, w.按钮_下一曲, &QPushButton::clicked, &nextCommand);
    bind(ctx, w.按钮_停止, &QPushButton::clicked, &stopCommand);

    bind(ctx, w.托盘_暂停, &QAction::triggered, &playPauseCommand);
    bind(ctx, w.托盘_下一曲, &QAction::triggered, &nextCommand);
    bind(ctx, w.托盘_上一曲, &QAction::triggered, &previousCommand);
    bind(ctx, w.托盘_停止, &QAction::triggered, &stopCommand);

    bind(ctx, w.列表框, &ui::PlaylistBox::rowDoubleClicked, &playSelectedCommand);
    bind(ctx, w.滑块条_播放进度, &ui::ProgressSlider::positionChangedByUser, &seekToSlider);
    QObject::connect(w.标签_反馈事件, &ui::FeedbackLabel::feedback, &w,
                     [&ctx](int value) { dispatchFeedback(ctx, value); });

    bindToggle(ctx, w.随机播放, &toggleRandom);
    bindToggle(ctx, w.单曲循环, &toggleSingleLoop);
}

} // namespace tarvelo::playback
