#pragma once

#include <QWidget>
#include <memory>
#include <string>

#include "converter.h"
#include "settings_file.h"
#include "status_view.h"

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
    const std::string& exeDir() const { return converter_.exeDir; }

    void SetEntryProgressMax(std::int32_t maximum) override;
    void SetEntryProgressPosition(std::int32_t position) override;
    std::int32_t GetEntryProgressPosition() override { return entryPosition_; }
    std::int32_t GetEntryProgressMax() override { return entryMax_; }
    void SetEntryCounterText(const std::string& text) override;
    void RepaintEntryCounter() override;
    void ShowOutputPath(const std::string& path) override;
    void PumpEvents() override;
    void ShowModalMessage(const std::string& text) override;

public slots:
    void StartButtonClick();
    void StopButtonClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createWindow();
    void createStatusControls();
    void createButtons();
    void createOptionControls();
    void createOpenDialog();
    void FormCreate();

    void RunBatch(const QStringList& files);
    void SetOptionControlsEnabled(bool enabled);
    void ShowEntryBar();
    void ShowInputPath(const std::string& path);
    void SetFileCounter();

    UiDialogs& dialogs_;
    std::string programTitle_;
    Converter converter_;
    std::unique_ptr<SettingsFile> iniFile_;
    std::int32_t entryMax_ = 0;
    std::int32_t entryPosition_ = 0;
    bool batchRunning_ = false;
    bool closeRequested_ = false;

    QLabel* MessageLabel = nullptr;
    QLabel* filenameLabel = nullptr;
    QLabel* filecountLabel = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QLabel* arcnameLabel = nullptr;
    QLabel* arccountLabel = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* StartButton = nullptr;
    QPushButton* StopButton = nullptr;
    QGroupBox* outputRG = nullptr;
    QButtonGroup* outputItems = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* iniCB = nullptr;
    QCheckBox* axonlyCB = nullptr;
    QFileDialog* OpenDialog = nullptr;
};

}  // namespace orv::app
