// Measures the audio playback service. One figure per invocation, so that each CPU and
// memory figure belongs to a process that did nothing else:
//
//   services_bench play FILE        plays FILE to its end with the service
//   services_bench mpg123 FILE      plays FILE with `mpg123 -q -o pulse`, as a child
//   services_bench latency N FILE START [FILE START ...]
//                                   PlayFile and StopPlayback latency, N runs per case
//
// Lines of output are "key value" pairs for bench/services/run.sh to put side by side.

#include "services/feedback.h"
#include "services/systemaudioplayer.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using Clock = std::chrono::steady_clock;
using tarvelo::services::FeedbackEvent;
using tarvelo::services::SystemAudioPlayer;

namespace {

double cpuSeconds(const rusage &u)
{
    auto s = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return s(u.ru_utime) + s(u.ru_stime);
}

long currentRssKib()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    return 0;
}

class EndWatcher : public QObject
{
public:
    bool ended = false;

protected:
    bool event(QEvent *e) override
    {
        if (e->type() == FeedbackEvent::kType && static_cast<FeedbackEvent *>(e)->value() == 100)
            ended = true;
        return QObject::event(e);
    }
};

int play(const char *file)
{
    rusage before {};
    getrusage(RUSAGE_SELF, &before);
    const long rssBefore = currentRssKib();
    {
        SystemAudioPlayer player;
        EndWatcher watcher;
        player.PlayFile(QString::fromLocal8Bit(file), 0, &watcher);
        if (player.GetPlayState() != 1) {
            std::fprintf(stderr, "services_bench: %s did not play\n", file);
            return 1;
        }
        while (!watcher.ended) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            QThread::msleep(20);
        }
    }
    rusage after {};
    getrusage(RUSAGE_SELF, &after);
    std::printf("cpu_process %.3f\n", cpuSeconds(after));
    std::printf("cpu_playing %.3f\n", cpuSeconds(after) - cpuSeconds(before));
    std::printf("rss_peak_kib %ld\n", after.ru_maxrss);
    std::printf("rss_before_play_kib %ld\n", rssBefore);
    return 0;
}

int mpg123(const char *file)
{
    const pid_t pid = fork();
    if (pid == 0) {
        execlp("mpg123", "mpg123", "-q", "-o", "pulse", file, static_cast<char *>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage u {};
    if (pid < 0 || wait4(pid, &status, 0, &u) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "services_bench: mpg123 failed\n");
        return 1;
    }
    std::printf("cpu_process %.3f\n", cpuSeconds(u));
    std::printf("rss_peak_kib %ld\n", u.ru_maxrss);
    return 0;
}

struct Stats
{
    double median, p90, max;
};

Stats stats(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return { v[v.size() / 2], v[std::min(v.size() - 1, v.size() * 9 / 10)], v.back() };
}

void pump(int ms)
{
    const auto until = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < until) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::msleep(5);
    }
}

int latency(int runs, int argc, char **argv)
{
    SystemAudioPlayer player;
    std::atomic<Clock::rep> firstWrite { 0 };
    player.setFirstWriteHook([&] { firstWrite = Clock::now().time_since_epoch().count(); });
    QObject target;

    for (int i = 0; i + 1 < argc; i += 2) {
        const QString file = QString::fromLocal8Bit(argv[i]);
        const int start = std::atoi(argv[i + 1]);
        const std::string name =
            QFile::decodeName(argv[i]).section(QLatin1Char('/'), -1).toStdString();
        std::vector<double> starts;
        std::vector<double> stops;
        // Two warm-up runs bring the file into the page cache.
        for (int run = -2; run < runs; ++run) {
            // A player is running when PlayFile comes: its discard is part of the start.
            firstWrite = 0;
            const auto t0 = Clock::now();
            player.PlayFile(file, start, &target);
            while (firstWrite.load() == 0 && Clock::now() - t0 < std::chrono::seconds(5))
                std::this_thread::yield();
            const double ms = std::chrono::duration<double, std::milli>(
                                  Clock::duration(firstWrite.load()) - t0.time_since_epoch())
                                  .count();
            if (run >= 0)
                starts.push_back(ms);
            pump(250);
        }
        for (int run = -1; run < runs; ++run) {
            player.PlayFile(file, start, &target);
            pump(300);
            const auto t0 = Clock::now();
            player.StopPlayback();
            const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
            if (run >= 0)
                stops.push_back(ms);
        }
        const Stats s = stats(starts);
        const Stats t = stats(stops);
        std::printf("start %s@%d median %.2f p90 %.2f max %.2f\n", name.c_str(), start, s.median,
                    s.p90, s.max);
        std::printf("stop %s@%d median %.2f p90 %.2f max %.2f\n", name.c_str(), start, t.median,
                    t.p90, t.max);
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "mpg123") == 0)
        return mpg123(argv[2]);
    QCoreApplication app(argc, argv);
    if (argc >= 3 && std::strcmp(argv[1], "play") == 0)
        return play(argv[2]);
    if (argc >= 5 && std::strcmp(argv[1], "latency") == 0)
        return latency(std::max(1, std::atoi(argv[2])), argc - 3, argv + 3);
    std::fprintf(stderr, "usage: services_bench play FILE | mpg123 FILE | "
                         "latency RUNS FILE START [FILE START...]\n");
    return 2;
}
