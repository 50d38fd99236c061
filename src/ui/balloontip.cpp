#include "ui/balloontip.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace tarvelo::ui {

namespace {
constexpr int kTailHeight = 14;
constexpr int kTailWidth = 16;
constexpr int kPadding = 10;
constexpr int kRadius = 7;
const QColor kFill(255, 255, 225);
const QColor kBorder(118, 118, 118);
} // namespace

BalloonTip::BalloonTip(QWidget *owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                         Qt::WindowDoesNotAcceptFocus)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    closer_.setSingleShot(true);
    connect(&closer_, &QTimer::timeout, this, &QWidget::hide);
}

void BalloonTip::showMessage(const QString &text, const QPoint &tail, int displayMs)
{
    if (text.isEmpty())
        return;
    text_ = text;
    tail_ = tail;

    const QFontMetrics fm(font());
    const int boxWidth = fm.horizontalAdvance(text_) + 2 * kPadding;
    const int boxHeight = fm.height() + 2 * kPadding;
    const int width = qMax(boxWidth, kTailWidth + 2 * kRadius + 2);
    const int height = boxHeight + kTailHeight;

    // Keep the box on the screen of the tail point; the tail itself always ends there.
    const QScreen *screen = QGuiApplication::screenAt(tail);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(tail, QSize(width, height));
    tailOnTop_ = tail.y() - area.top() < height;
    int x = tail.x() - width / 2;
    x = qBound(area.left(), x, qMax(area.left(), area.right() + 1 - width));
    const int y = tailOnTop_ ? tail.y() : tail.y() - height;
    tailX_ = qBound(kRadius + kTailWidth / 2, tail.x() - x, width - kRadius - kTailWidth / 2);

    setGeometry(x, y, width, height);
    show();
    raise();
    update();
    closer_.start(displayMs);
}

QPainterPath BalloonTip::outline() const
{
    const QRectF box = tailOnTop_
                           ? QRectF(0.5, kTailHeight + 0.5, width() - 1, height() - kTailHeight - 1)
                           : QRectF(0.5, 0.5, width() - 1, height() - kTailHeight - 1);
    QPainterPath path;
    path.addRoundedRect(box, kRadius, kRadius);
    QPainterPath tailPath;
    const qreal tipY = tailOnTop_ ? 0.5 : height() - 0.5;
    const qreal baseY = tailOnTop_ ? box.top() + 1 : box.bottom() - 1;
    tailPath.moveTo(tailX_ - kTailWidth / 2.0, baseY);
    tailPath.lineTo(tailX_, tipY);
    tailPath.lineTo(tailX_ + kTailWidth / 2.0, baseY);
    tailPath.closeSubpath();
    return path.united(tailPath);
}

void BalloonTip::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(kBorder);
    p.setBrush(kFill);
    p.drawPath(outline());
    p.setPen(Qt::black);
    const QRect textArea =
        tailOnTop_ ? rect().adjusted(kPadding, kTailHeight + kPadding, -kPadding, -kPadding)
                   : rect().adjusted(kPadding, kPadding, -kPadding, -kTailHeight - kPadding);
    p.drawText(textArea, Qt::AlignCenter | Qt::TextSingleLine, text_);
}

} // namespace tarvelo::ui
