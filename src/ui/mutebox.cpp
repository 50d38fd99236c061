#include "ui/mutebox.h"

#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextOption>

namespace tarvelo::ui {

MuteBox::MuteBox(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
    setCheckable(true);
}

void MuteBox::paintEvent(QPaintEvent *)
{
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    p.drawControl(QStyle::CE_PushButton, option);

    QTextOption wrap(Qt::AlignCenter);
    wrap.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    p.setPen(Qt::black);
    const QRect inner = rect().adjusted(1, 1, -1, -1);
    p.drawText(QRectF(inner.translated(isDown() || isChecked() ? QPoint(1, 1) : QPoint())), caption,
               wrap);
}

} // namespace tarvelo::ui
