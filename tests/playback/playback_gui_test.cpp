// The transport commands, play modes, status texts, fades, feedback dispatch and seeking,
// driven through the main window's real controls with the services replaced by doubles.

#include "guiapp.h"
#include "playback/feedback.h"
#include "playback/transport.h"
#include "playback/wiring.h"
#include "playlist/playlist.h"
#include "services/feedback.h"
#include "ui/balloontip.h"
#include "ui/feedbacklabel.h"
#include "ui/playlistbox.h"
#include "ui/progressslider.h"
#include "volume/fades.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QPushButton>
#include <QScreen>

#include <gtest/gtest.h>

#include <functional>

namespace tarvelo::testing {
namespace {

using Step = std::function<void(GuiApp &)>;

class Playback : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app.state.currentIndex = 1;
        app.mixer.SelectMixerLine(services::Mixer::kMasterOutputLine);
        app.state.hotkeyIds = { 33001, 33002, 33003, 33004 };
        playback::connectTransport(app.ctx);
        app.tray.setTrayTip(QStringLiteral("Tarvelo"));
    }

    void setTracks(const QStringList &paths)
    {
        app.state.playlist = paths;
        playlist::rebuildList(app.ctx);
    }

    // A feedback value sent to the label, as the hotkeys do; the player's own values are
    // posted and arrive with processEvents.
    void deliver(int value)
    {
        services::FeedbackEvent e(value);
        QCoreApplication::sendEvent(app.window.标签_反馈事件, &e);
    }

    QString caption() const { return app.window.按钮_播放->text(); }
    QString tip() const { return app.tray.tip(); }
    ui::BalloonTip *balloon() const { return app.window.气球提示框; }
    ui::ProgressSlider *slider() const { return app.window.滑块条_播放进度; }
    QString lastPlay() const
    {
        for (qsizetype i = app.player.log.size() - 1; i >= 0; --i)
            if (app.player.log.at(i).startsWith(QLatin1String("PlayFile")))
                return app.player.log.at(i);
        return {};
    }
    qsizetype plays() const
    {
        return std::count_if(app.player.log.cbegin(), app.player.log.cend(), [](const QString &l) {
            return l.startsWith(QLatin1String("PlayFile"));
        });
    }

    GuiApp app;
};

QString play(const char *path, int start)
{
    return QStringLiteral("PlayFile(%1,%2)").arg(QLatin1String(path)).arg(start);
}

void clickPlay(GuiApp &a)
{
    a.window.按钮_播放->click();
}
void clickNext(GuiApp &a)
{
    a.window.按钮_下一曲->click();
}
void clickPrevious(GuiApp &a)
{
    a.window.按钮_上一曲->click();
}
void clickStop(GuiApp &a)
{
    a.window.按钮_停止->click();
}

// --- State table -----------------------------------------------------------------------

struct Transition
{
    const char *what;
    Step step;
    int state;
    const char *caption;
    const char *tip;
    const char *balloon;  // nullptr: none shown by this step
    const char *playFile; // the PlayFile this step made, nullptr: none
};

