// Taking entries out of the input shown: into a folder the user chooses, or dragged out.
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>

#include "view/dragged_files.h"
#include "view/entry_filter.h"
#include "view/entry_list_view.h"
#include "view/entry_model.h"
#include "view/viewer_dialogs.h"
#include "view/viewer_window.h"

namespace orv::view {

std::vector<bool> ViewerWindow::SelectedEntries() const
{
    const QModelIndexList rows = list_->selectionModel()->selectedRows();
    if (rows.isEmpty() || model_->rowCount() <= 1) return {};
    std::vector<bool> chosen(static_cast<std::size_t>(model_->rowCount()), false);
    for (const QModelIndex& row : rows) chosen[static_cast<std::size_t>(filter_->mapToSource(row).row())] = true;
    return chosen;
}

void ViewerWindow::Extract(bool selectedOnly)
{
    if (model_->path().empty() || extraction_ != nullptr) return;
    const std::vector<bool> chosen = selectedOnly ? SelectedEntries() : std::vector<bool>{};
    if (selectedOnly && chosen.empty() && model_->rowCount() > 1) {
        statusBar()->showMessage(tr("No entry is selected: select the entries to extract, or extract all of them "
                                    "(Ctrl+Shift+E)."));
        return;
    }
    const int count = chosen.empty() ? model_->rowCount() : static_cast<int>(std::ranges::count(chosen, true));
    if (extractChoices_.folder.isEmpty())
        extractChoices_.folder = QFileInfo(QFile::decodeName(QByteArray::fromStdString(model_->path()))).absolutePath();
    const QString title = count == 1 ? tr("Extract 1 entry") : tr("Extract %1 entries").arg(count);
    ExtractScope scope{model_->path(), model_->input()->kind() == InputKind::Archive};
    const std::vector<InputEntry>& entries = model_->input()->entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!chosen.empty() && !chosen[i]) continue;
        scope.pictures = scope.pictures || entries[i].kind == EntryKind::Picture;
        scope.animations = scope.animations || entries[i].kind == EntryKind::Animation;
    }
    if (!dialogs_.ChooseExtraction(this, title, scope, extractChoices_)) return;

    const QString folder = ExtractedFolder(model_->path(), extractChoices_);
    auto* progress = new QProgressDialog(tr("Writing into %1…").arg(folder), tr("Cancel"), 0, 0, this);
    progress->setObjectName("extractProgress");
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(300);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    extraction_ = new Extraction(model_->input(), settings_, extractChoices_, chosen, this);
    connect(extraction_, &Extraction::Progress, progress, [progress](int done, int total) {
        progress->setMaximum(total);
        progress->setValue(done);
    });
    connect(progress, &QProgressDialog::canceled, extraction_, &Extraction::Cancel);
    connect(extraction_, &Extraction::Finished, this, [this, progress, folder, count](const ExtractOutcome& outcome) {
        progress->deleteLater();
        extraction_->deleteLater();
        extraction_ = nullptr;
        UpdateActions();
        ExtractionFinished(outcome, folder, count);
    });
    extraction_->Start();
    UpdateActions();
}

void ViewerWindow::ExtractionFinished(const ExtractOutcome& outcome, const QString& folder, int count)
{
    if (!outcome.error.isEmpty())
        dialogs_.ShowError(
            this, tr("Extraction stopped: %1\nWhat was written before stays in %2.").arg(outcome.error, folder));
    else if (outcome.stopped)
        statusBar()->showMessage(tr("Extraction cancelled; what was written stays in %1.").arg(folder));
    else
        statusBar()->showMessage(count == 1 ? tr("1 entry written into %1.").arg(folder)
                                            : tr("%1 entries written into %2.").arg(count).arg(folder));
    // What was written can be shown in the file manager, as long as this input is shown.
    extractedFolder_ = outcome.error.isEmpty() ? folder : QString();
    showFiles_->setVisible(outcome.error.isEmpty());
    if (outcome.error.isEmpty() && !outcome.notes.isEmpty())
        dialogs_.ShowMessage(
            this, tr("Some entries wrote the same file; the later one was kept:\n%1").arg(outcome.notes.join('\n')));
    emit ExtractionEnded();
}

void ViewerWindow::createShowFilesButton()
{
    showFiles_ = new QPushButton(tr("Show the Files"), statusBar());
    showFiles_->setObjectName("showFilesButton");
    showFiles_->setToolTip(tr("Open the folder the entries were written into"));
    showFiles_->hide();
    connect(showFiles_, &QPushButton::clicked, this, [this] {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(extractedFolder_)))
            dialogs_.ShowError(this, tr("No program to show %1 can be started.").arg(extractedFolder_));
    });
    statusBar()->addPermanentWidget(showFiles_);
}

QMimeData* ViewerWindow::DragData()
{
    if (model_->path().empty()) return nullptr;
    auto temporary = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/orvview-XXXXXX");
    if (!temporary->isValid()) return nullptr;
    ExtractChoices choices = extractChoices_;
    choices.folder = temporary->path();
    dragFolders_.push_back(std::move(temporary));
    return new DraggedFiles(model_->input(), settings_, choices, SelectedEntries(), this,
                            [this](const QString& error) { dialogs_.ShowError(this, error); });
}

}  // namespace orv::view
