#pragma once

#include "services/audioplayer.h"

#include <functional>
#include <memory>

namespace tarvelo::services {

namespace pulse {
class Connection;
}
class Track;

// The audio playback service on libmpg123 and PulseAudio.
//
// Each track gets a player of its own (a Track): a decoder thread that decodes with
// libmpg123 and writes to an asynchronous pa_stream. The PulseAudio connection (a threaded
// mainloop and its context) is shared by the players and made again by the next PlayFile
// after the server has gone away.
class SystemAudioPlayer final : public AudioPlayer
{
public:
    SystemAudioPlayer();
    ~SystemAudioPlayer() override;

    void PlayFile(const QString &path, int start, QObject *target) override;
    void SetPauseState(int flag) override;
    void StopPlayback() override;
    int GetPlayState() override;

    // Called on the decoder thread right after a player's first write to its stream; for
    // the benchmark, which measures how long a start takes.
    void setFirstWriteHook(std::function<void()> hook) { firstWriteHook_ = std::move(hook); }

private:
    pulse::Connection *connection();

    std::unique_ptr<pulse::Connection> connection_;
    std::unique_ptr<Track> current_;
    std::function<void()> firstWriteHook_;
};

} // namespace tarvelo::services
