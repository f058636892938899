#include "app/window_placement.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>

namespace orv::app {

namespace {

void MoveFrameToCentre(QWidget& window)
{
    const QRect area = window.screen()->availableGeometry();
    const QSize frame = window.frameGeometry().size();
    // move() places the frame's top-left corner.
    window.move(area.x() + (area.width() - frame.width()) / 2, area.y() + (area.height() - frame.height()) / 2);
}

// Centres the window again at the first move or resize after which it has a frame.
class CentreWhenFramed : public QObject {
public:
    explicit CentreWhenFramed(QWidget& window) : QObject(&window), window_(window) { }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        const bool placed
            = event->type() == QEvent::Move || event->type() == QEvent::Resize || event->type() == QEvent::Show;
        if (placed && window_.isVisible() && window_.frameGeometry().size() != window_.size()) {
            window_.removeEventFilter(this);
            MoveFrameToCentre(window_);
            deleteLater();
        }
        return false;
    }

private:
    QWidget& window_;
};

}  // namespace

void CentreOnScreen(QWidget& window)
{
    MoveFrameToCentre(window);
    window.installEventFilter(new CentreWhenFramed(window));
}

}  // namespace orv::app
