#include "app/tform1.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>
#include <new>
#include <utility>
#include <vector>

#include "app/app_text.h"
#include "app/counter_label.h"
#include "app/dropped_files.h"
#include "app/enter_clicks.h"
#include "engine/base/executable_path.h"
#include "engine/base/fatal_error.h"
#include "engine/io/file_identity.h"
#include "app/line_width.h"
#include "ui_text/path_fit.h"
#include "app/ui_dialogs.h"

namespace orv::app {

namespace {

const char* const kGuidance = "変換ボタンを押してファイルを選択してください。";
const char* const kConverting = "変換中．．．";
const char* const kNoSettings = "設定ファイルなし";
const char* const kOffered = "変換ボタンで、開いたファイルを変換します。";
// The face the window is designed for; IPAPGothic stands in where it is missing.
const char* const kFontFace = "ＭＳ Ｐゴシック";
constexpr int kPathLabelWidth = 329;
// Counters end directly left of their bars and grow to the left, up to a small margin.
constexpr int kCounterRightEdge = 70;
constexpr int kCounterLeftLimit = 4;

QString Text(std::string_view bytes)
{
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Labels show file names, which may look like markup: always plain text. They are at
// least as tall as a line of their font, so that descenders such as "_" are not cut off.
QLabel* MakeLabel(QWidget* parent, const char* name, const char* text, QRect geometry)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setText(QString::fromUtf8(text));
    geometry.setHeight(std::max(geometry.height(), label->fontMetrics().height()));
    label->setGeometry(geometry);
    return label;
}

QProgressBar* MakeBar(QWidget* parent, const char* name, QRect geometry)
{
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(name);
    bar->setGeometry(geometry);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    return bar;
}

// Like a group of options on other systems, the group is one tab stop, at the checked
// option; Qt does the same, but only once an option has had the focus.
void MakeOneTabStop(QButtonGroup* group)
{
    const auto checkedTakesTab = [group] {
        for (QAbstractButton* button : group->buttons())
            button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    };
    QObject::connect(group, &QButtonGroup::buttonToggled, group, checkedTakesTab);
    checkedTakesTab();
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* text, QRect geometry)
{
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->installEventFilter(new EnterClicks(button));
    return button;
}

void SetCounter(QLabel* label, const QString& text)
{
    ShowCounter(*label, text, kCounterLeftLimit, kCounterRightEdge);
}

// Labels that size themselves to their text keep their left edge.
void SetAutoSizedText(QLabel* label, const char* text)
{
    label->setText(QString::fromUtf8(text));
    label->adjustSize();
}

}  // namespace

TForm1::TForm1(UiDialogs& dialogs, const std::string& executablePath, QWidget* parent) :
    QWidget(parent), dialogs_(dialogs), programTitle_(ProgramTitle(executablePath)), converter_(*this)
{
    // Beside the executable where the user may write, else a folder of the user's own.
    converter_.options.exeDir = WindowDataFolder(FolderOf(executablePath));
    createWindow();
    createStatusControls();
    createButtons();
    createOptionControls();
    createOpenDialog();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::createWindow()
{
    setObjectName("Form1");
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(366, 376);
    setAcceptDrops(true);
    QFont::insertSubstitution(kFontFace, "IPAPGothic");
    QFont font(kFontFace);
    font.setPixelSize(12);
    setFont(font);
}

void TForm1::createStatusControls()
{
    MessageLabel = MakeLabel(this, "MessageLabel", kGuidance, {26, 19, 317, 16});
    QFont big = font();
    big.setPixelSize(16);
    MessageLabel->setFont(big);
    MessageLabel->adjustSize();

    filenameLabel = MakeLabel(this, "filenameLabel", "変換先", {32, 48, kPathLabelWidth, 12});
    filecountLabel = MakeLabel(this, "filecountLabel", "", {44, 72, 26, 12});
    filecountLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SetCounter(filecountLabel, "[0/0]");
    ProgressBar = MakeBar(this, "ProgressBar", {72, 72, 289, 17});

    arcnameLabel = MakeLabel(this, "arcnameLabel", "変換元", {32, 104, kPathLabelWidth, 12});
    arccountLabel = MakeLabel(this, "arccountLabel", "", {44, 128, 26, 12});
    arccountLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SetCounter(arccountLabel, "[0/0]");
    ProgressBar1 = MakeBar(this, "ProgressBar1", {72, 128, 289, 17});
}

void TForm1::createButtons()
{
    StartButton = MakeButton(this, "StartButton", "変換", {72, 163, 71, 33});
    StopButton = MakeButton(this, "StopButton", "中止", {206, 163, 72, 33});
    StopButton->setEnabled(false);
    connect(StartButton, &QPushButton::clicked, this, &TForm1::StartButtonClick);
    connect(StopButton, &QPushButton::clicked, this, &TForm1::StopButtonClick);
}

void TForm1::createOptionControls()
{
    outputRG = new QGroupBox(QString::fromUtf8("出力オプション"), this);
    outputRG->setObjectName("outputRG");
    outputRG->setGeometry(16, 216, 329, 89);
    outputItems = new QButtonGroup(outputRG);
    const char* const items[] = {"全てBMPで出力", "全てPNGで出力", "α付きはPNGで出力(他はBMPで出力)"};
    for (int i = 0; i < 3; ++i) {
        auto* item = new QRadioButton(QString::fromUtf8(items[i]), outputRG);
        item->setObjectName(QString("outputRG_%1").arg(i));
        item->setGeometry(8, 16 + 23 * i, 313, 20);
        outputItems->addButton(item, i);
    }
    outputItems->button(0)->setChecked(true);
    MakeOneTabStop(outputItems);

    Label1 = MakeLabel(this, "Label1", "設定ファイル", {24, 324, 65, 12});
    iniCB = new QComboBox(this);
    iniCB->setObjectName("iniCB");
    iniCB->setGeometry(96, 320, 145, 20);
    iniCB->setEditable(false);

    axonlyCB = new QCheckBox(QString::fromUtf8("ANIファイルで出力"), this);
    axonlyCB->setObjectName("axonlyCB");
    axonlyCB->setGeometry(24, 352, 129, 17);

    // Tab stops in this order; the options stand together, as only the checked one is a stop.
    QWidget* const chain[] = {StartButton,
                              StopButton,
                              ProgressBar,
                              ProgressBar1,
                              outputItems->button(0),
                              outputItems->button(1),
                              outputItems->button(2),
                              axonlyCB,
                              iniCB};
    for (std::size_t i = 1; i < std::size(chain); ++i) setTabOrder(chain[i - 1], chain[i]);
}

void TForm1::createOpenDialog()
{
    OpenDialog = new QFileDialog(this);
    OpenDialog->setObjectName("OpenDialog");
}

void TForm1::FormCreate()
{
    setWindowTitle(QString::fromUtf8("「ORVENDA 3.2」変換プログラム"));
    SetUpOpenDialog(*OpenDialog);

    std::vector<std::string> names;
    ListSettingsFiles(converter_.options.exeDir, names);
    // Where there are settings files, a first item (no name) runs without any; the first
    // file stays the one chosen at start. Without files the list stays empty.
    if (!names.empty()) iniCB->addItem(QString::fromUtf8(kNoSettings), QByteArray());
    // Each item keeps the name's bytes, which open the file whatever they show as.
    for (const std::string& name : names)
        iniCB->addItem(Text(ShownSettingsName(name)), QByteArray::fromStdString(name));
    if (!names.empty()) iniCB->setCurrentIndex(1);
}

void TForm1::SetOptionControlsEnabled(bool enabled)
{
    StartButton->setEnabled(enabled);
    outputRG->setEnabled(enabled);
    axonlyCB->setEnabled(enabled);
    iniCB->setEnabled(enabled);
}

void TForm1::StartButtonClick()
{
    if (offered_.empty()) {
        StartBatch(std::nullopt);
        return;
    }
    ConvertFiles(std::exchange(offered_, {}));
}

void TForm1::ConvertFiles(const std::vector<std::string>& paths)
{
    if (batchRunning_ || paths.empty()) return;
    offered_.clear();
    dialogMemory_.RememberFiles(paths);
    StartBatch(paths);
}

void TForm1::OfferFiles(const std::vector<std::string>& paths)
{
    if (batchRunning_ || paths.empty()) return;
    offered_ = paths;
    SetAutoSizedText(MessageLabel, kOffered);
    ShowInputPath(paths.front());
    const auto count = static_cast<std::int32_t>(std::min<std::size_t>(paths.size(), INT32_MAX));
    SetCounter(arccountLabel, Text(FormatCounter(0, count)));
    StartButton->setFocus();
}

void TForm1::StartBatch(std::optional<std::vector<std::string>> chosen)
{
    SetOptionControlsEnabled(false);
    batchRunning_ = true;
    std::string settingsError;
    std::string fatal;
    try {
        const QByteArray settingsName = iniCB->currentData().toByteArray();
        if (!settingsName.isEmpty())
            iniFile_ = SettingsFile::Load(converter_.options.exeDir + settingsName.toStdString());
        converter_.options.iniFile = iniFile_.get();
        if (!chosen) chosen = ChooseInDialog();
        if (chosen) RunBatch(*chosen);
    } catch (const SettingsError& error) {
        settingsError = error.what();
    } catch (const FatalError& error) {
        fatal = error.what();
    } catch (const std::bad_alloc&) {
        // A settings file too large for the memory left.
        fatal = FatalError::OutOfMemory().what();
    }
    if (!fatal.empty()) {
        ShowModalMessage(fatal);
        dialogs_.EndProcess(1);
        return;
    }
    SetOptionControlsEnabled(true);
    converter_.options.iniFile = nullptr;
    iniFile_.reset();
    batchRunning_ = false;

    if (!settingsError.empty()) dialogs_.ShowError(Text(programTitle_), Text(ErrorDisplayText(settingsError)));
    // A close asked for during the batch takes effect now.
    if (closeRequested_) close();
}

std::optional<std::vector<std::string>> TForm1::ChooseInDialog()
{
    dialogMemory_.Restore(*OpenDialog);
    const std::optional<QStringList> files = dialogs_.ChooseFiles(*OpenDialog);
    // A popup of the dialog, such as its name completer when Enter accepted the dialog, may
    // outlive it: none may cover the window, and take the first click on Stop, during the batch.
    for (int i = 0; i < 8 && QApplication::activePopupWidget() != nullptr; ++i)
        QApplication::activePopupWidget()->hide();
    if (!files || files->isEmpty()) return std::nullopt;
    dialogMemory_.RememberSelection(*OpenDialog, files->first());
    std::vector<std::string> paths;
    for (const QString& file : *files) paths.push_back(QFile::encodeName(file).toStdString());
    return paths;
}

void TForm1::RunBatch(const std::vector<std::string>& paths)
{
    SetAutoSizedText(MessageLabel, kConverting);
    converter_.options.aniRaw = axonlyCB->isChecked();
    stop_ = std::stop_source();
    converter_.stopToken = stop_.get_token();
    StopButton->setEnabled(true);
    converter_.options.outputMode = static_cast<OutputMode>(outputItems->checkedId());
    converter_.options.batchInputs = IdentitiesOf(paths);

    const auto count = static_cast<std::int32_t>(std::min<std::size_t>(paths.size(), INT32_MAX));
    ProgressBar1->setRange(0, count);
    ProgressBar1->setValue(0);
    SetCounter(arccountLabel, Text(FormatCounter(0, count)));

    passedOver_.clear();
    ConvertResult last = ConvertResult::Skipped;
    for (const std::string& path : paths) {
        SetEntryProgressMax(0);
        SetEntryProgressPosition(0);
        converter_.srcPath = path;
        filenameLabel->setText(QString());
        ShowInputPath(converter_.srcPath);
        SetEntryCounterText(FormatCounter(0, 0));
        last = converter_.ConvertInputFile();
        PumpEvents();
        if (stop_.stop_requested()) break;
        ProgressBar1->setValue(ProgressBar1->value() + 1);
        SetCounter(arccountLabel, Text(FormatCounter(ProgressBar1->value(), ProgressBar1->maximum())));
    }

    dialogs_.Beep();
    if (const std::optional<std::string_view> message = FinalMessage(last)) ShowModalMessage(std::string(*message));
    // Inputs passed over are named once, at the end, so that a batch never ends unexplained.
    if (!passedOver_.empty()) dialogs_.ShowWarning(Text(programTitle_), Text(PassedOverMessage(passedOver_)));
    StopButton->setEnabled(false);
    SetAutoSizedText(MessageLabel, kGuidance);
}

void TForm1::StopButtonClick()
{
    stop_.request_stop();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // The window outlives a running batch: the close is held until the batch ends.
    if (batchRunning_ || dropQueued_) {
        closeRequested_ = true;
        event->ignore();
        return;
    }
    event->accept();
}

bool TForm1::AcceptsDrops() const
{
    return !batchRunning_ && !dropQueued_;
}

void TForm1::AnswerDrag(QDragMoveEvent* event)
{
    // Copy only: a move would let the file manager delete what was dropped.
    if (AcceptsDrops() && event->possibleActions().testFlag(Qt::CopyAction)
        && !DroppedFiles(*event->mimeData()).empty()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void TForm1::dragEnterEvent(QDragEnterEvent* event)
{
    AnswerDrag(event);
}

void TForm1::dragMoveEvent(QDragMoveEvent* event)
{
    AnswerDrag(event);
}

void TForm1::dropEvent(QDropEvent* event)
{
    const std::vector<std::string> paths = WithFoldersOpened(DroppedFiles(*event->mimeData()));
    if (!AcceptsDrops() || !(event->possibleActions() & Qt::CopyAction) || paths.empty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // The batch runs after the drop has been answered, so the other program does not wait for it.
    dropQueued_ = true;
    QTimer::singleShot(0, this, [this, paths] {
        dropQueued_ = false;
        ConvertFiles(paths);
    });
}

// ---- StatusView ---------------------------------------------------------------

void TForm1::ShowEntryBar()
{
    // A bar whose range is 0 to 0 would show a busy animation; an empty bar is meant.
    ProgressBar->setRange(0, entryMax_ > 0 ? entryMax_ : 1);
    ProgressBar->setValue(entryMax_ > 0 ? entryPosition_ : 0);
}

void TForm1::SetEntryProgressMax(std::int32_t maximum)
{
    entryMax_ = maximum;
    ShowEntryBar();
}

void TForm1::SetEntryProgressPosition(std::int32_t position)
{
    entryPosition_ = position;
    ShowEntryBar();
}

void TForm1::SetEntryCounterText(const std::string& text)
{
    SetCounter(filecountLabel, Text(text));
}

void TForm1::RepaintEntryCounter()
{
    repaint();
}

void TForm1::ShowOutputPath(const std::string& path)
{
    const auto measure = [this](std::string_view text) { return LineWidth(filenameLabel->font(), Text(text)); };
    filenameLabel->setText(Text(FitPathToWidth(path, kPathLabelWidth, measure, PathStyle::Posix)));
    repaint();
}

void TForm1::ShowInputPath(const std::string& path)
{
    const auto measure = [this](std::string_view text) { return LineWidth(arcnameLabel->font(), Text(text)); };
    arcnameLabel->setText(Text(FitPathToWidth(path, kPathLabelWidth, measure, PathStyle::Posix)));
}

void TForm1::PumpEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TForm1::ShowModalMessage(const std::string& text)
{
    dialogs_.ShowMessage(Text(programTitle_), Text(text), closeRequested_);
}

void TForm1::ShowPassedOver(const std::string& srcPath, PassedOver why)
{
    passedOver_.emplace_back(srcPath, why);
}

}  // namespace orv::app
