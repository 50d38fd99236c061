#include "soundcheck.h"

#include "services/feedback.h"
#include "systemdesktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cmath>
#include <cstring>

namespace tarvelo::testing {

int FeedbackRecorder::count(int value) const
{
    return static_cast<int>(std::count(values.begin(), values.end(), value));
}

bool FeedbackRecorder::event(QEvent *e)
{
    if (e->type() != services::FeedbackEvent::kType)
        return QObject::event(e);
    const int v = static_cast<services::FeedbackEvent *>(e)->value();
    values.push_back(v);
    times.push_back(clock_.elapsed());
    states.push_back(player_ ? player_->GetPlayState() : 0);
    if (onValue)
        onValue(v);
    return true;
}

bool spinUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

void spinFor(int ms)
{
    spinUntil([] { return false; }, ms);
}

SoundReport analyzeSound(const QByteArray &raw)
{
    constexpr int kRate = 44100;
    constexpr int kWindow = kRate / 100;
    const auto frames = static_cast<std::size_t>(raw.size() / 4);
    std::vector<qint16> left(frames);
    for (std::size_t i = 0; i < frames; ++i)
        std::memcpy(&left[i], raw.constData() + i * 4, 2);

    SoundReport r;
    r.seconds = static_cast<double>(frames) / kRate;
    long loud = 0;
    long crossings = 0;
    bool positive = false;  // with hysteresis, so that noise near zero is no crossing
    long loudSamples = 0;
    double gapStart = -1;
    for (std::size_t w = 0; w + kWindow <= frames; w += kWindow) {
        double sum = 0;
        for (std::size_t i = w; i < w + kWindow; ++i)
            sum += double(left[i]) * double(left[i]);
        const double rms = std::sqrt(sum / kWindow) / 32768.0;
        const double at = static_cast<double>(w) / kRate;
        if (rms > 0.01) {
            ++loud;
            if (r.firstSound < 0)
                r.firstSound = at;
            if (gapStart >= 0)
                r.longestGap = std::max(r.longestGap, at - gapStart);
            gapStart = -1;
            r.lastSound = at + 0.01;
            for (std::size_t i = w; i < w + kWindow; ++i) {
                if (!positive && left[i] > 1000) {
                    positive = true;
                    ++crossings;
                } else if (positive && left[i] < -1000) {
                    positive = false;
                }
            }
            loudSamples += kWindow;
        } else if (r.firstSound >= 0 && gapStart < 0) {
            gapStart = at;
        }
    }
    r.soundSeconds = loud * 0.01;
    r.frequency = loudSamples ? double(crossings) * kRate / double(loudSamples) : 0;
    return r;
}

std::ostream &operator<<(std::ostream &os, const SoundReport &r)
{
    return os << "{recorded " << r.seconds << " s, sound " << r.soundSeconds << " s from "
              << r.firstSound << " to " << r.lastSound << ", longest gap " << r.longestGap
              << " s, " << r.frequency << " Hz}";
}

namespace {

bool listed(const char *what, const QString &needle)
{
    const auto r = runCommand(QStringLiteral("pactl"),
                              {QStringLiteral("list"), QString::fromLatin1(what)});
    return r.out.contains(needle);
}

void endProcess(QProcess &p)
{
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(3000)) {
        p.kill();
        p.waitForFinished(3000);
    }
}

// The blocks of `pactl list sink-inputs` that belong to the services' own client.
QStringList serviceSinkInputs()
{
    const auto r = runCommand(QStringLiteral("pactl"),
                              {QStringLiteral("list"), QStringLiteral("sink-inputs")});
    QStringList blocks;
    for (const QString &block : r.out.split(QStringLiteral("Sink Input #"), Qt::SkipEmptyParts))
        if (block.contains(QLatin1String("application.name = \"Tarvelo\"")))
            blocks.push_back(block);
    return blocks;
}

} // namespace

Recording::Recording()
    : keepAlive_(std::make_unique<QProcess>()), parec_(std::make_unique<QProcess>())
{
    static int serial = 0;
    file_ = QDir::temp().filePath(QStringLiteral("tarvelo-rec-%1-%2.raw")
                                      .arg(QCoreApplication::applicationPid())
                                      .arg(++serial));
    const QString keepAliveName = QStringLiteral("tarvelo-test-keepalive-%1").arg(serial);
    keepAlive_->start(QStringLiteral("pacat"),
                      {QStringLiteral("--playback"), QStringLiteral("--raw"),
                       QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"),
                       QStringLiteral("--channels=2"), QStringLiteral("--latency-msec=30"),
                       QStringLiteral("--client-name=%1").arg(keepAliveName),
                       QStringLiteral("-d"), QStringLiteral("tarvelo_test"),
                       QStringLiteral("/dev/zero")});
    if (!keepAlive_->waitForStarted(5000)
        || !waitUntil([&] { return listed("sink-inputs", keepAliveName); }, 5000, 20))
        return;

    const QString recorderName = QStringLiteral("tarvelo-test-recorder-%1").arg(serial);
    parec_->setStandardOutputFile(file_);
    parec_->start(QStringLiteral("parec"),
                  {QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
                   QStringLiteral("--rate=44100"), QStringLiteral("--channels=2"),
                   QStringLiteral("--latency-msec=20"),
                   QStringLiteral("--client-name=%1").arg(recorderName), QStringLiteral("-d"),
                   QStringLiteral("tarvelo_test.monitor")});
    if (!parec_->waitForStarted(5000))
        return;
    // A monitor that has just been connected delivers its first second late and in large
    // blocks, and a sink rewind (as every cork and uncork makes) then drops the silence still
    // queued for it. Recording starts once the data flows steadily.
    started_ = waitUntil([&] { return listed("source-outputs", recorderName); }, 5000, 20)
               && waitUntil(
                   [&] {
                       return QFileInfo(file_).size() >= 44100 * 4 / 2;
                   },
                   5000, 20);
    QThread::msleep(200);
}

Recording::~Recording()
{
    endProcess(*parec_);
    endProcess(*keepAlive_);
    QFile::remove(file_);
}

SoundReport Recording::stop()
{
    // The monitor runs a little behind the sink: let the last sound arrive.
    QThread::msleep(300);
    endProcess(*parec_);
    endProcess(*keepAlive_);
    QFile f(file_);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return analyzeSound(f.readAll());
}

std::optional<bool> sinkInputCorked()
{
    const QStringList inputs = serviceSinkInputs();
    if (inputs.isEmpty())
        return std::nullopt;
    if (inputs.front().contains(QLatin1String("Corked: yes")))
        return true;
    if (inputs.front().contains(QLatin1String("Corked: no")))
        return false;
    return std::nullopt;
}

int sinkInputCount()
{
    return static_cast<int>(serviceSinkInputs().size());
}

void resetTestSink()
{
    runCommand(QStringLiteral("pactl"), {QStringLiteral("set-default-sink"),
                                         QStringLiteral("tarvelo_test")});
    runCommand(QStringLiteral("pactl"), {QStringLiteral("set-sink-volume"),
                                         QStringLiteral("tarvelo_test"), QStringLiteral("100%")});
    runCommand(QStringLiteral("pactl"), {QStringLiteral("set-sink-mute"),
                                         QStringLiteral("tarvelo_test"), QStringLiteral("0")});
}

} // namespace tarvelo::testing
