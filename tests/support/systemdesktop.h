#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

namespace tarvelo::testing {

// True when scripts/test.sh (or scripts/desktop.sh) has started the virtual desktop and
// sound server for this run: DISPLAY, XDG_RUNTIME_DIR and TARVELO_TEST_DESKTOP=1 are set.
bool haveDesktop();

#define TARVELO_REQUIRE_DESKTOP()                                                                  \
    do {                                                                                           \
        if (!::tarvelo::testing::haveDesktop())                                                    \
            GTEST_SKIP() << "no virtual desktop: run the suite through scripts/test.sh";           \
    } while (0)

struct CommandResult
{
    int exitCode = -1; // -1 also when the command could not be started or timed out
    QString out;
    QString err;
};

// Runs a command to its end (at most timeoutMs) and captures its output.
CommandResult runCommand(const QString &program, const QStringList &args, int timeoutMs = 10000);

// Polls `done` every pollMs until it holds or timeoutMs has passed; returns the last result.
bool waitUntil(const std::function<bool()> &done, int timeoutMs, int pollMs = 50);

// The path of a generated MP3 fixture (tests/fixtures/make-fixtures.sh).
QString fixturePath(const QString &name);

// X11 observations made from outside, as a user's tools would.
std::optional<QString> findWindow(const QString &title); // xdotool search --name
std::optional<QString> waitForWindow(const QString &title, int timeoutMs);
std::optional<qint64> windowOpacity(const QString &windowId); // _NET_WM_WINDOW_OPACITY
struct WindowGeometry
{
    int x = 0, y = 0, width = 0, height = 0;
    bool viewable = false;
};
std::optional<WindowGeometry> windowGeometry(const QString &windowId); // xwininfo

// The built program, started on the virtual desktop and killed when this goes away.
class TarveloProcess
{
public:
    TarveloProcess();
    ~TarveloProcess();
    TarveloProcess(const TarveloProcess &) = delete;
    TarveloProcess &operator=(const TarveloProcess &) = delete;

    void start(const QStringList &args = {}, const QStringList &extraEnv = {});
    bool waitForExit(int timeoutMs);
    int exitCode() const;
    QProcess::ExitStatus exitStatus() const;
    QProcess &process() { return *process_; }

private:
    std::unique_ptr<QProcess> process_;
};

} // namespace tarvelo::testing
