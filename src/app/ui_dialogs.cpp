#include "app/ui_dialogs.h"

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
    // Texts hold file names, which may look like markup.
    box.setTextFormat(Qt::PlainText);
    if (autoClose) QTimer::singleShot(0, &box, &QMessageBox::accept);
    box.exec();
}

void QtDialogs::ShowError(const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void QtDialogs::Beep()
{
    warningSound_.Play();
}

void QtDialogs::EndProcess(int exitCode)
{
    std::exit(exitCode);
}

}  // namespace orv::app
