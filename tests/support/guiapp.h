#pragma once

#include "app/context.h"
#include "app/sharedstate.h"
#include "desktop/tray.h"
#include "fakeaudioplayer.h"
#include "fakeclock.h"
#include "fakemixer.h"
#include "playback/random.h"
#include "ui/dialogs.h"
#include "ui/mainwindow.h"

#include <QIcon>

#include <deque>
#include <functional>

namespace tarvelo::testing {

// Dialogs that answer from what the test queued and record what was asked. An OK/Cancel
// question with no answer queued is answered Cancel, as closing the box would.
class AnsweringDialogs final : public ui::Dialogs
{
public:
    bool askOkCancel(const QString &text, const QString &title) override
    {
        asked << title + QLatin1Char('|') + text;
        if (onAsk)
            onAsk();
        if (answers.empty())
            return false;
        const bool ok = answers.front();
        answers.pop_front();
        return ok;
    }
    void warn(const QString &text, const QString &title) override
    {
        warned << title + QLatin1Char('|') + text;
    }
    QStringList chooseFiles(const QString &title, const QString &filter) override
    {
        chooserTitles << title + QLatin1Char('|') + filter;
        if (files.empty())
            return {};
        QStringList chosen = files.front();
        files.pop_front();
        return chosen;
    }
    void beep() override { ++beeps; }

    std::deque<bool> answers;
    std::deque<QStringList> files;
    std::function<void()> onAsk;
    QStringList asked, warned, chooserTitles;
    int beeps = 0;
};

// A main window on the offscreen platform with every facility replaced by a test double:
// what a gui-tier test drives the commands through.
struct GuiApp
{
    SharedState state;
    ui::MainWindow window;
    FakeAudioPlayer player;
    FakeMixer mixer;
    FakeClock clock;
    AnsweringDialogs dialogs;
    desktop::TrayIcon tray { QIcon() };
    playback::RandomSource random;
    AppContext ctx { state, window, player, mixer, clock, dialogs, tray, random };
};

} // namespace tarvelo::testing
