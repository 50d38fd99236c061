#include "services/system.h"
#include "soundcheck.h"
#include "systemdesktop.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <numeric>

#include <unistd.h>

#include <gtest/gtest.h>

using namespace tarvelo::testing;
using tarvelo::services::AudioPlayer;

namespace {

QString fixture(const char *name)
{
    return fixturePath(QString::fromLatin1(name));
}

std::vector<int> range(int from, int to)  // from .. to inclusive
{
    std::vector<int> v(static_cast<std::size_t>(to - from + 1));
    std::iota(v.begin(), v.end(), from);
    return v;
}

class PlayerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        TARVELO_REQUIRE_DESKTOP();
        resetTestSink();
        player = tarvelo::services::makeSystemAudioPlayer();
    }

    // Waits for the end of the track the recorder follows.
    bool waitForEnd(const FeedbackRecorder &r, int timeoutMs = 15000)
    {
        return spinUntil([&] { return r.has(100); }, timeoutMs);
    }

    std::unique_ptr<AudioPlayer> player;
};

} // namespace

// A whole track: every progress value once and in order, then 100 once, after the sound
// has been played out, with the state already 0.
TEST_F(PlayerTest, PlaysATrackToTheEnd)
{
    struct Row
    {
        const char *file;
        bool checkPitch;  // vbr.mp3's right channel carries noise in its second half
    };
    for (const Row r : {Row {"cbr.mp3", true}, Row {"vbr.mp3", false}, Row {"id3v1.mp3", true},
                        Row {"id3v2-big.mp3", true}}) {
        SCOPED_TRACE(r.file);
        Recording rec;
        ASSERT_TRUE(rec.started());
        FeedbackRecorder fb(player.get());
        player->PlayFile(fixture(r.file), 0, &fb);
        EXPECT_EQ(player->GetPlayState(), 1);
        ASSERT_TRUE(waitForEnd(fb));
        spinFor(300);
        const SoundReport sound = rec.stop();

        std::vector<int> expected = range(0, 99);
        expected.push_back(100);
        EXPECT_EQ(fb.values, expected);
        EXPECT_EQ(fb.states.back(), 0);
        EXPECT_EQ(player->GetPlayState(), 0);
        // The 4-second track was drained before its end was sent.
        EXPECT_GE(fb.times.back(), 3800);
        EXPECT_NEAR(sound.soundSeconds, 4.0, 0.25) << sound;
        if (r.checkPitch) {
            EXPECT_NEAR(sound.frequency, 440.0, 10.0) << sound;
        }
    }
}

// A start at 50 % sends 50 first and is heard from the middle of the track: about half of
// it sounds. On the VBR file the first half's frames are much smaller than the second's,
// so a start placed by bytes instead of frames would be heard for well under 2 s.
TEST_F(PlayerTest, StartsAtAPercentageOfTheFrames)
{
    for (const char *file : {"cbr.mp3", "vbr.mp3"}) {
        SCOPED_TRACE(file);
        Recording rec;
        ASSERT_TRUE(rec.started());
        FeedbackRecorder fb(player.get());
        player->PlayFile(fixture(file), 50, &fb);
        ASSERT_TRUE(waitForEnd(fb));
        spinFor(300);
        const SoundReport sound = rec.stop();

        std::vector<int> expected = range(50, 99);
        expected.push_back(100);
        EXPECT_EQ(fb.values, expected);
        EXPECT_NEAR(sound.soundSeconds, 2.0, 0.15) << sound;
    }
}