TEST_F(Playback, StateTableCaptionsTipsAndBalloon)
{
    setTracks({ QStringLiteral("/music/a.mp3"), QStringLiteral("/music/b.mp3") });
    const Transition table[] = {
        // The slider starts at 1, so the first start after launch is 1 % in.
        { "play after launch", clickPlay, 1, "暂停", "播放中:a.mp3", "a.mp3",
          "PlayFile(/music/a.mp3,1)" },
        { "pause", clickPlay, -1, "继续", "暂停中:a.mp3", nullptr, nullptr },
        { "resume", clickPlay, 1, "暂停", "播放中:a.mp3", nullptr, nullptr },
        { "next", clickNext, 1, "暂停", "播放中:b.mp3", "b.mp3", "PlayFile(/music/b.mp3,0)" },
        { "stop", clickStop, 0, "播放", "停止中:b.mp3", nullptr, nullptr },
        // A stop leaves the slider at 0: the next start is from the beginning.
        { "play after stop", clickPlay, 1, "暂停", "播放中:b.mp3", "b.mp3",
          "PlayFile(/music/b.mp3,0)" },
        { "pause again", clickPlay, -1, "继续", "暂停中:b.mp3", nullptr, nullptr },
        { "previous while paused", clickPrevious, 1, "暂停", "播放中:a.mp3", "a.mp3",
          "PlayFile(/music/a.mp3,0)" },
        { "tray stop", [](GuiApp &a) { a.window.托盘_停止->trigger(); }, 0, "播放", "停止中:a.mp3",
          nullptr, nullptr },
        { "double click row 2",
          [](GuiApp &a) {
              a.window.列表框->setSelection(1);
              emit a.window.列表框->rowDoubleClicked(1);
          },
          1, "暂停", "播放中:b.mp3", "b.mp3", "PlayFile(/music/b.mp3,0)" },
        { "tray pause", [](GuiApp &a) { a.window.托盘_暂停->trigger(); }, -1, "继续",
          "暂停中:b.mp3", nullptr, nullptr },
    };
    const QScreen *screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QPoint tail(screen->geometry().width() / 2, 0);
    for (const Transition &t : table) {
        SCOPED_TRACE(t.what);
        balloon()->hide();
        const qsizetype before = app.player.log.size();
        t.step(app);
        EXPECT_EQ(app.player.state, t.state);
        EXPECT_EQ(caption(), QString::fromUtf8(t.caption));
        EXPECT_EQ(tip(), QString::fromUtf8(t.tip));
        EXPECT_EQ(balloon()->isVisible(), t.balloon != nullptr);
        if (t.balloon) {
            EXPECT_EQ(balloon()->text(), QString::fromUtf8(t.balloon));
            EXPECT_EQ(balloon()->tail(), tail);
        }
        const QStringList made = app.player.log.mid(before).filter(QStringLiteral("PlayFile"));
        EXPECT_EQ(made,
                  t.playFile ? QStringList { QString::fromUtf8(t.playFile) } : QStringList {});
    }
}

TEST_F(Playback, ButtonsMoveTheFocusToTheList)
{
    setTracks({ QStringLiteral("/music/a.mp3") });
    app.window.show();
    app.window.activateWindow();
    QApplication::setActiveWindow(&app.window);
    for (QPushButton *b : { app.window.按钮_播放, app.window.按钮_下一曲, app.window.按钮_上一曲,
                            app.window.按钮_停止 }) {
        SCOPED_TRACE(b->objectName().toStdString());
        b->setFocus();
        b->click();
        EXPECT_TRUE(app.window.列表框->hasFocus());
    }
}

TEST_F(Playback, BalloonIsReplacedAndEmptyNameShowsNone)
{
    setTracks({ QStringLiteral("/music/a.mp3"), QStringLiteral("/music/dir/") });
    clickNext(app); // track 2, whose name is empty
    EXPECT_FALSE(balloon()->isVisible());
    EXPECT_EQ(tip(), QStringLiteral("播放中:"));
    clickNext(app);
    EXPECT_TRUE(balloon()->isVisible());
    EXPECT_EQ(balloon()->text(), QStringLiteral("a.mp3"));
    clickPrevious(app);
    // The empty name leaves the shown balloon alone; a real one replaces it.
    EXPECT_EQ(balloon()->text(), QStringLiteral("a.mp3"));
}

// --- Play modes -------------------------------------------------------------------------

enum class Mode { Sequential, Random, SingleLoop };

void setMode(GuiApp &a, Mode m)
{
    a.window.随机播放->setChecked(m == Mode::Random);
    a.window.单曲循环->setChecked(m == Mode::SingleLoop);
}

struct ModeCase
{
    const char *what;
    Mode mode;
    int tracks;
    int current;
    Step step;
    int expectedIndex;
};

