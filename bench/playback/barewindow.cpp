// The reference for the playback benchmark's memory figure: a bare Qt Widgets window that
// stays open for the given number of seconds and then quits.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 60;
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare window"));
    window.resize(250, 322);
    window.show();
    QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
    return QApplication::exec();
}
