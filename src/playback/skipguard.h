#pragma once

namespace tarvelo::playback {

// Watches for a run of tracks that end before they play: files that open but do not decode
// end at once with 100. Without a limit, a playlist of such files would be skipped through
// forever. A track counts as failed when it was started from its beginning and its end
// arrived before any progress; as many failures in a row as the playlist holds tracks mean
// nothing in it plays, and the end of the last one stops instead of moving on.
struct SkipGuard
{
    // Failed tracks in a row so far.
    int failuresInARow = 0;
    // Whether the track now loaded was started from 0 %: only such a track can fail. A track
    // started elsewhere (a seek, a start from the slider) may well end at once.
    bool startedFromBeginning = false;
    // Whether the track now loaded has sent progress past its first value.
    bool progressed = false;
};

} // namespace tarvelo::playback
