#pragma once

#include <QImage>
#include <QWidget>

namespace orv::view {

// A picture as pixel art is looked at: fitted to the pane or magnified by a factor, each
// pixel a sharp square (nearest neighbour), never smoothed.
class PictureView : public QWidget {
    Q_OBJECT

public:
    explicit PictureView(QWidget* parent = nullptr);

    void SetImage(const QImage& image);
    const QImage& image() const { return image_; }
    // Fitted: as large as the pane allows, whole. Otherwise zoom times its size.
    void SetFitted(bool fitted);
    void SetZoom(double zoom);
    bool fitted() const { return fitted_; }
    double zoom() const { return zoom_; }
    // The factor the picture is drawn at.
    double Scale() const;
    // Where a point of this widget lies in the picture's pixels, and back.
    QPointF PicturePointAt(QPointF at) const;
    QPointF WidgetPointOf(QPointF picturePoint) const;

    QSize sizeHint() const override;

signals:
    // The wheel turned over the picture: factor (above 1 to zoom in) and where, in this widget.
    void WheelZoom(double factor, QPointF at);
    void DoubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QImage image_;
    bool fitted_ = true;
    double zoom_ = 1.0;
};

}  // namespace orv::view
