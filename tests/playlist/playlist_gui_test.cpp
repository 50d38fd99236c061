// The playlist on real widgets (offscreen): the list display, the add dialog, drops.
#include "app/context.h"
#include "app/sharedstate.h"
#include "desktop/tray.h"
#include "fakeaudioplayer.h"
#include "fakeclock.h"
#include "fakemixer.h"
#include "playback/random.h"
#include "playlist/addtracks.h"
#include "playlist/playlist.h"
#include "playlist/wiring.h"
#include "scripteddialogs.h"
#include "ui/mainwindow.h"
#include "ui/playlistbox.h"

#include <QApplication>
#include <QDropEvent>
#include <QIcon>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <QWindow>

#include <gtest/gtest.h>

#include <climits>

namespace tarvelo::playlist {
namespace {

using testing::ScriptedDialogs;

class PlaylistGui : public ::testing::Test
{
protected:
    void SetUp() override
    {
        state.currentIndex = 1;
        bindDropTarget(ctx);
        connectPlaylistInput(ctx);
    }

    ui::PlaylistBox &box() { return *window.列表框; }

    QStringList rows()
    {
        QStringList texts;
        for (int r = 0; r < box().rowCount(); ++r)
            texts << box().rowText(r);
        return texts;
    }

    // A playlist of `n` tracks /m/t1.mp3 … shown in the list.
    void fill(int n)
    {
        state.playlist.clear();
        for (int i = 1; i <= n; ++i)
            state.playlist << QStringLiteral("/m/t%1.mp3").arg(i);
        rebuildList(ctx);
    }

