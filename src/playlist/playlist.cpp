#include "playlist/playlist.h"

#include "app/context.h"
#include "app/sharedstate.h"
#include "ui/mainwindow.h"
#include "ui/playlistbox.h"

namespace tarvelo::playlist {

QString displayName(const QString &path)
{
    // Working on characters rather than bytes, the trail byte of a double-byte character is
    // never taken for a "\".
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype backslash = path.lastIndexOf(QLatin1Char('\\'));
    const qsizetype last = qMax(slash, backslash);
    return last < 0 ? path : path.mid(last + 1);
}

QString rowText(int trackNumber, const QString &path)
{
    QString text = QString::number(trackNumber) + QStringLiteral(": ");
    if (text.size() < 5)
        text += QString(5 - text.size(), QLatin1Char(' '));
    return text + displayName(path);
}

void rebuildList(AppContext &ctx)
{
    const QStringList &tracks = ctx.state.playlist;
    const qsizetype size = tracks.size();
    QStringList rows;
    rows.reserve(size);
    for (qsizetype i = 0; i < size; ++i)
        rows.append(rowText(static_cast<int>(i + 1), tracks.at(i)));
    ctx.window.列表框->setRows(std::move(rows));
}

} // namespace tarvelo::playlist
