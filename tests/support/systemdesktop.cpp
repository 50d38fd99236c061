#include "systemdesktop.h"

#include <QElapsedTimer>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QThread>

namespace tarvelo::testing {

bool haveDesktop()
{
    return qEnvironmentVariable("TARVELO_TEST_DESKTOP") == QLatin1String("1") &&
           !qEnvironmentVariableIsEmpty("DISPLAY");
}

CommandResult runCommand(const QString &program, const QStringList &args, int timeoutMs)
{
    QProcess p;
    p.start(program, args);
    CommandResult r;
    if (!p.waitForStarted(timeoutMs))
        return r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(1000);
        return r;
    }
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return r;
}

bool waitUntil(const std::function<bool()> &done, int timeoutMs, int pollMs)
{
    QElapsedTimer t;
    t.start();
    for (;;) {
        if (done())
            return true;
        if (t.elapsed() > timeoutMs)
            return false;
        QThread::msleep(pollMs);
    }
}

QString fixturePath(const QString &name)
{
    return QStringLiteral(TARVELO_FIXTURE_DIR "/") + name;
}

std::optional<QString> findWindow(const QString &title)
{
    const auto r = runCommand(QStringLiteral("xdotool"),
                              { QStringLiteral("search"), QStringLiteral("--name"),
                                QStringLiteral("^%1$").arg(QRegularExpression::escape(title)) });
    const QStringList ids = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (r.exitCode != 0 || ids.isEmpty())
        return std::nullopt;
    return ids.last().trimmed();
}

std::optional<QString> waitForWindow(const QString &title, int timeoutMs)
{
    std::optional<QString> id;
    waitUntil([&] { return (id = findWindow(title)).has_value(); }, timeoutMs, 100);
    return id;
}

std::optional<qint64> windowOpacity(const QString &windowId)
{
    const auto r =
        runCommand(QStringLiteral("xprop"),
                   { QStringLiteral("-id"), windowId, QStringLiteral("_NET_WM_WINDOW_OPACITY") });
    static const QRegularExpression value(QStringLiteral("= (\\d+)"));
    const auto m = value.match(r.out);
    if (r.exitCode != 0 || !m.hasMatch())
        return std::nullopt;
    return m.captured(1).toLongLong();
}

std::optional<WindowGeometry> windowGeometry(const QString &windowId)
{
    const auto r = runCommand(QStringLiteral("xwininfo"), { QStringLiteral("-id"), windowId });
    if (r.exitCode != 0)
        return std::nullopt;
    auto field = [&](const char *name) {
        const QRegularExpression re(QStringLiteral("%1:\\s+(-?\\d+)").arg(QLatin1String(name)));
        return re.match(r.out).captured(1).toInt();
    };
    WindowGeometry g;
    g.x = field("Absolute upper-left X");
    g.y = field("Absolute upper-left Y");
    g.width = field("Width");
    g.height = field("Height");
    g.viewable = r.out.contains(QLatin1String("Map State: IsViewable"));
    return g;
}

TarveloProcess::TarveloProcess()
    : process_(std::make_unique<QProcess>())
{}

TarveloProcess::~TarveloProcess()
{
    if (process_->state() != QProcess::NotRunning) {
        process_->kill();
        process_->waitForFinished(3000);
    }
}

void TarveloProcess::start(const QStringList &args, const QStringList &extraEnv)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    for (const QString &kv : extraEnv) {
        const qsizetype eq = kv.indexOf(QLatin1Char('='));
        env.insert(kv.left(eq), kv.mid(eq + 1));
    }
    process_->setProcessEnvironment(env);
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_->start(QStringLiteral(TARVELO_BINARY), args);
    ASSERT_TRUE(process_->waitForStarted(5000)) << "tarvelo did not start";
}

bool TarveloProcess::waitForExit(int timeoutMs)
{
    return process_->state() == QProcess::NotRunning || process_->waitForFinished(timeoutMs);
}

int TarveloProcess::exitCode() const
{
    return process_->exitCode();
}

QProcess::ExitStatus TarveloProcess::exitStatus() const
{
    return process_->exitStatus();
}

} // namespace tarvelo::testing
