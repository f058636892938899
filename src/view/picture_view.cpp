#include "view/picture_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace orv::view {

PictureView::PictureView(QWidget* parent) : QWidget(parent)
{
    setObjectName("pictureView");
    setBackgroundRole(QPalette::Dark);
    setAutoFillBackground(true);
}

void PictureView::SetImage(const QImage& image)
{
    image_ = image;
    updateGeometry();
    if (!fitted_) resize(sizeHint());
    update();
}

void PictureView::SetFitted(bool fitted)
{
    fitted_ = fitted;
    updateGeometry();
    if (!fitted_) resize(sizeHint());
    update();
}

void PictureView::SetZoom(double zoom)
{
    zoom_ = std::clamp(zoom, 0.125, 32.0);
    SetFitted(false);
}

double PictureView::Scale() const
{
    if (!fitted_ || image_.isNull()) return zoom_;
    return std::min(static_cast<double>(width()) / image_.width(), static_cast<double>(height()) / image_.height());
}

QSize PictureView::sizeHint() const
{
    if (image_.isNull()) return {1, 1};
    return (QSizeF(image_.size()) * zoom_).toSize().expandedTo({1, 1});
}

QPointF PictureView::WidgetPointOf(QPointF picturePoint) const
{
    // The picture is drawn centred.
    const QSizeF drawn = QSizeF(image_.size()) * Scale();
    return QPointF((width() - drawn.width()) / 2, (height() - drawn.height()) / 2) + picturePoint * Scale();
}

QPointF PictureView::PicturePointAt(QPointF at) const
{
    return (at - WidgetPointOf({0, 0})) / Scale();
}

void PictureView::paintEvent(QPaintEvent*)
{
    if (image_.isNull()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QSizeF drawn = QSizeF(image_.size()) * Scale();
    painter.drawImage(QRectF(WidgetPointOf({0, 0}), drawn), image_);
}

void PictureView::wheelEvent(QWheelEvent* event)
{
    if (image_.isNull() || event->angleDelta().y() == 0) {
        event->ignore();
        return;
    }
    // 1.25 a notch of 120 eighths of a degree; smooth wheels send parts of a notch.
    emit WheelZoom(std::pow(1.25, event->angleDelta().y() / 120.0), event->position());
    event->accept();
}

void PictureView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) emit DoubleClicked();
}

}  // namespace orv::view
