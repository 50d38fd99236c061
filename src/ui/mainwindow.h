#pragma once

#include <QWidget>

#include <functional>

class QAction;
class QMenu;
class QPushButton;
class QScrollBar;
class QTimer;

namespace tarvelo::ui {

class BalloonTip;
class FeedbackLabel;
class MuteBox;
class PlaylistBox;
class ProgressSlider;

// The main window: five buttons across the top, the progress slider, the playlist box, the
// mute box and the volume scroll bar down the right edge, plus the non-visual parts the
// commands use. Every control carries its name as its objectName too, so that tests and the
// accessibility tree find it by that name.
//
// The window only forwards its own events to the handlers set below; what the controls do
// is wired up by the program (app/), which knows the commands.
class MainWindow final : public QWidget
{
public:
    // The client area the layout is made for, and the outer size it was designed with.
    static constexpr int kClientWidth = 244;
    static constexpr int kClientHeight = 267;
    static constexpr int kDesignOuterWidth = 250;
    static constexpr int kDesignOuterHeight = 322;

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    struct Handlers
    {
        std::function<void()> firstActivated;
        // Answers false to keep the window open.
        std::function<bool()> canBeClosed;
        std::function<void()> willBeDestroyed;
        std::function<void()> positionChanged;
    };
    Handlers handlers;

    // Places the window's frame centred on the primary screen for the design size.
    void centreOnPrimaryScreen();

    // Runs the first-activated handler, once per window life. The window's activation calls
    // it; the program calls it too if no activation ever comes (a window manager that does
    // not focus new windows), since the window stays invisible until then.
    void raiseFirstActivation();
    bool wasActivated() const { return activatedOnce_; }

    QPushButton *const 按钮_播放;
    QPushButton *const 按钮_上一曲;
    QPushButton *const 按钮_定时;
    QPushButton *const 按钮_下一曲;
    QPushButton *const 按钮_停止;
    ProgressSlider *const 滑块条_播放进度;
    PlaylistBox *const 列表框;
    MuteBox *const 选择框_静音;
    QScrollBar *const 纵向滚动条_音量;

    QTimer *const 时钟_音量;
    FeedbackLabel *const 标签_反馈事件;
    BalloonTip *const 气球提示框;

    // The two popup menus, never shown as a menu bar.
    QMenu *const 菜单_列表右键;
    QAction *const 随机播放;
    QAction *const 单曲循环;
    QAction *const 添加列表;
    QAction *const 移除列表;
    QAction *const 重置列表;

    QMenu *const 菜单_图标右键;
    QAction *const 托盘_暂停;
    QAction *const 托盘_下一曲;
    QAction *const 托盘_上一曲;
    QAction *const 托盘_停止;
    QAction *const 托盘_退出;

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    bool activatedOnce_ = false;
    bool destroyed_ = false;
};

} // namespace tarvelo::ui
