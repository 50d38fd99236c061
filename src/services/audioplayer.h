#pragma once

#include <QString>

class QObject;

namespace tarvelo::services {

// The audio playback service: plays one MP3 file at a time and reports its progress.
// All calls come from the GUI thread.
//
// Feedback values reach `target` as FeedbackEvent through the GUI thread's event queue, in
// the order sent, and only while the target still exists:
//   - progress p = framesDecoded * 100 / totalFrames at the decoder, clamped to 0..99, sent
//     only when it changes; the first value is always sent (a start at 40 % sends 40 first);
//   - 100 exactly once, after the last sample has been played out or after a decoding error
//     ended the track. A stopped or replaced player never sends it.
class AudioPlayer
{
public:
    virtual ~AudioPlayer() = default;

    // Discards the current player first, as StopPlayback does. An empty path ends the call
    // there. Otherwise a new player plays the file once, from `start` percent of its MPEG
    // frames (clamped to 0..100). The state is 1 on return unless the file failed to open
    // (missing, unreadable, no sound server): then it is 0 and no value is ever sent.
    virtual void PlayFile(const QString &path, int start, QObject *target) = 0;

    // 1 pauses a playing player (state -1); 0 resumes a paused one (state 1). Any other
    // combination does nothing.
    virtual void SetPauseState(int flag) = 0;

    // Discards the current player: its sound stops at once and it sends nothing more.
    // Returns after the player's threads have ended.
    virtual void StopPlayback() = 0;

    // 1 playing, -1 paused, 0 otherwise (no player, stopped, finished, failed to open).
    virtual int GetPlayState() = 0;
};

} // namespace tarvelo::services
