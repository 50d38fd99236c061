#include "ui/mainwindow.h"

#include "ui/balloontip.h"
#include "ui/feedbacklabel.h"
#include "ui/mutebox.h"
#include "ui/playlistbox.h"
#include "ui/progressslider.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

namespace tarvelo::ui {

namespace {

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption, int x,
                        int width)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(x, 0, width, 25);
    return b;
}

QAction *addItem(QMenu *menu, const QString &caption)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(caption);
    return a;
}

QMenu *makeMenu(QWidget *parent, const QString &name)
{
    auto *m = new QMenu(name, parent);
    m->setObjectName(name);
    return m;
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint)
    , 按钮_播放(makeButton(this, QStringLiteral("按钮_播放"), QStringLiteral("播放"), 0, 50))
    , 按钮_上一曲(makeButton(this, QStringLiteral("按钮_上一曲"), QStringLiteral("上一曲"), 49, 50))
    , 按钮_定时(makeButton(this, QStringLiteral("按钮_定时"), QStringLiteral("定时"), 98, 48))
    , 按钮_下一曲(
          makeButton(this, QStringLiteral("按钮_下一曲"), QStringLiteral("下一曲"), 145, 50))
    , 按钮_停止(makeButton(this, QStringLiteral("按钮_停止"), QStringLiteral("停止"), 194, 50))
    , 滑块条_播放进度(new ProgressSlider(this))
    , 列表框(new PlaylistBox(this))
    , 选择框_静音(new MuteBox(QStringLiteral("静音"), this))
    , 纵向滚动条_音量(new QScrollBar(Qt::Vertical, this))
    , 时钟_音量(new QTimer(this))
    , 标签_反馈事件(new FeedbackLabel(this))
    , 气球提示框(new BalloonTip(this))
    , 菜单_列表右键(makeMenu(this, QStringLiteral("菜单_列表右键")))
    , 随机播放(addItem(菜单_列表右键, QStringLiteral("随机播放")))
    , 单曲循环(addItem(菜单_列表右键, QStringLiteral("单曲循环")))
    , 添加列表((菜单_列表右键->addSeparator()->setEnabled(false),
                addItem(菜单_列表右键, QStringLiteral("添加列表"))))
    , 移除列表(addItem(菜单_列表右键, QStringLiteral("移除列表")))
    , 重置列表(addItem(菜单_列表右键, QStringLiteral("重置列表")))
    , 菜单_图标右键(makeMenu(this, QStringLiteral("菜单_图标右键")))
    , 托盘_暂停(addItem(菜单_图标右键, QStringLiteral("暂停")))
    , 托盘_下一曲(addItem(菜单_图标右键, QStringLiteral("下一曲")))
    , 托盘_上一曲(addItem(菜单_图标右键, QStringLiteral("上一曲")))
    , 托盘_停止(addItem(菜单_图标右键, QStringLiteral("停止")))
    , 托盘_退出((菜单_图标右键->addSeparator()->setEnabled(false),
                 addItem(菜单_图标右键, QStringLiteral("退出"))))
{
    setObjectName(QStringLiteral("主窗口"));
    setWindowTitle(QStringLiteral("Tarvelo"));
    // Until the start-up sizes the client area exactly, it has the design size less a
    // thin frame and a caption bar.
    setFixedSize(kClientWidth, kDesignOuterHeight - 26);

    QFont timerFont;
    timerFont.setFamilies({ QStringLiteral("宋体"), QStringLiteral("SimSun") });
    timerFont.setBold(true);
    timerFont.setPixelSize(12);
    按钮_定时->setFont(timerFont);

    滑块条_播放进度->setObjectName(QStringLiteral("滑块条_播放进度"));
    滑块条_播放进度->setGeometry(-7, 22, 260, 25);

    列表框->setObjectName(QStringLiteral("列表框"));
    列表框->setGeometry(0, 46, 224, 222);
    {
        QPalette colours = 列表框->palette();
        colours.setColor(QPalette::Text, QColor(0, 0, 255));
        colours.setColor(QPalette::Base, QColor(236, 236, 236));
        列表框->setPalette(colours);
    }

    选择框_静音->setObjectName(QStringLiteral("选择框_静音"));
    选择框_静音->setGeometry(224, 46, 20, 35);

    纵向滚动条_音量->setObjectName(QStringLiteral("纵向滚动条_音量"));
    纵向滚动条_音量->setGeometry(224, 80, 20, 188);
    纵向滚动条_音量->setRange(0, 100);
    纵向滚动条_音量->setSingleStep(10);
    纵向滚动条_音量->setPageStep(10);
    纵向滚动条_音量->setTracking(true);
    纵向滚动条_音量->setValue(1);

    // Only the list box takes the keyboard focus by Tab; the slider and the scroll bar take
    // it when clicked, so that their keys work; the buttons never take it, so that a click
    // leaves the list box's keys in force.
    for (QPushButton *b : { 按钮_播放, 按钮_上一曲, 按钮_定时, 按钮_下一曲, 按钮_停止 }) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setCursor(Qt::PointingHandCursor);
    }
    选择框_静音->setFocusPolicy(Qt::NoFocus);
    选择框_静音->setCursor(Qt::PointingHandCursor);
    滑块条_播放进度->setFocusPolicy(Qt::ClickFocus);
    滑块条_播放进度->setCursor(Qt::PointingHandCursor);
    纵向滚动条_音量->setFocusPolicy(Qt::ClickFocus);
    纵向滚动条_音量->setCursor(Qt::PointingHandCursor);
    列表框->setFocusPolicy(Qt::StrongFocus);
    列表框->setCursor(Qt::PointingHandCursor);

    时钟_音量->setObjectName(QStringLiteral("时钟_音量"));
    时钟_音量->setInterval(1000);
    时钟_音量->start();

    标签_反馈事件->setObjectName(QStringLiteral("标签_反馈事件"));
    标签_反馈事件->hide();

    气球提示框->setObjectName(QStringLiteral("气球提示框"));

    // Controls without a caption of their own are known by their names in the
    // accessibility tree.
    for (QWidget *w : std::initializer_list<QWidget *> { 滑块条_播放进度, 列表框, 纵向滚动条_音量 })
        w->setAccessibleName(w->objectName());
}

MainWindow::~MainWindow() = default;

void MainWindow::centreOnPrimaryScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - kDesignOuterWidth) / 2,
         area.y() + (area.height() - kDesignOuterHeight) / 2);
}

bool MainWindow::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate && !activatedOnce_) {
        const bool handled = QWidget::event(e);
        raiseFirstActivation();
        return handled;
    }
    return QWidget::event(e);
}

void MainWindow::raiseFirstActivation()
{
    if (activatedOnce_)
        return;
    activatedOnce_ = true;
    if (handlers.firstActivated)
        handlers.firstActivated();
}

void MainWindow::closeEvent(QCloseEvent *e)
{
    if (destroyed_ || (handlers.canBeClosed && !handlers.canBeClosed())) {
        e->ignore();
        return;
    }
    e->accept();
    destroyed_ = true;
    if (handlers.willBeDestroyed)
        handlers.willBeDestroyed();
}

void MainWindow::moveEvent(QMoveEvent *e)
{
    QWidget::moveEvent(e);
    if (handlers.positionChanged)
        handlers.positionChanged();
}

void MainWindow::changeEvent(QEvent *e)
{
    QWidget::changeEvent(e);
    // On X11 minimising does not move the window; the state change stands for the move.
    if (e->type() == QEvent::WindowStateChange && handlers.positionChanged)
        handlers.positionChanged();
}

} // namespace tarvelo::ui
