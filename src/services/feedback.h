#pragma once

#include <QEvent>

namespace tarvelo::services {

// A feedback value travels to its target control as one of these events: progress 0..99,
// 100 at the end of a track, or a hotkey id (33001 and above). Players post it from their
// own threads with QCoreApplication::postEvent, so values arrive on the GUI thread in the
// order they were sent; the hotkey facility sends it synchronously.
class FeedbackEvent final : public QEvent
{
public:
    static constexpr QEvent::Type kType = static_cast<QEvent::Type>(QEvent::User + 117);

    explicit FeedbackEvent(int value)
        : QEvent(kType)
        , value_(value)
    {}

    int value() const { return value_; }

private:
    int value_;
};

} // namespace tarvelo::services
