#pragma once

#include <QLabel>

namespace tarvelo::ui {

// The hidden label that receives feedback values: progress and end of track from the
// player's threads, posted through the event queue, and hotkey ids, sent synchronously.
class FeedbackLabel final : public QLabel
{
    Q_OBJECT

public:
    explicit FeedbackLabel(QWidget *parent = nullptr);

signals:
    void feedback(int value);

protected:
    bool event(QEvent *event) override;
};

} // namespace tarvelo::ui
