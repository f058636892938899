#include "app/ui_dialogs.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QSpacerItem>
#include <QMessageBox>
#include <QTimer>
#include <cstdlib>

namespace orv::app {

namespace {

// The title bar's icon and buttons, in lines of its font.
constexpr int kTitleBarButtons = 5;

// A short text makes a narrow box, whose title the window manager then cuts to a few
// letters: the box is made wide enough for the title and the title bar's buttons.
void ReserveTitleWidth(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) return;
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const QFontMetrics metrics(titleFont);
    const int width = metrics.horizontalAdvance(box.windowTitle()) + kTitleBarButtons * metrics.height();
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

}  // namespace

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
    ReserveTitleWidth(box);
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
