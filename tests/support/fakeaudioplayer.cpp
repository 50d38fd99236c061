#include "fakeaudioplayer.h"

#include "services/feedback.h"

#include <QCoreApplication>

namespace tarvelo::testing {

void FakeAudioPlayer::PlayFile(const QString &p, int s, QObject *t)
{
    log << QStringLiteral("PlayFile(%1,%2)").arg(p).arg(s);
    state = 0;
    target = nullptr;
    if (p.isEmpty())
        return;
    path = p;
    start = qBound(0, s, 100);
    if (unopenable.contains(p))
        return;
    target = t;
    state = 1;
}

void FakeAudioPlayer::SetPauseState(int flag)
{
    log << QStringLiteral("SetPauseState(%1)").arg(flag);
    if (flag == 1 && state == 1)
        state = -1;
    else if (flag == 0 && state == -1)
        state = 1;
}

void FakeAudioPlayer::StopPlayback()
{
    log << QStringLiteral("StopPlayback");
    state = 0;
    target = nullptr;
}

int FakeAudioPlayer::GetPlayState()
{
    return state;
}

void FakeAudioPlayer::post(int value)
{
    if (target)
        QCoreApplication::postEvent(target, new services::FeedbackEvent(value));
}

void FakeAudioPlayer::finish()
{
    QObject *t = target;
    state = 0;
    target = nullptr;
    if (t)
        QCoreApplication::postEvent(t, new services::FeedbackEvent(100));
}

} // namespace tarvelo::testing
