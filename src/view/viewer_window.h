#pragma once

#include <QMainWindow>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "view/extraction.h"
#include "view/input_watch.h"
#include "view/preview.h"
#include "view/preview_renderer.h"
#include "view/recent_files.h"
#include "view/thumbnail_loader.h"

class QAction;
class QComboBox;
class QLabel;
class QMimeData;
class QTemporaryDir;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QStackedWidget;
class QTableView;
class QToolButton;

namespace orv {
class SettingsFile;
}

namespace orv::view {

class EntryFilter;
class EntryGrid;
class EntryListView;
class EntryModel;
class PictureView;
class SoundPane;
class ViewerDialogs;

// orvview's window: the entries of one archive or animation file in a list that sorts and
// filters, and a preview of the current entry, rendered off the UI thread exactly as
// conversion writes it: pictures, animations played with a settings file's composition,
// a sound's format, other entries as CP932 text or hex.
class ViewerWindow : public QMainWindow {
    Q_OBJECT

public:
    ViewerWindow(ViewerDialogs& dialogs, QWidget* parent = nullptr);
    ~ViewerWindow() override;

    // Shows the input, or tells why it cannot; false then, and what was shown stays.
    bool OpenInput(const std::string& path);
    // Frames of animations are composed with this settings file from now on (empty: none).
    bool UseSettings(const std::string& path);

    // The picture or animation frame shown; null when the preview shows none.
    QImage ShownImage() const;
    // Copies the picture shown to the clipboard as image data.
    void CopyShown();
    // Saves the picture shown as a PNG file the user chooses.
    void SaveShown();

    // Writes the selected entries (or all of them) with the choices the user makes, on a
    // thread of its own with progress and a way to cancel.
    void Extract(bool selectedOnly);
    // The selected entries as the files to drag out, written from now on, off the window's
    // thread, into a temporary folder of their own that goes with the window. Null when
    // no such folder can be made.
    QMimeData* DragData();

    // What the preview shows, for tests and the status bar.
    const Preview& preview() const { return preview_; }
    int frame() const { return frame_; }
    EntryModel& model() { return *model_; }
    ThumbnailLoader& thumbnails() { return thumbnails_; }
    // Shows the entries as a grid of thumbnails, or as the list.
    void ShowGrid(bool grid);

signals:
    // A preview has been shown.
    void PreviewShown();
    // An extraction has ended and what it ended with has been told.
    void ExtractionEnded();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void FitToScreen();
    void createActions();
    void createMenu();
    void createList();
    void createPreview();
    void createAnimationBar(QWidget* page);
    void createTextPage();
    // The bytes of the entry shown, as hex or as text in the encoding chosen.
    void ShowBytes();
    void createChangedBar(QWidget* parent);
    void createViewMenu();
    // Enables each action where it can act now; a disabled one tells why in its tooltip.
    void UpdateActions();
    void PlayOrPause();

    void ChooseAndOpen();
    void ChooseSettings();
    void CurrentChanged();
    // Shows the entries whose names hold text, the current one kept in view.
    void Filter(const QString& text);
    void ShowCount();
    void Show(const Preview& preview);
    void ShowFrame(int frame);
    // The picture as large as the pane allows, or scale times its size.
    void Fit();
    void Zoom(double scale);
    // Zooms by factor keeping the picture's point under at (in the picture view) where it is.
    void ZoomAround(double factor, QPointF at);
    void StepFrame(int by);
    void SetPlaying(bool playing);
    // The entries selected in the list, by index of the input; empty when all are.
    std::vector<bool> SelectedEntries() const;
    void ExtractionFinished(const ExtractOutcome& outcome, const QString& folder, int count);
    void createShowFilesButton();

    ViewerDialogs& dialogs_;
    EntryModel* model_ = nullptr;
    EntryFilter* filter_ = nullptr;
    QLineEdit* filterEdit_ = nullptr;
    EntryListView* list_ = nullptr;
    EntryGrid* grid_ = nullptr;
    QStackedWidget* views_ = nullptr;
    QAction* gridAction_ = nullptr;
    QAction* copyAction_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* extractAction_ = nullptr;
    QAction* extractAllAction_ = nullptr;
    QAction* noSettingsAction_ = nullptr;
    QAction* playAction_ = nullptr;  // Space: plays or pauses the animation or sound shown
    QAction* previousAction_ = nullptr;
    QAction* nextAction_ = nullptr;
    QAction* hexAction_ = nullptr;
    std::vector<QAction*> zoomActions_;  // fit, 100 %, in, out: for pictures and frames
    QAction* sideAction_ = nullptr;  // the thumbnail size, shown with the grid
    QStackedWidget* pages_ = nullptr;
    QLabel* message_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    PictureView* picture_ = nullptr;
    QWidget* animationBar_ = nullptr;
    QToolButton* play_ = nullptr;
    QLabel* counter_ = nullptr;
    QSpinBox* frameMs_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QComboBox* encoding_ = nullptr;
    bool holdText_ = false;  // while an entry's own hex and encoding are set
    SoundPane* sound_ = nullptr;
    QLabel* settingsLabel_ = nullptr;
    QLabel* count_ = nullptr;  // "N entries", or "N of M entries" while filtered
    // Shown when the file opened has changed on disk since, with a button to open it again.
    QWidget* changedBar_ = nullptr;
    // Shown when the file opened is cut short: what orvconv-cli says of it.
    QLabel* pastEnd_ = nullptr;
    QLabel* changedText_ = nullptr;

    RecentFiles recent_;
    InputWatch watch_;
    PreviewRenderer renderer_;
    ThumbnailLoader thumbnails_;
    std::shared_ptr<const SettingsFile> settings_;
    Preview preview_;
    int frame_ = 0;
    QTimer playTimer_;
    ExtractChoices extractChoices_;
    Extraction* extraction_ = nullptr;  // the one under way
    QPushButton* showFiles_ = nullptr;  // opens the folder last extracted into
    QString extractedFolder_;
    std::vector<std::unique_ptr<QTemporaryDir>> dragFolders_;
};

}  // namespace orv::view
