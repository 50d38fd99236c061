#pragma once

#include <QString>
#include <QStringList>

namespace tarvelo::ui {

// The program's modal dialogs. Message boxes have no owner window and block every window of
// the program while open; closing an OK/Cancel box counts as Cancel. Tests answer them with
// a double of their own.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // A question with OK and Cancel and the question icon; true for OK.
    virtual bool askOkCancel(const QString &text, const QString &title) = 0;
    // A warning with an OK button and the warning icon.
    virtual void warn(const QString &text, const QString &title) = 0;
    // The multi-select file-open dialog: existing files only, one filter given as
    // "description(pattern)". Returns the full paths chosen, in the dialog's order, or none
    // when cancelled. There is no cap on how many names come back.
    virtual QStringList chooseFiles(const QString &title, const QString &filter) = 0;
    // The system's default sound.
    virtual void beep() = 0;
};

// The real dialogs of the desktop.
class SystemDialogs final : public Dialogs
{
public:
    bool askOkCancel(const QString &text, const QString &title) override;
    void warn(const QString &text, const QString &title) override;
    QStringList chooseFiles(const QString &title, const QString &filter) override;
    void beep() override;
};

} // namespace tarvelo::ui
