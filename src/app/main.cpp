#include "app/context.h"
#include "app/sharedstate.h"
#include "app/startup.h"
#include "desktop/tray.h"
#include "playback/random.h"
#include "services/clock.h"
#include "services/system.h"
#include "ui/appicon.h"
#include "ui/dialogs.h"
#include "ui/mainwindow.h"

#include <QApplication>
#include <QSessionManager>

#include <cstdlib>

int main(int argc, char *argv[])
{
    using namespace tarvelo;

    // Opacity, placing a window and global key grabs are X11 facilities: on a Wayland
    // session the program runs through XWayland, unless the user chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    SharedState &state = createSharedState();
    std::atexit(releaseSharedState);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvelo"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tarvelo"));
    QApplication::setDesktopFileName(QStringLiteral("tarvelo"));
    // The program ends through its own close and exit paths; hiding the main window to the
    // tray must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    const QIcon icon = ui::appIcon();
    QApplication::setWindowIcon(icon);

    const std::unique_ptr<services::AudioPlayer> player = services::makeSystemAudioPlayer();
    const std::unique_ptr<services::Mixer> mixer = services::makeSystemMixer();
    services::SystemClock clock;
    ui::SystemDialogs dialogs;
    playback::RandomSource random;

    ui::MainWindow window;
    window.setWindowIcon(icon);
    window.centreOnPrimaryScreen();
    desktop::TrayIcon tray(icon);
    tray.setMenu(window.菜单_图标右键);

    AppContext ctx { state, window, *player, *mixer, clock, dialogs, tray, random };

    // Log-off and shut-down ask the same question as closing the window; Cancel asks the
    // session not to end.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &app, [&ctx](QSessionManager &sm) {
        if (sm.allowsInteraction()) {
            const bool mayEnd = ctx.window.handlers.canBeClosed();
            sm.release();
            if (!mayEnd)
                sm.cancel();
        }
    });

    loadMainWindow(ctx);
    const int code = QApplication::exec();

    player->StopPlayback();
    tray.removeTrayIcon();
    releaseSharedState();
    return code;
}
