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

void QtDialogs::Show(QMessageBox::Icon icon, const QString& title, const QString& text, bool autoClose)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, owner_);
    // Texts hold file names, which may look like markup.
    box.setTextFormat(Qt::PlainText);
    if (owner_ != nullptr) box.setFont(owner_->font());
    if (autoClose) QTimer::singleShot(0, &box, &QMessageBox::accept);
    box.exec();
}

void QtDialogs::ShowMessage(const QString& title, const QString& text, bool autoClose)
{
    Show(QMessageBox::NoIcon, title, text, autoClose);
}

void QtDialogs::ShowError(const QString& title, const QString& text)
{
    Show(QMessageBox::Critical, title, text, false);
}

void QtDialogs::ShowWarning(const QString& title, const QString& text)
{
    Show(QMessageBox::Warning, title, text, false);
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