TEST_F(Playback, PlayModesPickTheFollowingTrack)
{
    const Step hotkeyNext = [](GuiApp &a) {
        services::FeedbackEvent e(33002);
        QCoreApplication::sendEvent(a.window.标签_反馈事件, &e);
    };
    const Step endOfTrack = [](GuiApp &a) {
        a.player.post(30);
        a.player.finish();
        QCoreApplication::processEvents();
    };
    const ModeCase table[] = {
        { "sequential last wraps to first", Mode::Sequential, 3, 3, clickNext, 1 },
        { "sequential middle", Mode::Sequential, 3, 1, clickNext, 2 },
        { "sequential one track replays it", Mode::Sequential, 1, 1, clickNext, 1 },
        { "sequential end of track", Mode::Sequential, 3, 2, endOfTrack, 3 },
        { "previous on 1, sequential", Mode::Sequential, 3, 1, clickPrevious, 3 },
        { "previous on 1, random", Mode::Random, 3, 1, clickPrevious, 3 },
        { "previous on 1, single loop", Mode::SingleLoop, 3, 1, clickPrevious, 3 },
        { "previous ignores single loop", Mode::SingleLoop, 3, 3, clickPrevious, 2 },
        { "random with one track", Mode::Random, 1, 1, clickNext, 1 },
        { "single loop next button", Mode::SingleLoop, 3, 2, clickNext, 2 },
        { "single loop hotkey", Mode::SingleLoop, 3, 2, hotkeyNext, 2 },
        { "single loop end of track", Mode::SingleLoop, 3, 2, endOfTrack, 2 },
    };
    for (const ModeCase &c : table) {
        SCOPED_TRACE(c.what);
        QStringList paths;
        for (int i = 1; i <= c.tracks; ++i)
            paths << QStringLiteral("/m/%1.mp3").arg(i);
        setTracks(paths);
        setMode(app, c.mode);
        app.state.currentIndex = c.current;
        app.player.PlayFile(paths.at(c.current - 1), 0, app.window.标签_反馈事件);
        c.step(app);
        EXPECT_EQ(app.state.currentIndex, c.expectedIndex);
        EXPECT_EQ(lastPlay(), QStringLiteral("PlayFile(/m/%1.mp3,0)").arg(c.expectedIndex));
        EXPECT_EQ(app.window.列表框->selection(), c.expectedIndex - 1);
        EXPECT_EQ(caption(), QStringLiteral("暂停"));
    }
}

TEST_F(Playback, RandomModePicksOnePlusRModSize)
{
    setTracks(
        { QStringLiteral("/m/1.mp3"), QStringLiteral("/m/2.mp3"), QStringLiteral("/m/3.mp3") });
    setMode(app, Mode::Random);
    app.random.seed(4711);
    playback::RandomSource reference;
    reference.seed(4711);
    bool repeated = false;
    for (int i = 0; i < 30; ++i) {
        const int before = app.state.currentIndex;
        clickNext(app);
        EXPECT_EQ(app.state.currentIndex, 1 + reference.next() % 3);
        repeated = repeated || app.state.currentIndex == before;
    }
    // There is no history: the current track can come again.
    EXPECT_TRUE(repeated);
}

TEST_F(Playback, ModeTogglesKeepAtMostOneTicked)
{
    struct Case
    {
        const char *sequence; // r: random item, s: single-loop item
        bool random;
        bool single;
    };
    const Case table[] = {
        { "r", true, false },    { "s", false, true },   { "rs", false, true },
        { "sr", true, false },   { "rr", false, false }, { "rss", false, false },
        { "srsr", true, false },
    };
    for (const Case &c : table) {
        SCOPED_TRACE(c.sequence);
        setMode(app, Mode::Sequential);
        for (const char *p = c.sequence; *p; ++p)
            (*p == 'r' ? app.window.随机播放 : app.window.单曲循环)->trigger();
        EXPECT_EQ(app.window.随机播放->isChecked(), c.random);
        EXPECT_EQ(app.window.单曲循环->isChecked(), c.single);
    }
}

TEST_F(Playback, EmptyListOpensTheAddDialogAndPlaysNothing)
{
    const std::pair<const char *, Step> commands[] = {
        { "play", clickPlay },
        { "next", clickNext },
        { "previous", clickPrevious },
        { "play hotkey",
          [](GuiApp &a) {
              services::FeedbackEvent e(33001);
              QCoreApplication::sendEvent(a.window.标签_反馈事件, &e);
          } },
    };
    for (const auto &[what, step] : commands) {
        SCOPED_TRACE(what);
        setTracks({});
        app.dialogs.files.push_back({ QStringLiteral("/m/new.mp3") });
        const qsizetype asked = app.dialogs.chooserTitles.size();
        step(app);
        EXPECT_EQ(app.dialogs.chooserTitles.size(), asked + 1);
        EXPECT_EQ(app.state.playlist, QStringList { QStringLiteral("/m/new.mp3") });
        EXPECT_EQ(plays(), 0);
        EXPECT_EQ(caption(), QStringLiteral("播放"));
    }
    setTracks({});
    clickStop(app);
    EXPECT_EQ(tip(), QStringLiteral("Tarvelo"));
    EXPECT_EQ(caption(), QStringLiteral("播放"));
    EXPECT_EQ(app.dialogs.chooserTitles.size(), 4);
}

