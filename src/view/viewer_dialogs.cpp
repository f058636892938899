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

QString Tr(const char* text)
{
    return QCoreApplication::translate("orv::view::QtViewerDialogs", text);
}

}  // namespace

std::optional<QString> QtViewerDialogs::ChooseInput(QWidget* owner)
{
    return Chosen(QFileDialog::getOpenFileName(owner, Tr("Open"), {},
                                               Tr("ORVENDA 3.2 (*.dat *.DAT *.ani *.ANI);;All files (*)")));
}

std::optional<QString> QtViewerDialogs::ChooseSettings(QWidget* owner, const QString& folder)
{
    return Chosen(QFileDialog::getOpenFileName(owner, Tr("Settings file"), folder,
                                               Tr("Settings files (*.ini *.INI);;All files (*)")));
}

std::optional<QString> QtViewerDialogs::ChooseSavePng(QWidget* owner, const QString& suggested)
{
    return Chosen(QFileDialog::getSaveFileName(owner, Tr("Save picture"), suggested, Tr("PNG pictures (*.png)")));
}

void QtViewerDialogs::ShowError(QWidget* owner, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(), text, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace orv::view
