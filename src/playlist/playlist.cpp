#include "playlist/playlist.h"

#include "app/context.h"
#include "app/sharedstate.h"
#include "ui/mainwindow.h"
#include "ui/playlistbox.h"

namespace tarvelo::playlist {

namespace {

// Where the display name of a path begins: just after its last separator, or 0.
qsizetype nameStart(const QString &path)
{
    const QChar *begin = path.constData();
    for (const QChar *c = begin + path.size(); c != begin; --c) {
        const char16_t u = c[-1].unicode();
        if (u == u'/' || u == u'\\')
            return c - begin;
    }
    return 0;
}

// The number, the colon and the padding take five characters up to track 999.
constexpr qsizetype kNumberColumn = 5;

} // namespace

QString displayName(const QString &path)
{
    const qsizetype start = nameStart(path);
    return start == 0 ? path : path.mid(start);
}

QString rowText(int trackNumber, const QString &path)
{
    const QString number = QString::number(trackNumber);
    const QStringView name = QStringView(path).mid(nameStart(path));
    const qsizetype head = number.size() + 2;
    const qsizetype padding = head < kNumberColumn ? kNumberColumn - head : 0;

    QString text;
    text.reserve(head + padding + name.size());
    text += number;
    text += QLatin1String(": ");
    for (qsizetype i = 0; i < padding; ++i)
        text += QLatin1Char(' ');
    text += name;
    return text;
}

void rebuildList(AppContext &ctx)
{
    ctx.window.列表框->setTrackRows(ctx.state.playlist, &rowText);
}

} // namespace tarvelo::playlist
