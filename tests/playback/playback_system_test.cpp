// The real program on the virtual desktop and sound server: a user adds two MP3 files
// through the file dialog and drives playback with the buttons, observed through PulseAudio.

#include "soundcheck.h"
#include "systemdesktop.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace tarvelo::testing {
namespace {

QString xdotool(const QStringList &args)
{
    return runCommand(QStringLiteral("xdotool"), args).out.trimmed();
}

void clickAt(const QString &window, int x, int y)
{
    xdotool({ QStringLiteral("mousemove"), QStringLiteral("--window"), window, QString::number(x),
              QString::number(y) });
    xdotool({ QStringLiteral("click"), QStringLiteral("1") });
}

void typeAndEnter(const QString &text)
{
    xdotool({ QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text });
    xdotool({ QStringLiteral("key"), QStringLiteral("Return") });
}

struct SinkInput
{
    QString index;
    bool corked = false;
};

QList<SinkInput> sinkInputs()
{
    QList<SinkInput> inputs;
    const QString out = runCommand(QStringLiteral("pactl"),
                                   { QStringLiteral("list"), QStringLiteral("sink-inputs") })
                            .out;
    for (const QString &line : out.split(QLatin1Char('\n'))) {
        const QString t = line.trimmed();
        if (t.startsWith(QLatin1String("Sink Input #")))
            inputs.append({ t.mid(12), false });
        else if (t.startsWith(QLatin1String("Corked:")) && !inputs.isEmpty())
            inputs.last().corked = t.endsWith(QLatin1String("yes"));
    }
    return inputs;
}

// The raw level of the default sink's first channel, -1 when it cannot be read.
int sinkVolume()
{
    const QString out = runCommand(QStringLiteral("pactl"), { QStringLiteral("get-sink-volume"),
                                                              QStringLiteral("@DEFAULT_SINK@") })
                            .out;
    const auto m = QRegularExpression(QStringLiteral(":\\s*(\\d+)\\s*/")).match(out);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

void setSinkVolume(int level)
{
    runCommand(QStringLiteral("pactl"),
               { QStringLiteral("set-sink-volume"), QStringLiteral("@DEFAULT_SINK@"),
                 QString::number(level) });
}

// The sink volume seen every 30 ms for `ms`.
QList<int> watchVolume(int ms)
{
    QList<int> seen;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        const int v = sinkVolume();
        if (seen.isEmpty() || seen.last() != v)
            seen.append(v);
        QThread::msleep(30);
    }
    return seen;
}

// Seconds of audible sound the sink plays during about a second.
double recordedSound()
{
    Recording recording;
    if (!recording.started())
        return -1.0;
    QThread::msleep(1000);
    return recording.stop().soundSeconds;
}

bool makeTone(const QString &dir, const QString &name, int hz)
{
    const QString wav = dir + QLatin1Char('/') + name + QStringLiteral(".wav");
    const auto a =
        runCommand(QStringLiteral("sox"),
                   { QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"),
                     QStringLiteral("-c"), QStringLiteral("2"), wav, QStringLiteral("synth"),
                     QStringLiteral("20"), QStringLiteral("sine"), QString::number(hz) });
    const auto b =
        runCommand(QStringLiteral("lame"),
                   { QStringLiteral("--quiet"), QStringLiteral("-b"), QStringLiteral("128"), wav,
                     dir + QLatin1Char('/') + name + QStringLiteral(".mp3") });
    return a.exitCode == 0 && b.exitCode == 0;
}

// Client-area points of the controls.
constexpr int kPlayX = 25, kPreviousX = 74, kNextX = 170, kStopX = 219, kButtonY = 12;
constexpr int kListX = 100, kListY = 150;

TEST(PlaybackSystem, PlayPauseResumeNextPreviousStop)
{
    TARVELO_REQUIRE_DESKTOP();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(makeTone(dir.path(), QStringLiteral("low"), 440));
    ASSERT_TRUE(makeTone(dir.path(), QStringLiteral("high"), 660));
    setSinkVolume(40000);

    TarveloProcess tarvelo;
    tarvelo.start();
    const auto window = waitForWindow(QStringLiteral("Tarvelo"), 10000);
    ASSERT_TRUE(window);
    QThread::msleep(2500); // the window fades in

    // A click on the empty list opens the file dialog; go to the folder, then take both.
    clickAt(*window, kListX, kListY);
    ASSERT_TRUE(waitForWindow(QStringLiteral("请选择要加入播放列表的MP3文件"), 10000));
    QThread::msleep(500);
    typeAndEnter(dir.path());
    QThread::msleep(500);
    typeAndEnter(QStringLiteral("\"low.mp3\" \"high.mp3\""));
    ASSERT_TRUE(waitUntil(
        [] { return !findWindow(QStringLiteral("请选择要加入播放列表的MP3文件")); }, 10000));

    // Play: one stream, and it sounds.
    clickAt(*window, kPlayX, kButtonY);
    ASSERT_TRUE(waitUntil([] { return sinkInputs().size() == 1; }, 5000));
    const QString first = sinkInputs().first().index;
    EXPECT_GT(recordedSound(), 0.5);

    // Pause: the sink volume steps down over about a second, the stream is corked, and the
    // volume comes back.
    clickAt(*window, kPlayX, kButtonY);
    const QList<int> down = watchVolume(1600);
    ASSERT_TRUE(waitUntil([] { return sinkVolume() == 40000; }, 3000));
    EXPECT_GE(down.size(), 5) << "levels seen: " << down.size();
    EXPECT_TRUE(std::is_sorted(down.cbegin(), down.cend() - 1, std::greater<int>()));
    EXPECT_TRUE(down.contains(0));
    ASSERT_EQ(sinkInputs().size(), 1);
    EXPECT_TRUE(sinkInputs().first().corked);

    // Resume: to 0, then up in steps to the level of the pause. The 0 lasts only until the
    // first step, too short to be seen from outside; the climb is seen from low down.
    clickAt(*window, kPlayX, kButtonY);
    const QList<int> up = watchVolume(1600);
    ASSERT_FALSE(up.isEmpty());
    EXPECT_LT(up.first(), 20000) << ::testing::PrintToString(
        std::vector<int>(up.cbegin(), up.cend()));
    EXPECT_GE(up.size(), 5);
    EXPECT_TRUE(std::is_sorted(up.cbegin(), up.cend()));
    EXPECT_NEAR(sinkVolume(), 40000, 9);
    ASSERT_TRUE(
        waitUntil([] { return sinkInputs().size() == 1 && !sinkInputs().first().corked; }, 3000));

    // Next and previous: each a new stream that plays.
    QString last = first;
    for (const int x : { kNextX, kPreviousX }) {
        SCOPED_TRACE(x);
        clickAt(*window, x, kButtonY);
        ASSERT_TRUE(waitUntil(
            [&] {
                const auto s = sinkInputs();
                return s.size() == 1 && s.first().index != last && !s.first().corked;
            },
            5000));
        last = sinkInputs().first().index;
        EXPECT_GT(recordedSound(), 0.5);
    }

    // Stop: the stream goes away.
    clickAt(*window, kStopX, kButtonY);
    EXPECT_TRUE(waitUntil([] { return sinkInputs().isEmpty(); }, 5000));
}

} // namespace
} // namespace tarvelo::testing
