#include "app/startup.h"
#include "guiapp.h"
#include "ui/feedbacklabel.h"
#include "ui/mutebox.h"
#include "ui/playlistbox.h"
#include "ui/progressslider.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

namespace tarvelo {
namespace {

using testing::GuiApp;

struct ControlCase
{
    const char16_t *name;
    QRect geometry;
    const char16_t *caption; // nullptr: not a button
};

TEST(MainWindow, ControlsHaveTheirNamesPlacesAndCaptions)
{
    GuiApp app;
    initMainWindow(app.ctx);
    const ControlCase cases[] = {
        { u"按钮_播放", { 0, 0, 50, 25 }, u"播放" },
        { u"按钮_上一曲", { 49, 0, 50, 25 }, u"上一曲" },
        { u"按钮_定时", { 98, 0, 48, 25 }, u"定时" },
        { u"按钮_下一曲", { 145, 0, 50, 25 }, u"下一曲" },
        { u"按钮_停止", { 194, 0, 50, 25 }, u"停止" },
        { u"滑块条_播放进度", { -7, 22, 260, 25 }, nullptr },
        { u"列表框", { 0, 46, 224, 222 }, nullptr },
        { u"选择框_静音", { 224, 46, 20, 35 }, u"静音" },
        { u"纵向滚动条_音量", { 224, 80, 20, 188 }, nullptr },
    };
    for (const ControlCase &c : cases) {
        const QString name = QString::fromUtf16(c.name);
        auto *w = app.window.findChild<QWidget *>(name);
        ASSERT_NE(w, nullptr) << name.toStdString();
        EXPECT_EQ(w->geometry(), c.geometry) << name.toStdString();
        EXPECT_EQ(w->cursor().shape(), Qt::PointingHandCursor) << name.toStdString();
        // Only the list box is reached with Tab.
        EXPECT_EQ(bool(w->focusPolicy() & Qt::TabFocus), name == QStringLiteral("列表框"))
            << name.toStdString();
        if (c.caption) {
            EXPECT_EQ(qobject_cast<QAbstractButton *>(w)->text(), QString::fromUtf16(c.caption));
        }
    }
    EXPECT_EQ(app.window.windowTitle(), QStringLiteral("Tarvelo"));
    EXPECT_EQ(app.window.size(), QSize(244, 267));
    EXPECT_EQ(app.window.minimumSize(), app.window.maximumSize()) << "fixed size";
    EXPECT_FALSE(app.window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(app.window.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(app.window.windowFlags() & Qt::WindowCloseButtonHint);

    const QFont timerFont = app.window.按钮_定时->font();
    EXPECT_TRUE(timerFont.bold());
    EXPECT_EQ(timerFont.pixelSize(), 12);
    EXPECT_EQ(timerFont.families().value(0), QStringLiteral("宋体"));

    const QPalette list = app.window.列表框->palette();
    EXPECT_EQ(list.color(QPalette::Text), QColor(0, 0, 255));
    EXPECT_EQ(list.color(QPalette::Base), QColor(236, 236, 236));
    EXPECT_TRUE(app.window.选择框_静音->isCheckable());
    EXPECT_FALSE(app.window.选择框_静音->isChecked());
}

TEST(MainWindow, RangesStepsAndNonVisualParts)
{
    GuiApp app;
    auto *slider = app.window.滑块条_播放进度;
    EXPECT_EQ(slider->minimum(), 1);
    EXPECT_EQ(slider->maximum(), 100);
    EXPECT_EQ(slider->singleStep(), 5);
    EXPECT_EQ(slider->pageStep(), 5);
    EXPECT_EQ(slider->position(), 1);
    auto *volume = app.window.纵向滚动条_音量;
    EXPECT_EQ(volume->orientation(), Qt::Vertical);
    EXPECT_EQ(volume->minimum(), 0);
    EXPECT_EQ(volume->maximum(), 100);
    EXPECT_EQ(volume->singleStep(), 10);
    EXPECT_EQ(volume->pageStep(), 10);
    EXPECT_EQ(volume->value(), 1);
    EXPECT_TRUE(volume->hasTracking());

    EXPECT_EQ(app.window.时钟_音量->interval(), 1000);
    EXPECT_TRUE(app.window.时钟_音量->isActive());
    EXPECT_EQ(app.window.findChild<QTimer *>(QStringLiteral("时钟_音量")), app.window.时钟_音量);
    EXPECT_FALSE(app.window.标签_反馈事件->isVisibleTo(&app.window));
    EXPECT_EQ(app.window.标签_反馈事件->text(), QStringLiteral("反馈事件"));
    EXPECT_EQ(app.window.列表框->rowCount(), 0);
    EXPECT_EQ(app.window.列表框->selection(), -1);
}

TEST(MainWindow, PopupMenusHoldTheirItemsInOrder)
{
    GuiApp app;
    auto captions = [](QMenu *menu) {
        QStringList texts;
        for (QAction *a : menu->actions()) {
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
            EXPECT_FALSE(a->isChecked());
            EXPECT_EQ(a->isEnabled(), !a->isSeparator());
        }
        return texts;
    };
    EXPECT_EQ(app.window.菜单_列表右键->title(), QStringLiteral("菜单_列表右键"));
    EXPECT_EQ(captions(app.window.菜单_列表右键),
              (QStringList { QStringLiteral("随机播放"), QStringLiteral("单曲循环"),
                             QStringLiteral("-"), QStringLiteral("添加列表"),
                             QStringLiteral("移除列表"), QStringLiteral("重置列表") }));
    EXPECT_EQ(
        captions(app.window.菜单_图标右键),
        (QStringList { QStringLiteral("暂停"), QStringLiteral("下一曲"), QStringLiteral("上一曲"),
                       QStringLiteral("停止"), QStringLiteral("-"), QStringLiteral("退出") }));
}

TEST(ProgressSlider, KeepsTheValueWrittenAndRaisesNothingForIt)
{
    ui::ProgressSlider slider;
    QSignalSpy user(&slider, &ui::ProgressSlider::positionChangedByUser);
    QSignalSpy changed(&slider, &QAbstractSlider::valueChanged);
    const std::pair<int, int> writes[] = {
        { 0, 1 }, { 40, 40 }, { 100, 100 }, { 150, 100 }, { -3, 1 }
    };
    for (auto [written, thumb] : writes) {
        slider.setPosition(written);
        EXPECT_EQ(slider.position(), written);
        EXPECT_EQ(slider.value(), thumb);
    }
    EXPECT_EQ(user.count(), 0);
    EXPECT_EQ(changed.count(), 0);
}

TEST(ProgressSlider, EveryUserActionReportsTheThumbPosition)
{
    ui::ProgressSlider slider;
    QSignalSpy user(&slider, &ui::ProgressSlider::positionChangedByUser);
    slider.setPosition(0);
    slider.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(slider.position(), 6) << "a step from the thumb's place at 1";
    slider.triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(slider.position(), 100);
    slider.triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(user.count(), 3) << "also when the position stays";
    // A drag: each move, then the release even without a move.
    slider.setSliderDown(true);
    slider.setSliderPosition(30);
    slider.setSliderDown(false);
    EXPECT_EQ(slider.position(), 30);
    EXPECT_EQ(user.count(), 5);
}

} // namespace
} // namespace tarvelo
