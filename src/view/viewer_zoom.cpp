// How the picture shown is sized: fitted to the pane, or zoomed by the keys and buttons
// or by the wheel around the cursor.
#include <QScrollArea>
#include <QScrollBar>
#include <cmath>

#include "view/picture_view.h"
#include "view/viewer_window.h"

namespace orv::view {

void ViewerWindow::Fit()
{
    picture_->SetFitted(true);
    scroll_->setWidgetResizable(true);
}

void ViewerWindow::Zoom(double scale)
{
    scroll_->setWidgetResizable(false);
    picture_->SetZoom(scale);
}

void ViewerWindow::ZoomAround(double factor, QPointF at)
{
    const QPointF inViewport = picture_->mapTo(scroll_->viewport(), at);
    const QPointF pixel = picture_->PicturePointAt(at);
    Zoom(picture_->Scale() * factor);
    // The scroll bars' ranges follow the picture's new size at once; the point comes back
    // under the cursor.
    const QPointF now = picture_->WidgetPointOf(pixel);
    scroll_->horizontalScrollBar()->setValue(static_cast<int>(std::lround(now.x() - inViewport.x())));
    scroll_->verticalScrollBar()->setValue(static_cast<int>(std::lround(now.y() - inViewport.y())));
}

}  // namespace orv::view
