#pragma once

#include "ui/dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>

namespace tarvelo::testing {

// Dialogs that answer from queues the test fills and record every call in order. With its
// queue empty, a question is answered Cancel (as closing the box would) and the file dialog
// is cancelled.
class ScriptedDialogs final : public ui::Dialogs
{
public:
    enum class Kind { AskOkCancel, Warn, ChooseFiles, Beep };

    struct Call
    {
        Kind kind;
        QString title;
        // The question or warning; the filter of a file dialog; empty for a beep.
        QString text;
    };

    bool askOkCancel(const QString &text, const QString &title) override;
    void warn(const QString &text, const QString &title) override;
    QStringList chooseFiles(const QString &title, const QString &filter) override;
    void beep() override;

    // The calls of one kind, in order.
    QList<Call> callsOf(Kind kind) const;

    std::deque<bool> okAnswers;
    std::deque<QStringList> fileChoices;
    // Runs inside every dialog call after it is recorded, before it answers: what happens
    // while a modal dialog waits (a timer tick, a hotkey) goes here.
    std::function<void(const Call &)> whileOpen;

    QList<Call> calls;
};

} // namespace tarvelo::testing
