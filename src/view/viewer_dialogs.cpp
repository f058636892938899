#include "view/viewer_dialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace orv::view {

namespace {

std::optional<QString> Chosen(const QString& file)
{
    if (file.isEmpty()) return std::nullopt;
    return file;
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

void QtViewerDialogs::ShowError(QWidget* owner, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(), text, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace orv::view