// --- Volume fades -------------------------------------------------------------------------

TEST_F(Playback, FadeLevelSequences)
{
    struct Case
    {
        int level;
        QList<int> out;
        QList<int> in;
    };
    const Case table[] = {
        { 65535,
          { 58982, 52429, 45876, 39323, 32770, 26217, 19664, 13111, 6558, 5, 0 },
          { 6553, 13106, 19659, 26212, 32765, 39318, 45871, 52424, 58977, 65530 } },
        { 7, { 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 0 }, { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 } },
        { 0, { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 }, { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 } },
    };
    for (const Case &c : table) {
        SCOPED_TRACE(c.level);
        app.mixer.volume[0] = 12345; // the right channel is the one kept
        app.mixer.volume[1] = c.level;
        for (const auto &[fade, expected] : { std::pair { &volume::fadeOutVolume, c.out },
                                              std::pair { &volume::fadeInVolume, c.in } }) {
            app.mixer.writes.clear();
            app.clock.sleeps.clear();
            fade(app.ctx);
            QList<int> written;
            for (const auto &[l, r] : app.mixer.writes) {
                EXPECT_EQ(l, r);
                written << l;
            }
            EXPECT_EQ(written, expected);
            EXPECT_EQ(app.clock.sleeps, QList<int>(10, 100));
        }
        EXPECT_EQ(app.state.savedVolume, c.level);
        EXPECT_EQ(app.state.fadeStep, c.level / 10);
    }
}

TEST_F(Playback, PauseAndResumeRestoreTheLevelSavedAtPause)
{
    setTracks({ QStringLiteral("/m/a.mp3") });
    app.mixer.volume[0] = app.mixer.volume[1] = 30000;
    clickPlay(app);
    clickPlay(app); // pause: fades out, pauses, puts the level back
    EXPECT_EQ(app.player.state, -1);
    EXPECT_EQ(app.mixer.writes.last(), qMakePair(30000, 30000));
    EXPECT_EQ(app.mixer.writes.size(), 12);

    // The user changes the volume while paused; resuming goes back to the level of the pause.
    app.mixer.volume[0] = app.mixer.volume[1] = 50000;
    app.mixer.writes.clear();
    clickPlay(app);
    EXPECT_EQ(app.player.state, 1);
    ASSERT_EQ(app.mixer.writes.size(), 11);
    EXPECT_EQ(app.mixer.writes.first(), qMakePair(0, 0));
    EXPECT_EQ(app.mixer.writes.at(1), qMakePair(3000, 3000));
    EXPECT_EQ(app.mixer.writes.last(), qMakePair(30000, 30000));
    EXPECT_EQ(
        app.player.log.mid(app.player.log.size() - 2),
        (QStringList { QStringLiteral("SetPauseState(1)"), QStringLiteral("SetPauseState(0)") }));
}

TEST_F(Playback, PauseThenStopLeavesTheVolumeFromBeforeThePause)
{
    setTracks({ QStringLiteral("/m/a.mp3") });
    app.mixer.volume[0] = app.mixer.volume[1] = 41000;
    clickPlay(app);
    clickPlay(app);
    const qsizetype writes = app.mixer.writes.size();
    clickStop(app);
    EXPECT_EQ(app.player.state, 0);
    EXPECT_EQ(caption(), QStringLiteral("播放"));
    EXPECT_EQ(app.mixer.volume[1], 41000);
    EXPECT_EQ(app.mixer.writes.size(), writes); // stop touches no volume
}

TEST_F(Playback, PauseWithoutMixerStillPauses)
{
    setTracks({ QStringLiteral("/m/a.mp3") });
    app.mixer.open = false;
    clickPlay(app);
    clickPlay(app);
    EXPECT_EQ(app.player.state, -1);
    EXPECT_EQ(app.clock.sleeps.size(), 10);
    clickPlay(app);
    EXPECT_EQ(app.player.state, 1);
}

// --- Feedback dispatch --------------------------------------------------------------------