TEST_F(PlayerTest, StartIsClamped)
{
    // At (or beyond) 100 the track is over at once: only 100, and soon.
    for (int start : {100, 250}) {
        SCOPED_TRACE(start);
        FeedbackRecorder fb(player.get());
        player->PlayFile(fixture("cbr.mp3"), start, &fb);
        ASSERT_TRUE(waitForEnd(fb, 2000));
        spinFor(200);
        EXPECT_EQ(fb.values, std::vector<int> {100});
        EXPECT_EQ(fb.states.back(), 0);
        EXPECT_LT(fb.times.back(), 1000);
    }
    // Below 0 it starts from the beginning.
    FeedbackRecorder fb(player.get());
    player->PlayFile(fixture("cbr.mp3"), -30, &fb);
    ASSERT_TRUE(spinUntil([&] { return !fb.values.empty(); }, 2000));
    EXPECT_EQ(fb.values.front(), 0);
    player->StopPlayback();
}

// Pause corks the stream, and the recording falls silent at once; resume plays on from
// where it stopped, and the track still ends once.
TEST_F(PlayerTest, PauseCorksTheStreamAndResumePlaysOn)
{
    Recording rec;
    ASSERT_TRUE(rec.started());
    FeedbackRecorder fb(player.get());
    player->PlayFile(fixture("cbr.mp3"), 0, &fb);
    spinFor(1000);

    player->SetPauseState(1);
    EXPECT_EQ(player->GetPlayState(), -1);
    EXPECT_EQ(sinkInputCorked(), std::optional<bool>(true));
    player->SetPauseState(1);  // already paused: nothing
    EXPECT_EQ(player->GetPlayState(), -1);
    spinFor(1500);
    EXPECT_FALSE(fb.has(100)) << "a paused track does not end";

    player->SetPauseState(0);
    EXPECT_EQ(player->GetPlayState(), 1);
    EXPECT_EQ(sinkInputCorked(), std::optional<bool>(false));
    player->SetPauseState(0);  // already playing: nothing
    player->SetPauseState(7);  // not a pause flag: nothing
    EXPECT_EQ(player->GetPlayState(), 1);
    ASSERT_TRUE(waitForEnd(fb));
    spinFor(300);
    const SoundReport sound = rec.stop();

    EXPECT_EQ(fb.count(100), 1);
    EXPECT_NEAR(sound.soundSeconds, 4.0, 0.3) << sound;
    EXPECT_GE(sound.longestGap, 1.3) << sound;
    EXPECT_LE(sound.longestGap, 1.8) << sound;
}

// A pause that comes before the decoder thread has its stream: the stream starts corked.
TEST_F(PlayerTest, PauseRightAfterTheStart)
{
    Recording rec;
    ASSERT_TRUE(rec.started());
    FeedbackRecorder fb(player.get());
    player->PlayFile(fixture("cbr.mp3"), 0, &fb);
    player->SetPauseState(1);
    EXPECT_EQ(player->GetPlayState(), -1);
    spinFor(800);
    EXPECT_EQ(sinkInputCorked(), std::optional<bool>(true));
    player->SetPauseState(0);
    ASSERT_TRUE(waitForEnd(fb));
    spinFor(300);
    const SoundReport sound = rec.stop();
    EXPECT_NEAR(sound.soundSeconds, 4.0, 0.25) << sound;
    EXPECT_GE(sound.firstSound, 0.7) << sound << ": nothing may be heard while paused";
}

// A stopped or replaced player sends nothing more, 100 least of all, even when the stop
// comes a moment before its end; its stream is gone when the call returns.
TEST_F(PlayerTest, StopAndReplaceNeverSendTheEnd)
{
    FeedbackRecorder stopped(player.get());
    player->PlayFile(fixture("cbr.mp3"), 90, &stopped);
    ASSERT_TRUE(spinUntil([&] { return !stopped.values.empty(); }, 2000));
    spinFor(150);
    player->StopPlayback();
    EXPECT_EQ(player->GetPlayState(), 0);
    EXPECT_EQ(sinkInputCount(), 0);
    const std::size_t sentBeforeStop = stopped.values.size();

    FeedbackRecorder replaced(player.get());
    FeedbackRecorder next(player.get());
    player->PlayFile(fixture("cbr.mp3"), 90, &replaced);
    ASSERT_TRUE(spinUntil([&] { return !replaced.values.empty(); }, 2000));
    spinFor(150);
    player->PlayFile(fixture("vbr.mp3"), 95, &next);
    const std::size_t sentBeforeReplace = replaced.values.size();
    ASSERT_TRUE(waitForEnd(next));
    spinFor(1000);  // well past where both old tracks would have ended

    EXPECT_EQ(stopped.values.size(), sentBeforeStop);
    EXPECT_FALSE(stopped.has(100));
    EXPECT_EQ(replaced.values.size(), sentBeforeReplace);
    EXPECT_FALSE(replaced.has(100));
    EXPECT_EQ(next.values.front(), 95);
    EXPECT_EQ(next.count(100), 1);

    // Stopping at once after the start, twice, and with nothing playing is harmless.
    FeedbackRecorder quick(player.get());
    player->PlayFile(fixture("id3v2-big.mp3"), 50, &quick);
    player->StopPlayback();
    player->StopPlayback();
    spinFor(300);
    EXPECT_TRUE(quick.values.empty());
}

