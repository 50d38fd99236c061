#include "ui/dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace tarvelo::ui {

namespace {

int runBox(QMessageBox::Icon icon, const QString &title, const QString &text,
           QMessageBox::StandardButtons buttons, QMessageBox::StandardButton escape)
{
    // No owner window: the box stands alone and blocks all of the program's windows.
    QMessageBox box(icon, title, text, buttons);
    box.setWindowModality(Qt::ApplicationModal);
    box.setEscapeButton(escape);
    return box.exec();
}

} // namespace

bool SystemDialogs::askOkCancel(const QString &text, const QString &title)
{
    return runBox(QMessageBox::Question, title, text, QMessageBox::Ok | QMessageBox::Cancel,
                  QMessageBox::Cancel) == QMessageBox::Ok;
}

void SystemDialogs::warn(const QString &text, const QString &title)
{
    runBox(QMessageBox::Warning, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

QStringList SystemDialogs::chooseFiles(const QString &title, const QString &filter)
{
    QFileDialog dialog(nullptr, title);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Qt takes the pattern from the parentheses at the end of the filter's text.
    dialog.setNameFilter(filter);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

void SystemDialogs::beep()
{
    QApplication::beep();
}

} // namespace tarvelo::ui
