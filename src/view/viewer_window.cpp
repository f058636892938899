#include "view/viewer_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QComboBox>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QSlider>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <system_error>

#include "engine/base/executable_path.h"
#include "engine/read/input_messages.h"
#include "settings/settings_error.h"
#include "settings/settings_file.h"
#include "view/default_viewer.h"
#include "view/entry_filter.h"
#include "view/entry_grid.h"
#include "view/entry_list_view.h"
#include "view/entry_model.h"
#include "view/entry_text.h"
#include "view/picture_view.h"
#include "view/sound_pane.h"
#include "view/viewer_dialogs.h"

namespace orv::view {

namespace {

enum Page { MessagePage, PicturePage, TextPage, SoundPage };

// Hex dumps beyond this would only slow the pane down.
constexpr qsizetype kHexLimit = 1 << 20;
constexpr int kDefaultFrameMs = 100;

std::string LocalPath(const QString& file)
{
    return QFile::encodeName(file).toStdString();
}

}  // namespace

ViewerWindow::ViewerWindow(ViewerDialogs& dialogs, QWidget* parent) : QMainWindow(parent), dialogs_(dialogs)
{
    setObjectName("ViewerWindow");
    setWindowTitle(tr("orvview"));
    setAcceptDrops(true);
    createList();
    createPreview();
    createActions();
    createMenu();
    createViewMenu();
    createShowFilesButton();
    // The count stays in view; messages and the actions' tips pass over the rest of the bar.
    count_ = new QLabel(statusBar());
    count_->setObjectName("entryCount");
    statusBar()->insertPermanentWidget(0, count_);
    connect(&renderer_, &PreviewRenderer::Ready, this, &ViewerWindow::Show);
    connect(&playTimer_, &QTimer::timeout, this, [this] { StepFrame(1); });
    FitToScreen();
    UpdateActions();
}

ViewerWindow::~ViewerWindow() = default;

void ViewerWindow::FitToScreen()
{
    // 900×600 where the screen has room for it; else nine tenths of its free area, which
    // at a large scale factor may hold far fewer pixels of this size.
    const QRect free = screen()->availableGeometry();
    resize(QSize(900, 600).boundedTo(free.size() * 9 / 10));
    move(free.center() - rect().center());
}

void ViewerWindow::createActions()
{
    QToolBar* bar = addToolBar(tr("Main"));
    bar->setObjectName("mainToolBar");
    bar->setMovable(false);
    bar->addAction(tr("Open…"), this, &ViewerWindow::ChooseAndOpen);
    bar->addAction(tr("Settings…"), this, &ViewerWindow::ChooseSettings);
    settingsLabel_ = new QLabel(tr("no settings"), bar);
    settingsLabel_->setObjectName("settingsLabel");
    bar->addWidget(settingsLabel_);
    noSettingsAction_ = bar->addAction(tr("No Settings"), this, [this] { UseSettings({}); });
    noSettingsAction_->setStatusTip(tr("Compose animations without a settings file"));
    copyAction_ = bar->addAction(tr("Copy"), this, &ViewerWindow::CopyShown);
    copyAction_->setShortcut(QKeySequence::Copy);
    copyAction_->setStatusTip(tr("Copy the picture shown (Ctrl+C)"));
    saveAction_ = bar->addAction(tr("Save picture…"), this, &ViewerWindow::SaveShown);
    saveAction_->setShortcut(QKeySequence::Save);
    saveAction_->setStatusTip(tr("Save the picture shown as a PNG file (Ctrl+S)"));
    extractAction_ = new QAction(tr("&Extract Selected…"), this);
    extractAction_->setIconText(tr("Extract…"));
    extractAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    extractAction_->setStatusTip(tr("Extract the selected entries (Ctrl+E)"));
    connect(extractAction_, &QAction::triggered, this, [this] { Extract(true); });
    bar->addAction(extractAction_);
    bar->addSeparator();
    gridAction_ = bar->addAction(tr("Grid"), this, &ViewerWindow::ShowGrid);
    gridAction_->setCheckable(true);
    gridAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    gridAction_->setToolTip(tr("Show the entries as thumbnails (Ctrl+wheel sizes them)"));
    auto* side = new QSlider(Qt::Horizontal, bar);
    side->setObjectName("thumbnailSide");
    side->setRange(EntryGrid::kSmallest, EntryGrid::kLargest);
    side->setValue(grid_->thumbnailSide());
    side->setFixedWidth(12 * fontMetrics().horizontalAdvance('0'));
    side->setToolTip(tr("Thumbnail size"));
    connect(side, &QSlider::valueChanged, grid_, &EntryGrid::SetThumbnailSide);
    connect(grid_, &EntryGrid::ThumbnailSideChanged, side, &QSlider::setValue);
    sideAction_ = bar->addWidget(side);
    sideAction_->setVisible(false);
    bar->addSeparator();
    QAction* fit = bar->addAction(tr("Fit"), this, &ViewerWindow::Fit);
    fit->setShortcut(Qt::Key_F);
    QAction* actual = bar->addAction(tr("100 %"), this, [this] { Zoom(1.0); });
    actual->setShortcut(Qt::Key_1);
    QAction* zoomIn = bar->addAction(tr("Zoom in"), this, [this] { Zoom(picture_->Scale() * 2); });
    zoomIn->setShortcut(QKeySequence::ZoomIn);
    QAction* zoomOut = bar->addAction(tr("Zoom out"), this, [this] { Zoom(picture_->Scale() / 2); });
    zoomOut->setShortcut(QKeySequence::ZoomOut);
    zoomActions_ = {fit, actual, zoomIn, zoomOut};
    for (QAction* zoom : zoomActions_)
        zoom->setStatusTip(zoom->text() + " (" + zoom->shortcut().toString(QKeySequence::NativeText) + ")");
}

void ViewerWindow::createMenu()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&Open…"), QKeySequence::Open, this, &ViewerWindow::ChooseAndOpen);
    QMenu* recent = file->addMenu(tr("Open &Recent"));
    recent->setObjectName("recentMenu");
    // Filled each time it opens, so that it shows what any window opened last.
    connect(recent, &QMenu::aboutToShow, this, [this, recent] {
        recent->clear();
        for (const std::string& path : recent_.List()) {
            const QString shown = QFile::decodeName(QByteArray::fromStdString(path));
            recent->addAction(shown, this, [this, path] { OpenInput(path); });
        }
        recent->setEnabled(!recent->isEmpty());
    });
    file->addSeparator();
    file->addAction(extractAction_);
    extractAllAction_ = file->addAction(tr("Extract &All…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E), this,
                                        [this] { Extract(false); });
    extractAllAction_->setStatusTip(tr("Extract every entry (Ctrl+Shift+E)"));
    file->addSeparator();
    file->addAction(tr("Open .dat and .ani Files with orvview"), this, [this] {
        const QString why = MakeDefaultViewer();
        if (why.isEmpty())
            statusBar()->showMessage(tr("The desktop now opens archives and animation files with orvview."));
        else
            dialogs_.ShowError(this, why);
    });
    file->addSeparator();
    file->addAction(tr("&Quit"), QKeySequence::Quit, this, &QWidget::close);
}

void ViewerWindow::createList()
{
    model_ = new EntryModel(this);
    filter_ = new EntryFilter(this);
    filter_->setSourceModel(model_);

    auto* left = new QWidget(this);
    auto* layout = new QVBoxLayout(left);
    layout->setContentsMargins(0, 0, 0, 0);
    filterEdit_ = new QLineEdit(left);
    filterEdit_->setObjectName("filterEdit");
    filterEdit_->setPlaceholderText(tr("Filter by name"));
    filterEdit_->setClearButtonEnabled(true);
    connect(filterEdit_, &QLineEdit::textChanged, this, &ViewerWindow::Filter);
    auto* list = new EntryListView(left);
    list->dragData = [this] { return DragData(); };
    list_ = list;
    list_->setObjectName("entryList");
    list_->setDragEnabled(true);
    list_->setDragDropMode(QAbstractItemView::DragOnly);
    list_->setModel(filter_);
    list_->setSortingEnabled(true);
    list_->sortByColumn(-1, Qt::AscendingOrder);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Tab leaves the list for the next control; the arrows move inside it.
    list_->setTabKeyNavigation(false);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 4);
    list_->horizontalHeader()->setStretchLastSection(true);
    grid_ = new EntryGrid(*filter_, thumbnails_, left);
    grid_->setObjectName("entryGrid");
    grid_->setTabKeyNavigation(false);
    // One selection and one current entry, whichever way the entries are shown.
    QItemSelectionModel* ownSelection = grid_->selectionModel();
    grid_->setSelectionModel(list_->selectionModel());
    delete ownSelection;
    views_ = new QStackedWidget(left);
    views_->addWidget(list_);
    views_->addWidget(grid_);
    createChangedBar(left);
    layout->addWidget(changedBar_);
    pastEnd_ = new QLabel(left);
    pastEnd_->setObjectName("pastEndBar");
    pastEnd_->setWordWrap(true);
    pastEnd_->setTextFormat(Qt::PlainText);
    pastEnd_->hide();
    layout->addWidget(pastEnd_);
    layout->addWidget(filterEdit_);
    layout->addWidget(views_);
    connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &ViewerWindow::CurrentChanged);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(left);
    setCentralWidget(splitter);
}

