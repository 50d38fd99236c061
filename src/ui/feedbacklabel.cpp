#include "ui/feedbacklabel.h"

#include "services/feedback.h"

namespace tarvelo::ui {

FeedbackLabel::FeedbackLabel(QWidget *parent)
    : QLabel(QStringLiteral("反馈事件"), parent)
{}

bool FeedbackLabel::event(QEvent *e)
{
    if (e->type() == services::FeedbackEvent::kType) {
        emit feedback(static_cast<services::FeedbackEvent *>(e)->value());
        return true;
    }
    return QLabel::event(e);
}

} // namespace tarvelo::ui
