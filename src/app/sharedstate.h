#pragma once

#include <QLineEdit>
#include <QList>
#include <QPointer>
#include <QStringList>

#include <array>

namespace tarvelo {

// The program's shared state: everything the commands read and change, alive from program
// start to program end. Nothing of it is saved.
struct SharedState
{
    // Full paths of the tracks, in playlist order. The commands count tracks from 1, so
    // track i is playlist[i - 1].
    QStringList playlist;
    // 1-based position of the current track; 1 while the playlist is empty.
    qint32 currentIndex = 0;
    // Level read at the start of the last volume fade-out (at start-up: the level then),
    // and a tenth of it, the step of the fades.
    qint32 savedVolume = 0;
    qint32 fadeStep = 0;
    // Schedule: whether it runs, the captured period texts and the edit boxes they come from.
    qint32 planActive = 0;
    QStringList planTimes;
    QList<QPointer<QLineEdit>> planFields;
    // Ids of the four global hotkeys; 0 marks a registration that failed.
    std::array<qint32, 4> hotkeyIds {};
};

// The process-wide instance. createSharedState makes it before any window exists;
// releaseSharedState frees it and does nothing when called again.
SharedState &createSharedState();
void releaseSharedState();
SharedState *sharedState();

} // namespace tarvelo
