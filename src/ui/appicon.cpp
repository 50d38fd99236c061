#include "ui/appicon.h"

#include <QPainter>
#include <QPainterPath>

namespace tarvelo::ui {

QImage appIconImage(int size)
{
    // Drawn on a 256-unit grid: an olive disc with a light rim, a white eighth-note pair and,
    // from 32 pixels up, a small clock face for the daily schedule.
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);

    QRadialGradient disc(QPointF(100, 80), 200);
    disc.setColorAt(0, QColor(176, 204, 112));
    disc.setColorAt(1, QColor(74, 104, 36));
    p.setPen(QPen(QColor(232, 240, 208), size <= 16 ? 16 : 8));
    p.setBrush(disc);
    p.drawEllipse(QRectF(12, 12, 232, 232));

    // Two note heads joined by a beam.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.save();
    p.translate(86, 176);
    p.rotate(-20);
    p.drawEllipse(QRectF(-28, -19, 56, 38));
    p.restore();
    p.save();
    p.translate(170, 156);
    p.rotate(-20);
    p.drawEllipse(QRectF(-28, -19, 56, 38));
    p.restore();
    p.drawRect(QRectF(104, 64, 14, 110));
    p.drawRect(QRectF(188, 44, 14, 110));
    QPainterPath beam;
    beam.moveTo(104, 64);
    beam.lineTo(202, 44);
    beam.lineTo(202, 76);
    beam.lineTo(104, 96);
    beam.closeSubpath();
    p.drawPath(beam);

    if (size >= 32) {
        p.setBrush(QColor(250, 244, 214));
        p.setPen(QPen(QColor(74, 104, 36), 6));
        p.drawEllipse(QRectF(28, 36, 64, 64));
        p.setPen(QPen(QColor(74, 104, 36), 7, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(60, 68), QPointF(60, 48));
        p.drawLine(QPointF(60, 68), QPointF(76, 74));
    }
    return image;
}

QIcon appIcon()
{
    QIcon icon;
    for (int size : { 256, 64, 48, 32, 16 })
        icon.addPixmap(QPixmap::fromImage(appIconImage(size)));
    return icon;
}

} // namespace tarvelo::ui
