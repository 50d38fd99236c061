#include "scripteddialogs.h"

namespace tarvelo::testing {

namespace {

template <typename T> T takeFront(std::deque<T> &queue, T fallback)
{
    if (queue.empty())
        return fallback;
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

} // namespace

bool ScriptedDialogs::askOkCancel(const QString &text, const QString &title)
{
    calls.append({ Kind::AskOkCancel, title, text });
    if (whileOpen)
        whileOpen(calls.constLast());
    return takeFront(okAnswers, false);
}

void ScriptedDialogs::warn(const QString &text, const QString &title)
{
    calls.append({ Kind::Warn, title, text });
    if (whileOpen)
        whileOpen(calls.constLast());
}

QStringList ScriptedDialogs::chooseFiles(const QString &title, const QString &filter)
{
    calls.append({ Kind::ChooseFiles, title, filter });
    if (whileOpen)
        whileOpen(calls.constLast());
    return takeFront(fileChoices, QStringList());
}

void ScriptedDialogs::beep()
{
    calls.append({ Kind::Beep, QString(), QString() });
    if (whileOpen)
        whileOpen(calls.constLast());
}

QList<ScriptedDialogs::Call> ScriptedDialogs::callsOf(Kind kind) const
{
    QList<Call> matching;
    for (const Call &call : calls) {
        if (call.kind == kind)
            matching.append(call);
    }
    return matching;
}

} // namespace tarvelo::testing
