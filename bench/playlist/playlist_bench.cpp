// Times the list display with long playlists and measures its memory, each figure beside a
// plain QListWidget filled item by item with the same rows in the same run. See
// bench/README.md for how to run it and what each figure covers.
#include "app/context.h"
#include "app/sharedstate.h"
#include "desktop/tray.h"
#include "playback/random.h"
#include "playlist/addtracks.h"
#include "playlist/playlist.h"
#include "services/clock.h"
#include "services/nullservices.h"
#include "ui/dialogs.h"
#include "ui/mainwindow.h"
#include "ui/playlistbox.h"

#include <QApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QIcon>
#include <QListWidget>
#include <QMimeData>
#include <QUrl>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <vector>

using namespace tarvelo;

namespace {

constexpr int kLongList = 100'000;
constexpr int kBatch = 10'000;
constexpr int kRuns = 11;

// The file dialog, answering with whatever the benchmark put in.
class PreparedDialogs final : public ui::Dialogs
{
public:
    bool askOkCancel(const QString &, const QString &) override { return false; }
    void warn(const QString &, const QString &) override {}
    QStringList chooseFiles(const QString &, const QString &) override { return answer; }
    void beep() override {}
    QStringList answer;
};

// Paths as a music folder gives them: about 70 characters, some of them Chinese.
QStringList makePaths(int count, int salt)
{
    QStringList paths;
    paths.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int n = i + salt;
        paths << QStringLiteral("/home/user/Music/Artist %1/Album %2/%3 - %4 %5.mp3")
                     .arg(n % 997)
                     .arg(n % 31)
                     .arg(n % 20 + 1, 2, 10, QLatin1Char('0'))
                     .arg(n % 3 == 0 ? QStringLiteral("晴天的歌") : QStringLiteral("Song title"))
                     .arg(n);
    }
    return paths;
}

qint64 utf8Bytes(const QStringList &paths)
{
    qint64 bytes = 0;
    for (const QString &p : paths)
        bytes += p.toUtf8().size();
    return bytes;
}