    SharedState state;
    ui::MainWindow window;
    testing::FakeAudioPlayer player;
    testing::FakeMixer mixer;
    testing::FakeClock clock;
    ScriptedDialogs dialogs;
    desktop::TrayIcon tray { QIcon() };
    playback::RandomSource random;
    AppContext ctx { state, window, player, mixer, clock, dialogs, tray, random };
};

TEST_F(PlaylistGui, SelectionIsClampedToTheRows)
{
    const struct
    {
        int rows;
        int written;
        int read;
    } cases[] = {
        { 3, 0, 0 },   { 3, 2, 2 },        { 3, 5, 2 },  { 3, INT_MAX, 2 }, { 3, -1, -1 },
        { 3, -7, -1 }, { 3, INT_MIN, -1 }, { 0, 0, -1 }, { 0, 4, -1 },      { 0, -1, -1 },
    };
    for (const auto &c : cases) {
        fill(c.rows);
        box().setSelection(1);
        box().setSelection(c.written);
        EXPECT_EQ(box().selection(), c.read) << c.rows << " rows, wrote " << c.written;
    }
}

TEST_F(PlaylistGui, RebuildShowsThePlaylistInOrderAndClearsTheSelection)
{
    state.playlist = { QStringLiteral("/z/b.mp3"), QStringLiteral("D:\\a.mp3"),
                       QStringLiteral("D:\\a.mp3"), QStringLiteral("whole.mp3") };
    rebuildList(ctx);
    box().setSelection(2);
    rebuildList(ctx);
    EXPECT_EQ(rows(),
              QStringList({ QStringLiteral("1:   b.mp3"), QStringLiteral("2:   a.mp3"),
                            QStringLiteral("3:   a.mp3"), QStringLiteral("4:   whole.mp3") }));
    EXPECT_EQ(box().selection(), -1);

    // The rows show the playlist as it was rebuilt, until the next rebuild.
    state.playlist.removeFirst();
    state.playlist[0] = QStringLiteral("/changed.mp3");
    EXPECT_EQ(box().rowCount(), 4);
    EXPECT_EQ(box().rowText(0), QStringLiteral("1:   b.mp3"));
    EXPECT_EQ(box().model()->data(box().model()->index(1, 0)).toString(),
              QStringLiteral("2:   a.mp3"));

    state.playlist.clear();
    rebuildList(ctx);
    EXPECT_EQ(box().rowCount(), 0);
    EXPECT_EQ(box().selection(), -1);
    EXPECT_EQ(box().rowText(0), QString());
}

TEST_F(PlaylistGui, AddingAppendsNumberedRowsBeforeThePathsWithoutRebuilding)
{
    fill(9);
    box().setSelection(4);
    state.currentIndex = 5;
    const QStringList before = rows();
    const QStringList chosen = { QStringLiteral("/new/x.mp3"), QStringLiteral("/new/y.mp3"),
                                 QStringLiteral("/m/t1.mp3") };
    dialogs.fileChoices.push_back(chosen);

    QSignalSpy resets(box().model(), &QAbstractItemModel::modelReset);
    QList<qsizetype> playlistSizeAtInsert;
    QObject::connect(box().model(), &QAbstractItemModel::rowsInserted, &box(),
                     [&] { playlistSizeAtInsert << state.playlist.size(); });

    addTracksCommand(ctx);

    ASSERT_EQ(dialogs.calls.size(), 1);
    EXPECT_EQ(dialogs.calls[0].kind, ScriptedDialogs::Kind::ChooseFiles);
    EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("请选择要加入播放列表的MP3文件"));
    EXPECT_EQ(dialogs.calls[0].text, QStringLiteral("mp3文件(*.mp3)"));

    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(playlistSizeAtInsert, QList<qsizetype>({ 9 }));
    const QStringList now = rows();
    ASSERT_EQ(now.size(), 12);
    EXPECT_EQ(now.mid(0, 9), before);
    EXPECT_EQ(now.mid(9), QStringList({ QStringLiteral("10:  x.mp3"), QStringLiteral("11:  y.mp3"),
                                        QStringLiteral("12:  t1.mp3") }));
    EXPECT_EQ(state.playlist.mid(9), chosen);
    EXPECT_EQ(box().selection(), 4);
    EXPECT_EQ(state.currentIndex, 5);
    EXPECT_TRUE(player.log.isEmpty());
}

TEST_F(PlaylistGui, TheDialogsAnswerIsTakenWholeOrNotAtAll)
{
    // Far more names than 61,440 bytes hold: none may be lost.
    QStringList many;
    for (int i = 0; i < 3000; ++i)
        many << QStringLiteral("/home/user/Music/A rather long folder name/track %1.mp3").arg(i);

    const struct
    {
        const char *what;
        QStringList chosen;
    } cases[] = { { "cancel", {} }, { "thousands of files", many } };
    for (const auto &c : cases) {
        fill(2);
        box().setSelection(1);
        dialogs.fileChoices.push_back(c.chosen);
        addTracksCommand(ctx);
        EXPECT_EQ(state.playlist.size(), 2 + c.chosen.size()) << c.what;
        EXPECT_EQ(box().rowCount(), 2 + c.chosen.size()) << c.what;
        EXPECT_EQ(state.playlist.mid(2), c.chosen) << c.what;
        EXPECT_EQ(box().selection(), 1) << c.what;
    }
    EXPECT_EQ(box().rowText(3001), QStringLiteral("3002: track 2999.mp3"));
    EXPECT_TRUE(player.log.isEmpty());
}

TEST_F(PlaylistGui, DropTakesMp3PathsRebuildsAndSelectsTheLastRow)
{
    const struct
    {
        const char *what;
        int tracksBefore;
        QString text;
        QStringList added;
    } cases[] = {
        { "mixed case and a folder",
          0,
          QStringLiteral("/m/a.mp3\r\n/m/b.MP3\r\n/m/c.Mp3\r\n/m/folder\r\n"),
          { QStringLiteral("/m/a.mp3"), QStringLiteral("/m/b.MP3") } },
        { "one non-MP3 on an empty list", 0, QStringLiteral("/m/notes.txt"), {} },
        { "nothing taken on a list", 3, QStringLiteral("/m/notes.txt"), {} },
        { "one path alone", 1, QStringLiteral("/m/x.mp3"), { QStringLiteral("/m/x.mp3") } },
        { "trailing separator leaves no empty part",
          0,
          QStringLiteral("/m/x.mp3\r\n"),
          { QStringLiteral("/m/x.mp3") } },
        { "empty parts and bare CR",
          0,
          QStringLiteral("\r\n\r\n/m/y.mp3\r/m/z.mp3\r\n.mp3"),
          { QStringLiteral("/m/y.mp3\r/m/z.mp3"), QStringLiteral(".mp3") } },
        { "empty text", 2, QString(), {} },
        { "extension inside the name only", 0, QStringLiteral("/m/a.mp3.txt\r\n/m/mp3"), {} },
    };
    for (const auto &c : cases) {
        fill(c.tracksBefore);
        const QStringList old = state.playlist;
        state.currentIndex = 1;
        box().setSelection(0);
        dropFiles(ctx, c.text);

        EXPECT_EQ(state.playlist, old + c.added) << c.what;
        ASSERT_EQ(box().rowCount(), state.playlist.size()) << c.what;
        if (!state.playlist.isEmpty()) {
            EXPECT_EQ(box().rowText(box().rowCount() - 1),
                      rowText(static_cast<int>(state.playlist.size()), state.playlist.last()))
                << c.what;
        }
        EXPECT_EQ(box().selection(), static_cast<int>(state.playlist.size()) - 1) << c.what;
        EXPECT_EQ(state.currentIndex, 1) << c.what;
    }
    EXPECT_TRUE(player.log.isEmpty());
}

TEST_F(PlaylistGui, LeftPressOpensTheDialogOnlyOnAnEmptyList)
{
    for (const int tracks : { 0, 3 }) {
        fill(tracks);
        dialogs.calls.clear();
        dialogs.fileChoices.push_back({ QStringLiteral("/m/new.mp3") });
        QTest::mousePress(box().viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(box().viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        dialogs.fileChoices.clear();

        EXPECT_EQ(dialogs.callsOf(ScriptedDialogs::Kind::ChooseFiles).size(), tracks == 0 ? 1 : 0)
            << tracks;
        EXPECT_EQ(state.playlist.size(), tracks == 0 ? 1 : tracks) << tracks;
        EXPECT_EQ(box().rowCount(), state.playlist.size()) << tracks;
    }
    EXPECT_TRUE(player.log.isEmpty());
}

TEST_F(PlaylistGui, RowsAreOneLineOfTheFontPlusOnePixel)
{
    fill(30);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const int line = box().fontMetrics().height();
    EXPECT_EQ(box().visualRect(box().model()->index(0, 0)).height(), line + 1);
    EXPECT_EQ(box().visualRect(box().model()->index(29, 0)).top(), 29 * (line + 1));
    EXPECT_EQ(box().height(), 222);
    EXPECT_EQ(box().verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(box().selectionMode(), QAbstractItemView::SingleSelection);
}

// Drags and drops delivered to the main window's native window, as the platform delivers
// them, so that Qt itself picks the widget under the pointer that accepts drops.
class RealDrop : public PlaylistGui
{
protected:
    void SetUp() override
    {
        PlaylistGui::SetUp();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // Returns whether the drag was accepted on entering the list.
    bool drop(const QList<QUrl> &urls)
    {
        QMimeData mime;
        mime.setUrls(urls);
        QWindow *native = window.windowHandle();
        const QPointF at = box().mapTo(&window, box().rect().center());
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(native, &enter);
        const bool accepted = enter.isAccepted();
        QDropEvent dropped(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(native, &dropped);
        return accepted;
    }
};

TEST_F(RealDrop, LocalFilesReachTheListAsOneDropText)
{
    QSignalSpy texts(&box(), &ui::PlaylistBox::filesDropped);
    const QUrl web(QStringLiteral("https://example.org/c.mp3"));
    const struct
    {
        const char *what;
        QList<QUrl> urls;
        bool accepted;
        QStringList dropTexts;
    } cases[] = {
        { "one file",
          { QUrl::fromLocalFile(QStringLiteral("/m/a.mp3")) },
          true,
          { QStringLiteral("/m/a.mp3") } },
        { "several with a web link among them",
          { QUrl::fromLocalFile(QStringLiteral("/m/空 格.mp3")), web,
            QUrl::fromLocalFile(QStringLiteral("/m/b.txt")),
            QUrl::fromLocalFile(QStringLiteral("/m/c.MP3")) },
          true,
          { QStringLiteral("/m/空 格.mp3\r\n/m/b.txt\r\n/m/c.MP3\r\n") } },
        { "web links only", { web }, false, {} },
    };
    for (const auto &c : cases) {
        texts.clear();
        EXPECT_EQ(drop(c.urls), c.accepted) << c.what;
        QStringList got;
        for (const QList<QVariant> &args : std::as_const(texts))
            got << args.at(0).toString();
        EXPECT_EQ(got, c.dropTexts) << c.what;
    }
    EXPECT_EQ(state.playlist,
              QStringList({ QStringLiteral("/m/a.mp3"), QStringLiteral("/m/空 格.mp3"),
                            QStringLiteral("/m/c.MP3") }));
    EXPECT_EQ(box().selection(), 2);
}

} // namespace
} // namespace tarvelo::playlist
