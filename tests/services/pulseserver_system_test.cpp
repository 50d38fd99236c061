#include "services/system.h"
#include "soundcheck.h"
#include "systemdesktop.h"

#include <QElapsedTimer>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tarvelo::testing;
using tarvelo::services::AudioPlayer;
using tarvelo::services::Mixer;

namespace {

// Points this process's PulseAudio clients at `server` for the scope.
class PulseServerOverride
{
public:
    explicit PulseServerOverride(const QByteArray &server)
        : had_(qEnvironmentVariableIsSet("PULSE_SERVER")), old_(qgetenv("PULSE_SERVER"))
    {
        qputenv("PULSE_SERVER", server);
    }
    ~PulseServerOverride()
    {
        if (had_)
            qputenv("PULSE_SERVER", old_);
        else
            qunsetenv("PULSE_SERVER");
    }

private:
    bool had_;
    QByteArray old_;
};

// A second, private PulseAudio server with one null sink, on a socket of its own, that a
// test can stop and start again.
class PrivateServer
{
public:
    PrivateServer()
    {
        socket_ = dir_.filePath(QStringLiteral("native"));
    }
    ~PrivateServer() { stop(); }

    bool start()
    {
        process_ = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir_.path());
        env.insert(QStringLiteral("HOME"), dir_.path());
        env.remove(QStringLiteral("PULSE_SERVER"));
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        process_->setProcessEnvironment(env);
        process_->setProcessChannelMode(QProcess::MergedChannels);
        process_->setStandardOutputFile(dir_.filePath(QStringLiteral("log")),
                                        QIODevice::Append);
        process_->start(QStringLiteral("pulseaudio"),
                        {QStringLiteral("--daemonize=no"), QStringLiteral("-n"),
                         QStringLiteral("--use-pid-file=no"), QStringLiteral("--exit-idle-time=-1"),
                         QStringLiteral("--disallow-exit"),
                         QStringLiteral("--load=module-null-sink sink_name=restart_sink"),
                         QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 "
                                        "socket=%1")
                             .arg(socket_)});
        if (!process_->waitForStarted(5000))
            return false;
        return waitUntil([&] { return pactl({QStringLiteral("info")}).exitCode == 0; }, 10000,
                         50);
    }

    void stop()
    {
        if (!process_ || process_->state() == QProcess::NotRunning)
            return;
        process_->terminate();
        if (!process_->waitForFinished(5000)) {
            process_->kill();
            process_->waitForFinished(3000);
        }
    }

    CommandResult pactl(QStringList args) const
    {
        args.prepend(QStringLiteral("unix:%1").arg(socket_));
        args.prepend(QStringLiteral("-s"));
        return runCommand(QStringLiteral("pactl"), args);
    }

    QByteArray address() const { return QStringLiteral("unix:%1").arg(socket_).toUtf8(); }
    bool valid() const { return dir_.isValid(); }

private:
    QTemporaryDir dir_;
    QString socket_;
    std::unique_ptr<QProcess> process_;
};

} // namespace

// Without a sound server a track fails to open and the mixer never opens; nothing waits.
TEST(PulseServer, NoServer)
{
    TARVELO_REQUIRE_DESKTOP();
    QTemporaryDir dir;
    PulseServerOverride none("unix:" + dir.filePath(QStringLiteral("no-server")).toUtf8());
    QElapsedTimer t;
    t.start();

    auto player = tarvelo::services::makeSystemAudioPlayer();
    FeedbackRecorder fb(player.get());
    player->PlayFile(fixturePath(QStringLiteral("cbr.mp3")), 0, &fb);
    EXPECT_EQ(player->GetPlayState(), 0);

    auto mixer = tarvelo::services::makeSystemMixer();
    EXPECT_EQ(mixer->SelectMixerLine(Mixer::kMasterOutputLine), 0);
    int volume = 1234;
    EXPECT_EQ(mixer->GetVolume(volume, volume), -1);
    EXPECT_EQ(volume, 1234);
    EXPECT_EQ(mixer->GetMaxVolume(), 0);
    EXPECT_EQ(mixer->GetMute(), -1);
    EXPECT_EQ(mixer->SetVolume(100, 100), 0);
    EXPECT_EQ(mixer->SetMute(1), 0);
    EXPECT_LT(t.elapsed(), 3000) << "calls without a server must not wait";

    spinFor(500);
    EXPECT_TRUE(fb.values.empty());
}

// The server goes away and comes back while the services live: the playing track ends as a
// decoding error ends it, calls in between fail, and the next calls work again.
TEST(PulseServer, ARestartedServerIsReconnected)
{
    TARVELO_REQUIRE_DESKTOP();
    PrivateServer server;
    ASSERT_TRUE(server.valid());
    ASSERT_TRUE(server.start());
    PulseServerOverride use(server.address());

    auto player = tarvelo::services::makeSystemAudioPlayer();
    auto mixer = tarvelo::services::makeSystemMixer();
    ASSERT_EQ(mixer->SelectMixerLine(Mixer::kMasterOutputLine), 1);
    EXPECT_EQ(mixer->GetMute(), 0);

    FeedbackRecorder fb(player.get());
    player->PlayFile(fixturePath(QStringLiteral("cbr.mp3")), 0, &fb);
    ASSERT_TRUE(spinUntil([&] { return !fb.values.empty(); }, 2000));
    spinFor(300);
    server.stop();
    ASSERT_TRUE(spinUntil([&] { return fb.has(100); }, 3000));
    spinFor(300);
    EXPECT_EQ(fb.count(100), 1);
    EXPECT_EQ(player->GetPlayState(), 0);

    // While it is away.
    int left = 0;
    int right = 0;
    EXPECT_EQ(mixer->GetVolume(left, right), -1);
    EXPECT_EQ(left, -1);
    EXPECT_EQ(right, -1);
    EXPECT_EQ(mixer->GetMute(), -1);
    EXPECT_EQ(mixer->SetMute(1), 0);
    EXPECT_EQ(mixer->GetMaxVolume(), 65536) << "the line stays open";
    FeedbackRecorder none(player.get());
    player->PlayFile(fixturePath(QStringLiteral("cbr.mp3")), 0, &none);
    EXPECT_EQ(player->GetPlayState(), 0);

    ASSERT_TRUE(server.start());
    EXPECT_EQ(mixer->SetVolume(11111, 22222), 1);
    EXPECT_TRUE(server.pactl({QStringLiteral("get-sink-volume"), QStringLiteral("@DEFAULT_SINK@")})
                    .out.contains(QLatin1String("front-left: 11111")));
    EXPECT_EQ(mixer->GetMute(), 0);

    FeedbackRecorder again(player.get());
    player->PlayFile(fixturePath(QStringLiteral("cbr.mp3")), 95, &again);
    EXPECT_EQ(player->GetPlayState(), 1);
    ASSERT_TRUE(spinUntil([&] { return again.has(100); }, 3000));
    EXPECT_EQ(again.values.front(), 95);
    EXPECT_TRUE(none.values.empty());
}
