#pragma once

#include <QSlider>

namespace tarvelo::ui {

// The progress slider. Its position is the value last written by the program, kept even
// outside the slider's range (0 after a stop), while the thumb shows it clamped to 1..100.
// A scroll by the user replaces the stored value with the thumb's position.
//
// positionChangedByUser fires for every scroll action of the user: each line or page step
// or jump to either end, by key, wheel or click, each step of a drag, and the release of
// the thumb even when it did not move. A position written by the program raises nothing.
class ProgressSlider final : public QSlider
{
    Q_OBJECT

public:
    explicit ProgressSlider(QWidget *parent = nullptr);

    int position() const { return position_; }
    void setPosition(int value);

signals:
    void positionChangedByUser();

private:
    void takeThumbPosition();

    int position_ = 1;
};

} // namespace tarvelo::ui