TEST_F(Playback, FeedbackTable)
{
    struct Case
    {
        const char *what;
        int value;
        int sliderPosition; // it starts at 17
        int state;
        int currentIndex;
        bool newPlay;
    };
    const Case table[] = {
        { "progress", 42, 42, 1, 2, false },
        { "progress 0 keeps 0, thumb at 1", 0, 0, 1, 2, false },
        { "end of track runs next", 100, 100, 1, 3, true },
        { "hotkey 1 pauses", 33001, 17, -1, 2, false },
        { "hotkey 3 previous", 33003, 17, 1, 1, true },
        { "hotkey 4 stops", 33004, 0, 0, 2, false },
        { "failed hotkey's id", 33002, 17, 1, 2, false },
        { "no such id", 40000, 17, 1, 2, false },
        { "negative progress", -5, -5, 1, 2, false },
    };
    for (const Case &c : table) {
        SCOPED_TRACE(c.what);
        setTracks(
            { QStringLiteral("/m/1.mp3"), QStringLiteral("/m/2.mp3"), QStringLiteral("/m/3.mp3") });
        app.state.hotkeyIds = { 33001, 0, 33003, 33004 };
        app.state.currentIndex = 2;
        app.player.PlayFile(QStringLiteral("/m/2.mp3"), 0, app.window.标签_反馈事件);
        slider()->setPosition(17);
        const qsizetype before = plays();
        deliver(c.value);
        EXPECT_EQ(slider()->position(), c.sliderPosition);
        EXPECT_EQ(slider()->value(), qBound(1, c.sliderPosition, 100));
        EXPECT_EQ(app.player.state, c.state);
        EXPECT_EQ(app.state.currentIndex, c.currentIndex);
        EXPECT_EQ(plays() > before, c.newPlay);
    }
}

TEST_F(Playback, EndOfTrackSetsTheSliderTo100BeforeNext)
{
    setTracks({ QStringLiteral("/m/1.mp3"), QStringLiteral("/m/2.mp3") });
    clickNext(app);
    int sliderWhenNextRan = -1;
    // nextCommand rebuilds the list first thing.
    QObject::connect(app.window.列表框->model(), &QAbstractItemModel::modelAboutToBeReset,
                     [&] { sliderWhenNextRan = slider()->position(); });
    app.player.post(50);
    app.player.finish();
    QCoreApplication::processEvents();
    EXPECT_EQ(sliderWhenNextRan, 100);
    EXPECT_EQ(lastPlay(), QStringLiteral("PlayFile(/m/1.mp3,0)"));
}

TEST_F(Playback, HotkeyStopWhileStoppedStillStops)
{
    setTracks({ QStringLiteral("/m/a.mp3") });
    slider()->setPosition(55);
    deliver(33004);
    EXPECT_EQ(app.player.log.last(), QStringLiteral("StopPlayback"));
    EXPECT_EQ(slider()->position(), 0);
    EXPECT_EQ(tip(), QStringLiteral("停止中:a.mp3"));
}

// --- Seeking ---------------------------------------------------------------------------

TEST_F(Playback, SeekRestartsOnlyWhilePlaying)
{
    struct Case
    {
        const char *what;
        Step before;
        const char *seekPlay; // PlayFile made by the seek, nullptr: none
        int state;
    };
    const Case table[] = {
        { "playing", [](GuiApp &) {}, "PlayFile(/m/a.mp3,40)", 1 },
        { "paused", clickPlay, nullptr, -1 },
        { "stopped", clickStop, nullptr, 0 },
    };
    for (const Case &c : table) {
        SCOPED_TRACE(c.what);
        setTracks({ QStringLiteral("/m/a.mp3"), QStringLiteral("/m/b.mp3") });
        app.state.currentIndex = 1;
        clickStop(app);
        clickPlay(app); // playing a from 0
        c.before(app);
        balloon()->hide();
        const QString captionBefore = caption();
        const QString tipBefore = tip();
        const qsizetype before = app.player.log.size();
        slider()->setSliderPosition(40); // a drag step of the user
        EXPECT_EQ(slider()->position(), 40);
        EXPECT_EQ(app.player.state, c.state);
        const QStringList made = app.player.log.mid(before);
        EXPECT_EQ(made,
                  c.seekPlay ? QStringList { QString::fromUtf8(c.seekPlay) } : QStringList {});
        EXPECT_EQ(caption(), captionBefore);
        EXPECT_EQ(tip(), tipBefore);
        EXPECT_FALSE(balloon()->isVisible());
    }
    // The position chosen while stopped is where play starts.
    clickPlay(app);
    EXPECT_EQ(lastPlay(), play("/m/a.mp3", 40));
}

