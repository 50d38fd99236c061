#pragma once

#include "services/audioplayer.h"

#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>

namespace tarvelo::testing {

// An ideal player with no sound and no threads: it plays whatever it is given at once and
// moves only when the test tells it to. Every call is written to `log`, so a test can check
// what the program asked for and in which order.
class FakeAudioPlayer final : public services::AudioPlayer
{
public:
    void PlayFile(const QString &path, int start, QObject *target) override;
    void SetPauseState(int flag) override;
    void StopPlayback() override;
    int GetPlayState() override;

    // Paths that fail to open: PlayFile leaves the state at 0 for them.
    QSet<QString> unopenable;

    // Posts a feedback value to the current target, as the decoder thread would.
    void post(int value);
    // The track has been played out: the state becomes 0 and 100 is posted.
    void finish();

    QStringList log;
    QString path;
    int start = -1;
    int state = 0;
    QPointer<QObject> target;
};

} // namespace tarvelo::testing