void ViewerWindow::createPreview()
{
    pages_ = new QStackedWidget(this);
    pages_->setObjectName("previewPages");

    message_ = new QLabel(tr("Open an archive (.dat) or an animation file (.ani)."), pages_);
    message_->setObjectName("previewMessage");
    message_->setAlignment(Qt::AlignCenter);
    message_->setWordWrap(true);
    message_->setTextFormat(Qt::PlainText);
    pages_->insertWidget(MessagePage, message_);

    auto* picturePage = new QWidget(pages_);
    auto* pictureLayout = new QVBoxLayout(picturePage);
    pictureLayout->setContentsMargins(0, 0, 0, 0);
    scroll_ = new QScrollArea(picturePage);
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setWidgetResizable(true);
    picture_ = new PictureView(scroll_);
    scroll_->setWidget(picture_);
    connect(picture_, &PictureView::WheelZoom, this, &ViewerWindow::ZoomAround);
    connect(picture_, &PictureView::DoubleClicked, this, [this] { picture_->fitted() ? Zoom(1.0) : Fit(); });
    pictureLayout->addWidget(scroll_);
    createAnimationBar(picturePage);
    pictureLayout->addWidget(animationBar_);
    pages_->insertWidget(PicturePage, picturePage);

    createTextPage();

    sound_ = new SoundPane(pages_);
    sound_->setObjectName("soundPane");
    pages_->insertWidget(SoundPage, sound_);

    auto* splitter = static_cast<QSplitter*>(centralWidget());
    splitter->addWidget(pages_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({55 * fontMetrics().horizontalAdvance('0'), 500});
}

void ViewerWindow::createTextPage()
{
    auto* textPage = new QWidget(pages_);
    auto* textLayout = new QVBoxLayout(textPage);
    textLayout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QHBoxLayout;
    auto* hex = new QToolButton(textPage);
    hex->setObjectName("hexButton");
    encoding_ = new QComboBox(textPage);
    encoding_->setObjectName("textEncoding");
    encoding_->addItem(QStringLiteral("UTF-8"), static_cast<int>(TextEncoding::Utf8));
    encoding_->addItem(QStringLiteral("CP932"), static_cast<int>(TextEncoding::Cp932));
    encoding_->setToolTip(tr("The encoding the text is read in"));
    connect(encoding_, &QComboBox::currentIndexChanged, this, &ViewerWindow::ShowBytes);
    bar->addWidget(hex);
    bar->addWidget(encoding_);
    bar->addStretch();
    text_ = new QPlainTextEdit(textPage);
    text_->setObjectName("entryText");
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setTabChangesFocus(true);
    hexAction_ = new QAction(tr("&Hex"), this);
    hexAction_->setIconText(tr("Hex"));
    hexAction_->setCheckable(true);
    hexAction_->setShortcut(Qt::Key_H);
    hexAction_->setStatusTip(tr("Show the entry's bytes as a hex dump (H)"));
    hex->setDefaultAction(hexAction_);
    connect(hexAction_, &QAction::toggled, this, &ViewerWindow::ShowBytes);
    textLayout->addLayout(bar);
    textLayout->addWidget(text_);
    pages_->insertWidget(TextPage, textPage);
}

void ViewerWindow::ShowBytes()
{
    if (holdText_ || preview_.kind != Preview::Kind::Bytes) return;
    const bool hex = hexAction_->isChecked();
    encoding_->setEnabled(!hex);
    // Columns of a hex dump line up only in a fixed font.
    text_->setFont(hex ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : font());
    text_->setPlainText(hex ? HexDump(preview_.bytes, kHexLimit)
                            : DecodeText(preview_.bytes, static_cast<TextEncoding>(encoding_->currentData().toInt())));
}

void ViewerWindow::createAnimationBar(QWidget* page)
{
    animationBar_ = new QWidget(page);
    animationBar_->setObjectName("animationBar");
    auto* layout = new QHBoxLayout(animationBar_);
    previousAction_ = new QAction(tr("P&revious Frame"), this);
    previousAction_->setIconText(tr("◀"));
    previousAction_->setShortcut(Qt::Key_Comma);
    previousAction_->setStatusTip(tr("Previous frame (,)"));
    connect(previousAction_, &QAction::triggered, this, [this] { StepFrame(-1); });
    auto* previous = new QToolButton(animationBar_);
    previous->setObjectName("previousFrame");
    previous->setDefaultAction(previousAction_);
    play_ = new QToolButton(animationBar_);
    play_->setObjectName("playButton");
    play_->setCheckable(true);
    play_->setText(tr("Play"));
    connect(play_, &QToolButton::toggled, this, &ViewerWindow::SetPlaying);
    nextAction_ = new QAction(tr("&Next Frame"), this);
    nextAction_->setIconText(tr("▶"));
    nextAction_->setShortcut(Qt::Key_Period);
    nextAction_->setStatusTip(tr("Next frame (.)"));
    connect(nextAction_, &QAction::triggered, this, [this] { StepFrame(1); });
    auto* next = new QToolButton(animationBar_);
    next->setObjectName("nextFrame");
    next->setDefaultAction(nextAction_);
    counter_ = new QLabel(animationBar_);
    counter_->setObjectName("frameCounter");
    frameMs_ = new QSpinBox(animationBar_);
    frameMs_->setObjectName("frameMs");
    frameMs_->setRange(10, 10000);
    frameMs_->setValue(kDefaultFrameMs);
    frameMs_->setSuffix(tr(" ms a frame"));
    connect(frameMs_, &QSpinBox::valueChanged, &playTimer_, qOverload<int>(&QTimer::setInterval));
    playTimer_.setInterval(kDefaultFrameMs);
    layout->addWidget(previous);
    layout->addWidget(play_);
    layout->addWidget(next);
    layout->addWidget(counter_);
    layout->addStretch();
    layout->addWidget(frameMs_);
}

void ViewerWindow::createChangedBar(QWidget* parent)
{
    changedBar_ = new QWidget(parent);
    changedBar_->setObjectName("changedBar");
    auto* layout = new QHBoxLayout(changedBar_);
    layout->setContentsMargins(0, 0, 0, 0);
    changedText_ = new QLabel(changedBar_);
    changedText_->setWordWrap(true);
    auto* reload = new QPushButton(tr("Reload"), changedBar_);
    reload->setObjectName("reloadButton");
    connect(reload, &QPushButton::clicked, this, [this] {
        const std::string path = model_->path();
        OpenInput(path);
    });
    layout->addWidget(changedText_, 1);
    layout->addWidget(reload);
    changedBar_->hide();
    connect(&watch_, &InputWatch::Changed, this, [this] {
        changedText_->setText(tr("%1 has changed on disk. What is shown and taken out is the file as it was opened.")
                                  .arg(QFile::decodeName(QByteArray::fromStdString(model_->path()))));
        changedBar_->show();
    });
}

bool ViewerWindow::OpenInput(const std::string& path)
{
    const QString shown = QFile::decodeName(QByteArray::fromStdString(path));
    SetPlaying(false);
    const Input::Opened opened = model_->Open(path);
    if (opened != Input::Opened::Yes) {
        const QString why = opened == Input::Opened::CannotOpen
            ? tr("%1 cannot be opened: %2")
                  .arg(shown, QString::fromStdString(std::generic_category().message(model_->openError())))
            : tr("%1 is not an archive (.dat starting with \"pack\") or an animation file (.ani).").arg(shown);
        dialogs_.ShowError(this, why);
        return false;
    }
    setWindowTitle(tr("%1 – orvview").arg(shown));
    watch_.Watch(path);
    changedBar_->hide();
    showFiles_->hide();
    pastEnd_->setVisible(model_->input()->pastEnd());
    pastEnd_->setText(tr("%1.\nEntries marked with a warning sign lie past its end.")
                          .arg(QFile::decodeName(QByteArray::fromStdString(PastEndText(path)))));
    recent_.Add(path);
    renderer_.SetInput(model_->input(), settings_);
    thumbnails_.SetInput(model_->input(), settings_);
    preview_ = Preview{};
    message_->setText(model_->rowCount() == 0 ? tr("The archive holds no entries.") : QString());
    pages_->setCurrentIndex(MessagePage);
    list_->FitColumns(40 * list_->fontMetrics().horizontalAdvance('0'));
    if (filter_->rowCount() > 0) list_->setCurrentIndex(filter_->index(0, 0));
    ShowCount();
    UpdateActions();
    return true;
}

void ViewerWindow::Filter(const QString& text)
{
    // The entry previewed stays current, selected and in view; where the filter hides it,
    // the preview follows the first entry shown.
    const QModelIndex previewed = filter_->mapToSource(list_->currentIndex());
    filter_->setFilterFixedString(text);
    QModelIndex current = filter_->mapFromSource(previewed);
    if (!current.isValid()) current = filter_->index(0, 0);
    if (current.isValid()) {
        if (current != list_->currentIndex() || !list_->selectionModel()->hasSelection())
            list_->setCurrentIndex(current);
        list_->scrollTo(current);
        grid_->scrollTo(current);
    }
    ShowCount();
}

void ViewerWindow::ShowCount()
{
    const int all = model_->rowCount();
    const int shown = filter_->rowCount();
    if (shown == all)
        count_->setText(all == 1 ? tr("1 entry") : tr("%1 entries").arg(all));
    else
        count_->setText(all == 1 ? tr("%1 of 1 entry").arg(shown) : tr("%1 of %2 entries").arg(shown).arg(all));
}

bool ViewerWindow::UseSettings(const std::string& path)
{
    std::shared_ptr<const SettingsFile> settings;
    if (!path.empty()) {
        try {
            settings = SettingsFile::Load(path);
        } catch (const SettingsError& error) {
            dialogs_.ShowError(this, QString::fromUtf8(error.what()));
            return false;
        }
    }
    settings_ = std::move(settings);
    // The file's name keeps the toolbar short; its tooltip tells the folder.
    const QString file = QFile::decodeName(QByteArray::fromStdString(path));
    settingsLabel_->setText(path.empty() ? tr("no settings") : QFileInfo(file).fileName());
    settingsLabel_->setToolTip(file);
    UpdateActions();
    if (!model_->path().empty()) {
        renderer_.SetInput(model_->input(), settings_);
        thumbnails_.SetInput(model_->input(), settings_);
        grid_->WantVisible();
        CurrentChanged();
    }
    return true;
}

QImage ViewerWindow::ShownImage() const
{
    if (preview_.kind == Preview::Kind::Picture) return preview_.picture;
    if (preview_.kind == Preview::Kind::Frames && !preview_.frames.empty())
        return preview_.frames[static_cast<std::size_t>(frame_)].image;
    return {};
}

void ViewerWindow::CopyShown()
{
    const QImage image = ShownImage();
    if (!image.isNull()) QGuiApplication::clipboard()->setImage(image);
}

void ViewerWindow::SaveShown()
{
    const QImage image = ShownImage();
    if (image.isNull()) return;
    const InputEntry& entry = model_->entry(static_cast<int>(preview_.entry));
    QString name = QString::fromStdString(entry.shown.substr(0, entry.shown.rfind('.')));
    if (preview_.kind == Preview::Kind::Frames)
        name += QStringLiteral("_%1").arg(preview_.frames[static_cast<std::size_t>(frame_)].number, 4, 10,
                                          QLatin1Char('0'));
    const std::optional<QString> file = dialogs_.ChooseSavePng(this, name + ".png");
    if (file && !image.save(*file, "PNG")) dialogs_.ShowError(this, tr("%1 cannot be written.").arg(*file));
}

void ViewerWindow::ChooseAndOpen()
{
    if (const std::optional<QString> file = dialogs_.ChooseInput(this)) OpenInput(LocalPath(*file));
}

void ViewerWindow::ChooseSettings()
{
    // Settings files are written for an input, so they are looked for beside it first.
    const std::string folder = model_->path().empty() ? WindowDataFolder(FolderOf(RunningExecutablePath("orvview")))
                                                      : FolderOf(model_->path());
    if (const std::optional<QString> file
        = dialogs_.ChooseSettings(this, QFile::decodeName(QByteArray::fromStdString(folder))))
        UseSettings(LocalPath(*file));
}

void ViewerWindow::ShowGrid(bool grid)
{
    const QSignalBlocker blocker(gridAction_);
    gridAction_->setChecked(grid);
    sideAction_->setVisible(grid);
    views_->setCurrentWidget(grid ? static_cast<QWidget*>(grid_) : list_);
    if (grid) grid_->scrollTo(list_->currentIndex());
}

void ViewerWindow::CurrentChanged()
{
    const QModelIndex current = filter_->mapToSource(list_->currentIndex());
    if (!current.isValid()) return;
    SetPlaying(false);
    renderer_.Request(static_cast<std::size_t>(current.row()));
}

void ViewerWindow::Show(const Preview& preview)
{
    preview_ = preview;
    sound_->Stop();
    animationBar_->setVisible(preview.kind == Preview::Kind::Frames);
    switch (preview.kind) {
    case Preview::Kind::Picture:
        picture_->SetImage(preview.picture);
        pages_->setCurrentIndex(PicturePage);
        break;
    case Preview::Kind::Frames:
        frame_ = 0;
        pages_->setCurrentIndex(PicturePage);
        ShowFrame(0);
        break;
    case Preview::Kind::Bytes: {
        // Each entry starts as what it looks like: binary as hex, text in the encoding it reads in.
        {
            const QScopedValueRollback hold(holdText_, true);
            hexAction_->setChecked(LooksBinary(preview.bytes));
            encoding_->setCurrentIndex(encoding_->findData(static_cast<int>(GuessEncoding(preview.bytes))));
        }
        ShowBytes();
        pages_->setCurrentIndex(TextPage);
        break;
    }
    case Preview::Kind::Sound:
        sound_->SetSound(preview.sound, preview.bytes);
        pages_->setCurrentIndex(SoundPage);
        break;
    case Preview::Kind::Nothing:
        message_->setText(tr("Conversion writes nothing for this entry."));
        pages_->setCurrentIndex(MessagePage);
        break;
    case Preview::Kind::Error:
        message_->setText(preview.error);
        pages_->setCurrentIndex(MessagePage);
        break;
    }
    UpdateActions();
    emit PreviewShown();
}

void ViewerWindow::ShowFrame(int frame)
{
    const auto count = static_cast<int>(preview_.frames.size());
    if (count == 0) {
        picture_->SetImage({});
        counter_->setText(tr("no frames"));
        return;
    }
    frame_ = (frame % count + count) % count;
    const PreviewFrame& shown = preview_.frames[static_cast<std::size_t>(frame_)];
    picture_->SetImage(shown.image);
    // The counter counts the frames shown; the frame's own number tells where it stands.
    counter_->setText(shown.image.isNull()
                          ? tr("%1 / %2 (frame %3, copied raw)").arg(frame_ + 1).arg(count).arg(shown.number)
                          : tr("%1 / %2").arg(frame_ + 1).arg(count));
}

void ViewerWindow::StepFrame(int by)
{
    if (preview_.kind == Preview::Kind::Frames) ShowFrame(frame_ + by);
}

void ViewerWindow::SetPlaying(bool playing)
{
    if (playing && preview_.kind == Preview::Kind::Frames && preview_.frames.size() > 1)
        playTimer_.start();
    else
        playTimer_.stop();
    const QSignalBlocker blocker(play_);
    play_->setChecked(playTimer_.isActive());
    play_->setText(playTimer_.isActive() ? tr("Pause") : tr("Play"));
}

void ViewerWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls() && event->mimeData()->urls().value(0).isLocalFile()) event->acceptProposedAction();
}

void ViewerWindow::dropEvent(QDropEvent* event)
{
    const QUrl url = event->mimeData()->urls().value(0);
    if (!url.isLocalFile()) return;
    event->acceptProposedAction();
    const std::string path = LocalPath(url.toLocalFile());
    QTimer::singleShot(0, this, [this, path] { OpenInput(path); });
}

}  // namespace orv::view
