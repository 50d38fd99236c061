#include "ui/progressslider.h"

namespace tarvelo::ui {

ProgressSlider::ProgressSlider(QWidget *parent)
    : QSlider(Qt::Horizontal, parent)
{
    setRange(1, 100);
    setSingleStep(5);
    setPageStep(5);
    setTickPosition(QSlider::NoTicks);
    setValue(1);
    // actionTriggered comes after the action has moved the slider position but before the
    // value follows it, so the thumb's new place is already there to be read.
    connect(this, &QAbstractSlider::actionTriggered, this, [this] { takeThumbPosition(); });
    connect(this, &QAbstractSlider::sliderReleased, this, [this] { takeThumbPosition(); });
}

void ProgressSlider::setPosition(int value)
{
    position_ = value;
    const QSignalBlocker quiet(this);
    setValue(qBound(minimum(), value, maximum()));
}

void ProgressSlider::takeThumbPosition()
{
    position_ = sliderPosition();
    emit positionChangedByUser();
}

} // namespace tarvelo::ui
