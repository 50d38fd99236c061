#pragma once

#include <QPushButton>

namespace tarvelo::ui {

// A check box drawn as a push button: it stays pressed in while ticked, and a click toggles
// the tick before the clicked signal. The box is narrower than its caption, so the caption
// wraps between characters onto a second line.
class MuteBox final : public QPushButton
{
    Q_OBJECT

public:
    explicit MuteBox(const QString &caption, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace tarvelo::ui