TEST_F(Playback, EverySliderActionSeeks)
{
    setTracks({ QStringLiteral("/m/a.mp3") });
    clickNext(app);
    slider()->setPosition(50);
    const std::pair<QAbstractSlider::SliderAction, int> actions[] = {
        { QAbstractSlider::SliderPageStepAdd, 55 }, { QAbstractSlider::SliderSingleStepSub, 50 },
        { QAbstractSlider::SliderToMaximum, 100 },  { QAbstractSlider::SliderToMinimum, 1 },
        { QAbstractSlider::SliderToMinimum, 1 },
    };
    for (const auto &[action, expected] : actions) {
        SCOPED_TRACE(action);
        slider()->triggerAction(action);
        EXPECT_EQ(lastPlay(), play("/m/a.mp3", expected));
        app.player.log.clear();
    }
    // Without rows nothing is played, whatever the player says.
    setTracks({});
    slider()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(plays(), 0);
}

// --- Mended faults ------------------------------------------------------------------------

TEST_F(Playback, UnopenableTrackShowsTheStoppedTexts)
{
    const std::pair<const char *, Step> commands[] = {
        { "play", clickPlay },
        { "next", clickNext },
        { "previous", clickPrevious },
        { "play selected",
          [](GuiApp &a) {
              a.window.列表框->setSelection(1);
              playback::playSelectedCommand(a.ctx);
          } },
    };
    for (const auto &[what, step] : commands) {
        SCOPED_TRACE(what);
        setTracks({ QStringLiteral("/m/gone.mp3"), QStringLiteral("/m/gone.mp3") });
        app.player.unopenable = { QStringLiteral("/m/gone.mp3") };
        app.state.currentIndex = 1;
        balloon()->hide();
        step(app);
        EXPECT_EQ(app.player.state, 0);
        EXPECT_EQ(caption(), QStringLiteral("播放"));
        EXPECT_EQ(tip(), QStringLiteral("停止中:gone.mp3"));
        EXPECT_FALSE(balloon()->isVisible());
    }
    // The file comes back: the next play finds state 0 and tries it again.
    app.player.unopenable.clear();
    clickPlay(app);
    EXPECT_EQ(app.player.state, 1);
    EXPECT_EQ(caption(), QStringLiteral("暂停"));
}

TEST_F(Playback, UndecodableTracksDoNotSkipForever)
{
    struct Case
    {
        const char *tracks;  // b: ends at once, g: plays
        int startsUntilStop; // 0: never stops
    };
    const Case table[] = { { "bbb", 3 }, { "b", 1 }, { "bgb", 0 }, { "g", 0 } };
    for (const Case &c : table) {
        SCOPED_TRACE(c.tracks);
        QStringList paths;
        for (int i = 0; c.tracks[i]; ++i)
            paths << QStringLiteral("/m/%1%2.mp3").arg(QLatin1Char(c.tracks[i])).arg(i);
        setTracks(paths);
        app.state.currentIndex = static_cast<int>(paths.size());
        app.player.log.clear();
        clickNext(app);
        for (int round = 0; round < 12 && app.player.state == 1; ++round) {
            // Players send the opening 0 even for a file that then fails to decode.
            app.player.post(0);
            if (app.player.path.contains(QLatin1Char('g')))
                app.player.post(25);
            app.player.finish();
            QCoreApplication::processEvents();
        }
        if (c.startsUntilStop) {
            EXPECT_EQ(app.player.state, 0);
            EXPECT_EQ(plays(), c.startsUntilStop);
            EXPECT_EQ(caption(), QStringLiteral("播放"));
            EXPECT_EQ(slider()->position(), 0);
        } else {
            EXPECT_EQ(app.player.state, 1);
            EXPECT_EQ(plays(), 13);
        }
    }
    // After the stop, play tries the list again from where it stopped.
    setTracks({ QStringLiteral("/m/b.mp3") });
    clickNext(app);
    EXPECT_EQ(app.player.state, 1);
}

TEST_F(Playback, SeekToTheEndOfAGoodTrackIsNoFailure)
{
    setTracks({ QStringLiteral("/m/a.mp3") });
    clickNext(app);
    app.player.post(0);
    QCoreApplication::processEvents();
    slider()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(lastPlay(), play("/m/a.mp3", 100));
    app.player.finish();
    QCoreApplication::processEvents();
    // The one track starts again rather than the player stopping.
    EXPECT_EQ(app.player.state, 1);
    EXPECT_EQ(lastPlay(), play("/m/a.mp3", 0));
}

} // namespace
} // namespace tarvelo::testing
