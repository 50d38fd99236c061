#include "playlist/addtracks.h"

#include "app/context.h"
#include "app/sharedstate.h"
#include "playlist/playlist.h"
#include "ui/dialogs.h"
#include "ui/mainwindow.h"
#include "ui/playlistbox.h"

#include <QStringView>

namespace tarvelo::playlist {

namespace {

bool isMp3Name(QStringView part)
{
    // An exact comparison: ".Mp3" and the like are not taken.
    return part.endsWith(u".mp3") || part.endsWith(u".MP3");
}

} // namespace

void addTracksCommand(AppContext &ctx)
{
    const QStringList chosen = ctx.dialogs.chooseFiles(
        QStringLiteral("请选择要加入播放列表的MP3文件"), QStringLiteral("mp3文件(*.mp3)"));
    if (chosen.isEmpty())
        return;
    // The size is read after the dialog has closed: a command run from its modal loop (a
    // scheduled period, a hotkey) may have changed the playlist meanwhile.
    const qsizetype before = ctx.state.playlist.size();
    QStringList rows;
    rows.reserve(chosen.size());
    for (qsizetype j = 0; j < chosen.size(); ++j)
        rows.append(rowText(static_cast<int>(before + j + 1), chosen.at(j)));
    ctx.window.列表框->appendRows(rows);
    ctx.state.playlist.append(chosen);
}

void dropFiles(AppContext &ctx, const QString &dropText)
{
    const QStringView text(dropText);
    const QStringView separator(u"\r\n");
    QStringList &playlist = ctx.state.playlist;
    qsizetype from = 0;
    while (from < text.size()) {
        qsizetype end = text.indexOf(separator, from);
        if (end < 0)
            end = text.size();
        const QStringView part = text.sliced(from, end - from);
        if (isMp3Name(part))
            playlist.append(part.toString());
        from = end + separator.size();
    }
    rebuildList(ctx);
    ctx.window.列表框->setSelection(static_cast<int>(playlist.size()) - 1);
}

void bindDropTarget(AppContext &ctx)
{
    ui::PlaylistBox *box = ctx.window.列表框;
    box->setAcceptFileDrops(true);
    QObject::connect(box, &ui::PlaylistBox::filesDropped, box,
                     [&ctx](const QString &text) { dropFiles(ctx, text); });
}

} // namespace tarvelo::playlist