TEST_F(PlayerTest, AnEmptyPathOnlyDiscards)
{
    FeedbackRecorder first(player.get());
    player->PlayFile(fixture("cbr.mp3"), 90, &first);
    ASSERT_TRUE(spinUntil([&] { return !first.values.empty(); }, 2000));
    FeedbackRecorder second(player.get());
    player->PlayFile(QString(), 0, &second);
    EXPECT_EQ(player->GetPlayState(), 0);
    const std::size_t sent = first.values.size();
    spinFor(800);
    EXPECT_EQ(first.values.size(), sent);
    EXPECT_TRUE(second.values.empty());
    EXPECT_EQ(sinkInputCount(), 0);
}

// The target may go away while its track plays; values are then dropped, nothing crashes,
// and the player goes on working.
TEST_F(PlayerTest, ATargetDeletedWhilePlaying)
{
    auto *gone = new FeedbackRecorder(player.get());
    player->PlayFile(fixture("cbr.mp3"), 80, gone);
    ASSERT_TRUE(spinUntil([&] { return !gone->values.empty(); }, 2000));
    delete gone;
    EXPECT_TRUE(spinUntil([&] { return player->GetPlayState() == 0; }, 3000))
        << "the track ends without a target to tell";

    FeedbackRecorder fb(player.get());
    player->PlayFile(fixture("cbr.mp3"), 95, &fb);
    ASSERT_TRUE(waitForEnd(fb));
}

// The end of a track starts the next one from inside the target's handler, as the program
// does: the finished player is discarded while its own value is being delivered.
TEST_F(PlayerTest, TheNextTrackStartsFromTheEndHandler)
{
    FeedbackRecorder fb(player.get());
    int ends = 0;
    fb.onValue = [&](int v) {
        if (v == 100 && ++ends < 3)
            player->PlayFile(fixture(ends == 1 ? "vbr.mp3" : "mono.mp3"), 95, &fb);
    };
    player->PlayFile(fixture("cbr.mp3"), 95, &fb);
    ASSERT_TRUE(spinUntil([&] { return ends == 3; }, 10000));
    spinFor(300);
    EXPECT_EQ(fb.count(100), 3);
    EXPECT_EQ(fb.count(95), 3);
    EXPECT_EQ(player->GetPlayState(), 0);
}

