#include "view/picture_view.h"

#include <QPainter>
#include <algorithm>

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

void PictureView::paintEvent(QPaintEvent*)
{
    if (image_.isNull()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QSizeF drawn = QSizeF(image_.size()) * Scale();
    const QRectF target((width() - drawn.width()) / 2, (height() - drawn.height()) / 2, drawn.width(), drawn.height());
    painter.drawImage(target, image_);
}

}  // namespace orv::view
