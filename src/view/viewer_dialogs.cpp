#include "view/viewer_dialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "view/extract_dialog.h"

namespace orv::view {

namespace {

std::optional<QString> Chosen(const QString& file)
{
    if (file.isEmpty()) return std::nullopt;
    return file;
}

void ShowBox(QWidget* owner, QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(icon, QCoreApplication::applicationName(), text, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace

std::optional<QString> QtViewerDialogs::ChooseInput(QWidget* owner)
{
    return Chosen(QFileDialog::getOpenFileName(
        owner, QCoreApplication::translate("orv::view::QtViewerDialogs", "Open"), {},
        QCoreApplication::translate("orv::view::QtViewerDialogs",
                                    "ORVENDA 3.2 (*.dat *.DAT *.ani *.ANI);;All files (*)")));
}

std::optional<QString> QtViewerDialogs::ChooseSettings(QWidget* owner, const QString& folder)
{
    return Chosen(QFileDialog::getOpenFileName(
        owner, QCoreApplication::translate("orv::view::QtViewerDialogs", "Settings file"), folder,
        QCoreApplication::translate("orv::view::QtViewerDialogs", "Settings files (*.ini *.INI);;All files (*)")));
}

std::optional<QString> QtViewerDialogs::ChooseSavePng(QWidget* owner, const QString& suggested)
{
    return Chosen(QFileDialog::getSaveFileName(
        owner, QCoreApplication::translate("orv::view::QtViewerDialogs", "Save picture"), suggested,
        QCoreApplication::translate("orv::view::QtViewerDialogs", "PNG pictures (*.png)")));
}

bool QtViewerDialogs::ChooseExtraction(QWidget* owner, const QString& title, const ExtractScope& scope,
                                       ExtractChoices& choices)
{
    ExtractDialog dialog(choices, title, scope, owner);
    if (dialog.exec() != QDialog::Accepted) return false;
    choices = dialog.choices();
    return true;
}

void QtViewerDialogs::ShowError(QWidget* owner, const QString& text)
{
    ShowBox(owner, QMessageBox::Warning, text);
}

void QtViewerDialogs::ShowMessage(QWidget* owner, const QString& text)
{
    ShowBox(owner, QMessageBox::Information, text);
}

}  // namespace orv::view