// Bytes the program holds from malloc: small blocks on the heap plus large blocks, which
// glibc maps one by one.
size_t heapInUse()
{
    malloc_trim(0);
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

double medianMs(std::vector<double> runs)
{
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

// Runs `prepare` (not timed) and then `work` (timed) kRuns times; the median in ms.
double timeIt(const std::function<void()> &prepare, const std::function<void()> &work)
{
    std::vector<double> runs;
    for (int r = 0; r < kRuns; ++r) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        runs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return medianMs(runs);
}

// Lays out and paints a view the way the event loop would after a change, so that a
// deferred layout is not left out of the figure.
void settle(QAbstractItemView &view)
{
    if (view.model()->rowCount() > 0)
        view.visualRect(view.model()->index(0, 0));
    QCoreApplication::sendPostedEvents();
    view.viewport()->repaint();
}

void fillReference(QListWidget &list, const QStringList &paths, int firstNumber)
{
    for (int i = 0; i < paths.size(); ++i)
        list.addItem(playlist::rowText(firstNumber + i, paths.at(i)));
}

QList<QUrl> toUrls(const QStringList &paths)
{
    QList<QUrl> urls;
    urls.reserve(paths.size());
    for (const QString &p : paths)
        urls << QUrl::fromLocalFile(p);
    return urls;
}

// A drop delivered to a top-level widget's native window, as the platform delivers it.
void deliverDrop(QWidget &topLevel, QWidget &target, const QList<QUrl> &urls)
{
    QMimeData mime;
    mime.setUrls(urls);
    const QPoint at = target.mapTo(&topLevel, target.rect().center());
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(topLevel.windowHandle(), &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(topLevel.windowHandle(), &drop);
}

// What a drop onto a QListWidget costs when the rows are made one item each.
class ReferenceDropList final : public QListWidget
{
public:
    ReferenceDropList() { setAcceptDrops(true); }

protected:
    void dragEnterEvent(QDragEnterEvent *e) override { e->acceptProposedAction(); }
    void dragMoveEvent(QDragMoveEvent *e) override { e->acceptProposedAction(); }
    void dropEvent(QDropEvent *e) override
    {
        for (const QUrl &url : e->mimeData()->urls()) {
            const QString path = url.toLocalFile();
            if (path.endsWith(u".mp3") || path.endsWith(u".MP3"))
                addItem(playlist::rowText(count() + 1, path));
        }
        e->acceptProposedAction();
        setCurrentRow(count() - 1);
    }
};

void printRow(const char *figure, double target, double ours, double reference)
{
    std::printf("%-44s %10.2f %10.2f %12.2f %8.1fx  %s\n", figure, target, ours, reference,
                ours > 0 ? reference / ours : 0.0, ours <= target ? "within" : "OVER");
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    SharedState state;
    state.currentIndex = 1;
    ui::MainWindow window;
    services::NullAudioPlayer player;
    services::NullMixer mixer;
    services::SystemClock clock;
    PreparedDialogs dialogs;
    desktop::TrayIcon tray { QIcon() };
    playback::RandomSource random;
    AppContext ctx { state, window, player, mixer, clock, dialogs, tray, random };
    playlist::bindDropTarget(ctx);
    ui::PlaylistBox &box = *window.列表框;
    window.show();

    // The reference: a plain QListWidget of the same size in a window of its own.
    QWidget referenceWindow;
    ReferenceDropList reference;
    reference.setParent(&referenceWindow);
    reference.setGeometry(box.geometry());
    referenceWindow.resize(window.size());
    referenceWindow.show();
    QCoreApplication::processEvents();

    size_t before = heapInUse();
    const QStringList longList = makePaths(kLongList, 0);
    const double playlistBytes = static_cast<double>(heapInUse()) - static_cast<double>(before);
    const QStringList batch = makePaths(kBatch, kLongList);
    const qint64 pathBytes = utf8Bytes(longList);

    // Memory first, on a fresh heap. The playlist already holds its paths; what is counted
    // is the heap the display takes on top of them.
    state.playlist = longList;
    before = heapInUse();
    playlist::rebuildList(ctx);
    settle(box);
    const double oursBytes = static_cast<double>(heapInUse()) - static_cast<double>(before);
    before = heapInUse();
    fillReference(reference, longList, 1);
    settle(reference);
    const double referenceBytes = static_cast<double>(heapInUse()) - static_cast<double>(before);
    reference.clear();
    box.clearRows();
    state.playlist.clear();

    std::printf("Playlist benchmark: %d runs each, median; offscreen platform\n", kRuns);
    std::printf("%d paths of %lld UTF-8 bytes in all (%.1f per path)\n\n", kLongList,
                static_cast<long long>(pathBytes), static_cast<double>(pathBytes) / kLongList);
    std::printf("%-44s %10s %10s %12s %9s\n", "figure", "target", "Tarvelo", "QListWidget",
                "ref/ours");

    const double rebuild = timeIt([&] { state.playlist = longList; },
                                  [&] {
                                      playlist::rebuildList(ctx);
                                      settle(box);
                                  });
    const double rebuildRef = timeIt([&] { reference.clear(); },
                                     [&] {
                                         reference.clear();
                                         fillReference(reference, longList, 1);
                                         settle(reference);
                                     });
    printRow("rebuild 100,000 tracks (ms)", 50, rebuild, rebuildRef);

    for (const int start : { 0, kLongList }) {
        const QStringList existing = longList.mid(0, start);
        const double append = timeIt(
            [&] {
                state.playlist = existing;
                playlist::rebuildList(ctx);
                settle(box);
                dialogs.answer = batch;
            },
            [&] {
                playlist::addTracksCommand(ctx);
                settle(box);
            });
        const double appendRef = timeIt(
            [&] {
                reference.clear();
                fillReference(reference, existing, 1);
                settle(reference);
            },
            [&] {
                fillReference(reference, batch, start + 1);
                settle(reference);
            });
        printRow(start == 0 ? "dialog append 10,000 to an empty list (ms)"
                            : "dialog append 10,000 to 100,000 tracks (ms)",
                 100, append, appendRef);
    }

    const QList<QUrl> dropUrls = toUrls(batch);
    const double drop = timeIt(
        [&] {
            state.playlist.clear();
            box.clearRows();
        },
        [&] {
            deliverDrop(window, box, dropUrls);
            settle(box);
        });
    const double dropRef = timeIt([&] { reference.clear(); },
                                  [&] {
                                      deliverDrop(referenceWindow, reference, dropUrls);
                                      settle(reference);
                                  });
    if (state.playlist.size() != kBatch)
        std::printf("warning: the drop added %lld tracks, not %d\n",
                    static_cast<long long>(state.playlist.size()), kBatch);
    printRow("drop 10,000 files, event to painted (ms)", 100, drop, dropRef);

    std::printf("\n%-44s %10s %10s %12s %9s\n", "memory of the display, 100,000 tracks", "limit",
                "Tarvelo", "QListWidget", "ref/ours");
    const double limit = 2.0 * static_cast<double>(pathBytes);
    std::printf("%-44s %10.0f %10.0f %12.0f %8.1fx  %s\n", "bytes on the heap", limit, oursBytes,
                referenceBytes, oursBytes > 0 ? referenceBytes / oursBytes : 0.0,
                oursBytes <= limit ? "within" : "OVER");
    std::printf("%-44s %10.2f %10.2f %12.2f\n", "as a multiple of the paths' bytes", 2.0,
                oursBytes / static_cast<double>(pathBytes),
                referenceBytes / static_cast<double>(pathBytes));
    std::printf("%-44s %10s %10.0f %12s\n", "the playlist itself, for comparison", "-",
                playlistBytes, "-");
    return 0;
}
