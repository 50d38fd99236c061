#pragma once

#include <QTimer>
#include <QWidget>

namespace tarvelo::ui {

// A balloon-shaped tip of the program's own: a rounded box with one line of text and a tail
// whose point touches a given screen point. It closes by itself after its display time; a
// new message replaces one that is still shown. It never takes the focus.
class BalloonTip final : public QWidget
{
public:
    static constexpr int kDisplayMs = 3000;

    explicit BalloonTip(QWidget *owner = nullptr);

    // Shows `text` with the tail pointing at `tail` (screen coordinates). An empty text
    // shows nothing, and leaves a balloon already shown as it is.
    void showMessage(const QString &text, const QPoint &tail, int displayMs = kDisplayMs);

    QString text() const { return text_; }
    QPoint tail() const { return tail_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPainterPath outline() const;

    QString text_;
    QPoint tail_;
    bool tailOnTop_ = true;
    int tailX_ = 0; // in widget coordinates
    QTimer closer_;
};

} // namespace tarvelo::ui
