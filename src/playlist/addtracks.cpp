#include "playlist/addtracks.h"

#include "app/context.h"
#include "app/sharedstate.h"
#include "playlist/playlist.h"
#include "ui/dialogs.h"
#include "ui/mainwindow.h"
#include "ui/playlistbox.h"

namespace tarvelo::playlist {

void addTracksCommand(AppContext &ctx)
{
    const QStringList chosen = ctx.dialogs.chooseFiles(
        QStringLiteral("请选择要加入播放列表的MP3文件"), QStringLiteral("mp3文件(*.mp3)"));
    if (chosen.isEmpty())
        return;
    const int before = static_cast<int>(ctx.state.playlist.size());
    QStringList rows;
    rows.reserve(chosen.size());
    for (qsizetype j = 0; j < chosen.size(); ++j)
        rows.append(rowText(before + static_cast<int>(j) + 1, chosen.at(j)));
    ctx.window.列表框->appendRows(rows);
    ctx.state.playlist.append(chosen);
}

void dropFiles(AppContext &ctx, const QString &dropText)
{
    const QStringList parts = dropText.split(QStringLiteral("\r\n"));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString &part = parts.at(i);
        // A "\r\n" at the very end closes the last path; it leaves no empty part.
        if (i == parts.size() - 1 && part.isEmpty())
            break;
        if (part.endsWith(QLatin1String(".mp3")) || part.endsWith(QLatin1String(".MP3")))
            ctx.state.playlist.append(part);
    }
    rebuildList(ctx);
    ctx.window.列表框->setSelection(static_cast<int>(ctx.state.playlist.size()) - 1);
}

void bindDropTarget(AppContext &ctx)
{
    ui::PlaylistBox *box = ctx.window.列表框;
    box->setAcceptDrops(true);
    QObject::connect(box, &ui::PlaylistBox::filesDropped, box,
                     [&ctx](const QString &text) { dropFiles(ctx, text); });
}

} // namespace tarvelo::playlist
