#pragma once

#include <QObject>
#include <QPointer>

#include <deque>
#include <functional>
#include <mutex>

namespace tarvelo::services {

// Carries one player's feedback values from its decoder thread to the target control.
//
// It lives on the GUI thread. send() may be called from any thread: the value joins a queue
// and, when the queue was empty, one wake-up event is posted. On the GUI thread the queue is
// drained in order and each value is delivered to the target as a FeedbackEvent, through a
// QPointer, so that a target that has been deleted receives nothing.
//
// When its player is discarded, discard() drops every value still queued and deletes the
// relay, or, when called from inside a delivery (the target's handler started another
// track), marks it and lets the delivery delete it on the way out.
class FeedbackRelay final : public QObject
{
public:
    // `onEnd` runs on the GUI thread just before the value 100 (the end of the track) is
    // delivered, so that the player's state turns 0 exactly when the target learns of the end.
    FeedbackRelay(QObject *target, std::function<void()> onEnd);

    void send(int value);
    void discard();

protected:
    bool event(QEvent *e) override;

private:
    ~FeedbackRelay() override;

    QPointer<QObject> target_;
    std::function<void()> onEnd_;
    std::mutex mutex_;
    std::deque<int> pending_;  // guarded by mutex_
    bool wakePosted_ = false;  // guarded by mutex_
    bool discarded_ = false;   // GUI thread only
    int delivering_ = 0;       // GUI thread only; deliveries may nest through modal loops
};

} // namespace tarvelo::services
