#pragma once

#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/convert/converter.h"
#include "app/open_dialog.h"
#include "settings/settings_file.h"
#include "engine/convert/status_view.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace orv::app {

class UiDialogs;

// The one window of orvconv: options, Start and Stop, two bars with their counters
// and the paths being read and written. It owns the engine and shows its progress.
class TForm1 : public QWidget, public StatusView {
    Q_OBJECT

public:
    // executablePath fixes the program title and exeDir, where output folders are
    // made and settings files are looked for.
    TForm1(UiDialogs& dialogs, const std::string& executablePath, QWidget* parent = nullptr);
    ~TForm1() override;

    const std::string& programTitle() const { return programTitle_; }
    const std::string& exeDir() const { return converter_.options.exeDir; }

    // Runs one batch on these full paths (byte strings) as if they had been chosen in
    // the file dialog; does nothing while a batch runs.
    void ConvertFiles(const std::vector<std::string>& paths);
    // Shows these paths as the input of the next batch, which the Start button then runs
    // without the dialog: files handed over by a file manager are converted only when asked.
    void OfferFiles(const std::vector<std::string>& paths);

    void SetEntryProgressMax(std::int32_t maximum) override;
    void SetEntryProgressPosition(std::int32_t position) override;
    void SetEntryCounterText(const std::string& text) override;
    void RepaintEntryCounter() override;
    void ShowOutputPath(const std::string& path) override;
    void PumpEvents() override;
    void ShowModalMessage(const std::string& text) override;
    void ShowPassedOver(const std::string& srcPath, PassedOver why) override;

public slots:
    void StartButtonClick();
    void StopButtonClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Files dropped on the idle window run a batch; during a batch drops are refused.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createWindow();
    void createStatusControls();
    void createButtons();
    void createOptionControls();
    void createOpenDialog();
    void FormCreate();

    // One batch, steps 1 to 10; the dialog is opened when no files are given.
    void StartBatch(std::optional<std::vector<std::string>> chosen);
    std::optional<std::vector<std::string>> ChooseInDialog();
    void RunBatch(const std::vector<std::string>& paths);
    void SetOptionControlsEnabled(bool enabled);
    bool AcceptsDrops() const;
    void AnswerDrag(QDragMoveEvent* event);
    void ShowEntryBar();
    void ShowInputPath(const std::string& path);

    UiDialogs& dialogs_;
    std::string programTitle_;
    Converter converter_;
    // Stop asks the batch under way, each batch a source of its own.
    std::stop_source stop_;
    std::unique_ptr<SettingsFile> iniFile_;
    OpenDialogMemory dialogMemory_;
    std::int32_t entryMax_ = 0;
    std::int32_t entryPosition_ = 0;
    bool batchRunning_ = false;
    bool dropQueued_ = false;
    bool closeRequested_ = false;
    // Files handed over at start, waiting for the Start button.
    std::vector<std::string> offered_;
    // The inputs of the batch under way that were passed over, and why.
    std::vector<std::pair<std::string, PassedOver>> passedOver_;

    QLabel* MessageLabel = nullptr;  // guidance, or "converting" during a batch
    QLabel* filenameLabel = nullptr;  // the output file being written, shortened to fit
    QLabel* filecountLabel = nullptr;  // counts the entries of the current input file
    QProgressBar* ProgressBar = nullptr;  // entries of the current input file
    QLabel* arcnameLabel = nullptr;  // the input file being read, shortened to fit
    QLabel* arccountLabel = nullptr;  // counts the input files of the batch
    QProgressBar* ProgressBar1 = nullptr;  // input files of the batch
    QPushButton* StartButton = nullptr;  // opens the file dialog and runs a batch
    QPushButton* StopButton = nullptr;  // stops the batch after the entry under way
    QGroupBox* outputRG = nullptr;  // output option: all BMP, all PNG, PNG for alpha
    QButtonGroup* outputItems = nullptr;  // the three options of outputRG, ids 0 to 2
    QLabel* Label1 = nullptr;  // caption of iniCB
    QComboBox* iniCB = nullptr;  // settings file for composing animation frames
    QCheckBox* axonlyCB = nullptr;  // writes animation entries of archives raw
    QFileDialog* OpenDialog = nullptr;  // chooses the input files
};

}  // namespace orv::app