// Files that cannot be opened, and files that open but hold no audio.
TEST_F(PlayerTest, BadInput)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Row
    {
        QString path;
        bool opens;
    };
    std::vector<Row> rows = {
        {dir.filePath(QStringLiteral("missing.mp3")), false},
        {dir.path(), false},  // a folder named like a track
        {fixture("empty.mp3"), true},
        {fixture("text.mp3"), true},
        {fixture("png.mp3"), true},
        {fixture("random.mp3"), true},
    };
    // Root reads any file whatever its mode; the case is only real for other users.
    if (::geteuid() != 0) {
        const QString locked = dir.filePath(QStringLiteral("locked.mp3"));
        ASSERT_TRUE(QFile::copy(fixture("cbr.mp3"), locked));
        ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::WriteOwner));
        rows.push_back({locked, false});
    }
    for (const Row &r : rows) {
        SCOPED_TRACE(r.path.toStdString());
        FeedbackRecorder fb(player.get());
        player->PlayFile(r.path, 0, &fb);
        if (!r.opens) {
            EXPECT_EQ(player->GetPlayState(), 0);
            spinFor(500);
            EXPECT_TRUE(fb.values.empty());
            continue;
        }
        EXPECT_EQ(player->GetPlayState(), 1);
        ASSERT_TRUE(waitForEnd(fb, 3000));
        spinFor(200);
        EXPECT_EQ(fb.count(100), 1);
        EXPECT_EQ(fb.values.back(), 100);
        EXPECT_EQ(fb.states.back(), 0);
        EXPECT_EQ(player->GetPlayState(), 0);
    }
}

// A truncated file plays what decodes and ends once.
TEST_F(PlayerTest, ATruncatedFilePlaysWhatDecodes)
{
    Recording rec;
    ASSERT_TRUE(rec.started());
    FeedbackRecorder fb(player.get());
    player->PlayFile(fixture("truncated.mp3"), 0, &fb);
    ASSERT_TRUE(waitForEnd(fb));
    spinFor(300);
    const SoundReport sound = rec.stop();
    EXPECT_EQ(fb.count(100), 1);
    // Its Info frame counts the whole track: progress stops near half-way.
    ASSERT_GE(fb.values.size(), 2u);
    EXPECT_NEAR(fb.values[fb.values.size() - 2], 50, 3);
    EXPECT_NEAR(sound.soundSeconds, 2.0, 0.25) << sound;
}

// Every kind of Layer III file plays, at its own pitch and for its own length: mono, 48 and
// 22.05 kHz, MPEG-2.5, and a file that changes rate and channels as it goes.
TEST_F(PlayerTest, EveryFormatPlays)
{
    struct Row
    {
        const char *file;
        double seconds;
    };
    for (const Row r : {Row {"mono.mp3", 2.0}, Row {"48k.mp3", 2.0}, Row {"22k.mp3", 2.0},
                        Row {"mpeg25.mp3", 2.0}, Row {"format-change.mp3", 3.0}}) {
        SCOPED_TRACE(r.file);
        Recording rec;
        ASSERT_TRUE(rec.started());
        FeedbackRecorder fb(player.get());
        player->PlayFile(fixture(r.file), 0, &fb);
        ASSERT_TRUE(waitForEnd(fb));
        spinFor(300);
        const SoundReport sound = rec.stop();
        EXPECT_EQ(fb.values.front(), 0);
        EXPECT_EQ(fb.count(100), 1);
        EXPECT_NEAR(sound.soundSeconds, r.seconds, 0.25) << sound;
        EXPECT_NEAR(sound.frequency, 440.0, 15.0) << sound;
        EXPECT_LE(sound.longestGap, 0.05) << sound << ": a gap in the sound";
    }
}

// A file deleted or cut short under the player: no crash, and the track ends once.
TEST_F(PlayerTest, AFileChangedWhilePlaying)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (bool truncate : {true, false}) {
        SCOPED_TRACE(truncate ? "truncated" : "deleted");
        const QString path = dir.filePath(QStringLiteral("track.mp3"));
        QFile::remove(path);
        ASSERT_TRUE(QFile::copy(fixture("id3v2-big.mp3"), path));
        FeedbackRecorder fb(player.get());
        player->PlayFile(path, 0, &fb);
        if (truncate)
            ASSERT_TRUE(QFile::resize(path, 4 * 1024 * 1024 + 3000));
        else
            ASSERT_TRUE(QFile::remove(path));
        ASSERT_TRUE(waitForEnd(fb));
        spinFor(200);
        EXPECT_EQ(fb.count(100), 1);
        EXPECT_EQ(player->GetPlayState(), 0);
    }
}
