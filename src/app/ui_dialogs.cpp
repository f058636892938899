#include "ui_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <cstdlib>

namespace orv::app {

std::optional<QStringList> QtDialogs::ChooseFiles(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.selectedFiles();
}

void QtDialogs::ShowMessage(const QString& title, const QString& text, bool autoClose)
{
    // Without a parent the box is application-modal and centred on the screen.
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok);
    if (autoClose) QTimer::singleShot(0, &box, &QMessageBox::accept);
    box.exec();
}

void QtDialogs::ShowError(const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok);
    box.exec();
}

void QtDialogs::Beep() { QApplication::beep(); }

void QtDialogs::EndProcess(int exitCode) { std::exit(exitCode); }

}  // namespace orv::app
