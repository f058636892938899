#pragma once

#include <QString>
#include <string>
#include <vector>

class QFileDialog;

namespace orv::app {

// Sets up the dialog that chooses input files: several existing files at once, the
// filters "ORVENDA 3.2" (.DAT and .ANI in any letter case) and "All files (*.*)", which
// shows every file, names without a dot among them.
void SetUpOpenDialog(QFileDialog& dialog);

// What the file dialog starts with when it opens again: the filter and the first file
// of the last confirmed selection. A cancelled dialog leaves both as they were.
class OpenDialogMemory {
public:
    void Restore(QFileDialog& dialog) const;
    // A selection confirmed in the dialog: its filter and its first file.
    void RememberSelection(const QFileDialog& dialog, const QString& firstFile);
    // Files chosen without the dialog (given at start or dropped): the filter stays.
    void RememberFiles(const std::vector<std::string>& paths);

private:
    QString filter_;
    QString firstFile_;
};

}  // namespace orv::app
