#include "desktop/hotkeys.h"

#include "app/context.h"
#include "ui/mainwindow.h"

#include <QAction>
#include <QPushButton>

namespace tarvelo::desktop {

namespace {

struct HotkeyRow
{
    QPushButton *const ui::MainWindow::*button;
    QAction *const ui::MainWindow::*trayItem;
    const char16_t *keys;
};

const HotkeyRow kRows[] = {
    { &ui::MainWindow::按钮_播放, &ui::MainWindow::托盘_暂停, u"Shift + Pause" },
    { &ui::MainWindow::按钮_下一曲, &ui::MainWindow::托盘_下一曲, u"Shift + Page Down" },
    { &ui::MainWindow::按钮_上一曲, &ui::MainWindow::托盘_上一曲, u"Shift + Page Up" },
    { &ui::MainWindow::按钮_停止, &ui::MainWindow::托盘_停止, u"Shift + End" },
};

} // namespace

void registerHotkeys(AppContext &)
{
    // Global key grabs are not wired up yet: nothing is registered and no warning follows,
    // since no registration was refused.
}

void attachHotkeyHints(AppContext &ctx)
{
    for (const HotkeyRow &row : kRows) {
        const QString keys = QString::fromUtf16(row.keys);
        (ctx.window.*row.button)->setToolTip(keys);
        QAction *item = ctx.window.*row.trayItem;
        item->setText(item->text() + QLatin1Char('\t') + QLatin1Char('[') + keys +
                      QLatin1Char(']'));
    }
}

void warnFailedHotkeys(AppContext &)
{
    // Goes with registerHotkeys: until keys are grabbed, no registration can have failed.
}

} // namespace tarvelo::desktop
