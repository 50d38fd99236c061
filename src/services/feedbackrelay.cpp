#include "services/feedbackrelay.h"

#include "services/feedback.h"

#include <QCoreApplication>

namespace tarvelo::services {

namespace {
const QEvent::Type kWake = static_cast<QEvent::Type>(QEvent::User + 118);
}

FeedbackRelay::FeedbackRelay(QObject *target, std::function<void()> onEnd)
    : target_(target), onEnd_(std::move(onEnd))
{
}

FeedbackRelay::~FeedbackRelay() = default;

void FeedbackRelay::send(int value)
{
    bool post = false;
    {
        std::lock_guard lock(mutex_);
        pending_.push_back(value);
        post = !wakePosted_;
        wakePosted_ = true;
    }
    // A plain QEvent: the value itself travels through the mutex-guarded queue, whose
    // hand-off the thread sanitizer can follow, not through Qt's event queue.
    if (post)
        QCoreApplication::postEvent(this, new QEvent(kWake));
}

void FeedbackRelay::discard()
{
    discarded_ = true;
    if (delivering_ == 0)
        delete this;  // also removes a wake-up event still queued for it
}

bool FeedbackRelay::event(QEvent *e)
{
    if (e->type() != kWake)
        return QObject::event(e);
    ++delivering_;
    while (!discarded_) {
        int value = 0;
        {
            std::lock_guard lock(mutex_);
            if (pending_.empty()) {
                wakePosted_ = false;
                break;
            }
            value = pending_.front();
            pending_.pop_front();
        }
        if (value == 100 && onEnd_)
            onEnd_();
        if (QObject *target = target_.data()) {
            FeedbackEvent fe(value);
            QCoreApplication::sendEvent(target, &fe);
        }
    }
    --delivering_;
    if (discarded_ && delivering_ == 0)
        delete this;
    return true;
}

} // namespace tarvelo::services
