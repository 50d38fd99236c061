#pragma once

// What the system tests of the services observe from outside: the feedback values a target
// receives, recordings of the test sink's monitor, and the server's view through pactl.

#include "services/audioplayer.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

namespace tarvelo::testing {

// A feedback target that writes down each value, when it came (ms since construction) and
// the player's state at that moment.
class FeedbackRecorder : public QObject
{
public:
    explicit FeedbackRecorder(services::AudioPlayer *player = nullptr) : player_(player)
    {
        clock_.start();
    }

    std::vector<int> values;
    std::vector<qint64> times;
    std::vector<int> states;
    std::function<void(int)> onValue;

    int count(int value) const;
    bool has(int value) const { return count(value) > 0; }

protected:
    bool event(QEvent *e) override;

private:
    services::AudioPlayer *player_;
    QElapsedTimer clock_;
};

// Runs the event loop until `done` holds or `timeoutMs` passes; returns `done()`.
bool spinUntil(const std::function<bool()> &done, int timeoutMs);
// Runs the event loop for `ms`.
void spinFor(int ms);

// What a recording holds, from 10 ms windows of the left channel.
struct SoundReport
{
    double seconds = 0;       // length of the recording
    double soundSeconds = 0;  // windows louder than -40 dBFS
    double firstSound = -1;   // start of the first and end of the last loud window
    double lastSound = -1;
    double longestGap = 0;    // longest silence between first and last sound
    double frequency = 0;     // from zero crossings in the loud windows
};
SoundReport analyzeSound(const QByteArray &s16leStereo44100);
std::ostream &operator<<(std::ostream &os, const SoundReport &r);

// Records the test sink's monitor (parec, raw 44.1 kHz stereo) from construction until
// stop().
//
// While no stream plays, the null sink's monitor delivers nothing: a pause would vanish from
// the recording instead of showing as silence. A stream of zeros keeps the sink running for
// the recording's length; it adds nothing to what is heard.
class Recording
{
public:
    Recording();
    ~Recording();
    bool started() const { return started_; }
    SoundReport stop();

private:
    std::unique_ptr<QProcess> keepAlive_;
    std::unique_ptr<QProcess> parec_;
    QString file_;
    bool started_ = false;
};

// The sink inputs of the services (application "Tarvelo") as pactl lists them: whether the
// first is corked, and how many there are.
std::optional<bool> sinkInputCorked();
int sinkInputCount();

// Sets the test sink to 100 % and unmuted, so that recordings hear what is played.
void resetTestSink();

} // namespace tarvelo::testing
