#include "app/open_dialog.h"

#include <QFile>
#include <QFileDialog>

namespace orv::app {

void SetUpOpenDialog(QFileDialog& dialog)
{
    // The dialog shows only the caption before the patterns; "All files (*.*)" keeps its
    // familiar caption while "*" also matches names without a dot. Matching ignores case.
    dialog.setNameFilters({"ORVENDA 3.2 (*.DAT *.ANI)", "All files (*.*) (*)"});
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
}

void OpenDialogMemory::Restore(QFileDialog& dialog) const
{
    dialog.selectNameFilter(filter_.isEmpty() ? dialog.nameFilters().first() : filter_);
    if (!firstFile_.isEmpty()) dialog.selectFile(firstFile_);
}

void OpenDialogMemory::RememberSelection(const QFileDialog& dialog, const QString& firstFile)
{
    // With details hidden, Qt 6.4 names the chosen filter by its caption alone.
    const QString chosen = dialog.selectedNameFilter();
    for (const QString& filter : dialog.nameFilters()) {
        if (filter == chosen || filter.left(filter.lastIndexOf(" (")) == chosen) filter_ = filter;
    }
    firstFile_ = firstFile;
}

void OpenDialogMemory::RememberFiles(const std::vector<std::string>& paths)
{
    if (!paths.empty()) firstFile_ = QFile::decodeName(QByteArray::fromStdString(paths.front()));
}

}  // namespace orv::app
