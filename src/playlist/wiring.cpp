#include "playlist/wiring.h"

#include "app/context.h"
#include "playlist/addtracks.h"
#include "ui/mainwindow.h"
#include "ui/playlistbox.h"

#include <QAction>

namespace tarvelo::playlist {

void connectPlaylistInput(AppContext &ctx)
{
    ui::MainWindow &w = ctx.window;
    // A press on the empty list is the quickest way to the add dialog.
    QObject::connect(w.列表框, &ui::PlaylistBox::leftButtonPressed, w.列表框, [&ctx] {
        if (ctx.window.列表框->rowCount() == 0)
            addTracksCommand(ctx);
    });
    QObject::connect(w.添加列表, &QAction::triggered, w.列表框, [&ctx] { addTracksCommand(ctx); });
}

} // namespace tarvelo::playlist
