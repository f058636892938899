// The window's actions by keyboard and what each may do now: the View menu, with the keys
// that reach the filter and the preview's controls, and every action enabled only where
// it can act, its tooltip saying why not otherwise.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QShortcut>
#include <QTableView>
#include <QToolButton>

#include "view/entry_grid.h"
#include "view/entry_list_view.h"
#include "view/entry_model.h"
#include "view/sound_pane.h"
#include "view/viewer_window.h"

namespace orv::view {

namespace {

// An enabled action's tooltip tells what it does (its status tip); a disabled one's why not.
void SetAvailable(QAction* action, bool available, const QString& whyNot)
{
    action->setEnabled(available);
    action->setToolTip(available ? action->statusTip() : whyNot);
}

}  // namespace

void ViewerWindow::createViewMenu()
{
    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->addAction(tr("&Filter by Name"), QKeySequence::Find, this, [this] {
        filterEdit_->setFocus(Qt::ShortcutFocusReason);
        filterEdit_->selectAll();
    });
    view->addAction(gridAction_);
    view->addSeparator();
    playAction_ = view->addAction(tr("&Play / Pause"), this, &ViewerWindow::PlayOrPause);
    playAction_->setShortcut(Qt::Key_Space);
    playAction_->setStatusTip(tr("Play or pause the animation or sound shown (Space)"));
    // Space plays where the focus is on the entries or the preview; on a button it presses it.
    playAction_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    for (QWidget* where : {static_cast<QWidget*>(list_), static_cast<QWidget*>(grid_), static_cast<QWidget*>(scroll_),
                           static_cast<QWidget*>(text_)})
        where->addAction(playAction_);
    view->addAction(previousAction_);
    view->addAction(nextAction_);
    view->addAction(hexAction_);
    view->addSeparator();
    for (QAction* zoom : zoomActions_) view->addAction(zoom);
    view->addSeparator();
    QAction* fullScreen = view->addAction(tr("F&ull Screen"), this, [this](bool on) {
        setWindowState(on ? windowState() | Qt::WindowFullScreen : windowState() & ~Qt::WindowFullScreen);
    });
    fullScreen->setCheckable(true);
    fullScreen->setShortcut(Qt::Key_F11);
    // Escape leaves full screen, as in other viewers.
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, fullScreen, [fullScreen] {
        if (fullScreen->isChecked()) fullScreen->trigger();
    });
}

void ViewerWindow::PlayOrPause()
{
    if (preview_.kind == Preview::Kind::Frames)
        SetPlaying(!playTimer_.isActive());
    else if (preview_.kind == Preview::Kind::Sound)
        sound_->TogglePlaying();
}

void ViewerWindow::UpdateActions()
{
    const bool open = !model_->path().empty();
    const QString noInput = tr("No archive or animation file is open.");
    SetAvailable(extractAction_, open && extraction_ == nullptr, open ? tr("An extraction is under way.") : noInput);
    SetAvailable(extractAllAction_, open && extraction_ == nullptr, open ? tr("An extraction is under way.") : noInput);

    SetAvailable(noSettingsAction_, settings_ != nullptr, tr("No settings file is in use."));

    const bool image = !ShownImage().isNull();
    const QString noPicture = tr("No picture or animation frame is shown.");
    SetAvailable(copyAction_, image, noPicture);
    SetAvailable(saveAction_, image, noPicture);
    for (QAction* zoom : zoomActions_) SetAvailable(zoom, image, noPicture);

    const bool frames = preview_.kind == Preview::Kind::Frames;
    const bool steps = frames && preview_.frames.size() > 1;
    const QString noSteps = frames ? tr("The animation shows one frame.") : tr("No animation is shown.");
    SetAvailable(previousAction_, steps, noSteps);
    SetAvailable(nextAction_, steps, noSteps);
    if (preview_.kind == Preview::Kind::Sound)
        SetAvailable(playAction_, sound_->WhyNotPlayable().isEmpty(), sound_->WhyNotPlayable());
    else
        SetAvailable(playAction_, steps, frames ? noSteps : tr("No animation or sound is shown."));
    SetAvailable(hexAction_, preview_.kind == Preview::Kind::Bytes,
                 tr("Pictures, animations and sounds are shown as such, not as bytes."));
}

}  // namespace orv::view
