#pragma once

#include <QListView>
#include <QStyledItemDelegate>

namespace orv::view {

class EntryFilter;
class EntryModel;
class ThumbnailLoader;

// Draws an entry of the grid: its thumbnail scaled to the grid's size (or, until it is
// rendered and for entries that show no picture, the icon of its kind), its name below.
class ThumbnailDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    ThumbnailDelegate(const EntryFilter& filter, const ThumbnailLoader& loader, QObject* parent = nullptr);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const EntryFilter& filter_;
    const ThumbnailLoader& loader_;
};

// The entries as a grid of thumbnails. It asks the loader for what is in view and a
// screenful either side whenever that changes; Ctrl+wheel sizes the thumbnails.
class EntryGrid : public QListView {
    Q_OBJECT

public:
    static constexpr int kSmallest = 64;
    static constexpr int kLargest = 256;

    EntryGrid(EntryFilter& filter, ThumbnailLoader& loader, QWidget* parent = nullptr);

    // The side of the square a thumbnail is shown in, kSmallest to kLargest.
    void SetThumbnailSide(int side);
    int thumbnailSide() const { return iconSize().width(); }
    // Asks the loader for the entries in view, then those a screenful before and after.
    void WantVisible();

signals:
    void ThumbnailSideChanged(int side);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    EntryFilter& filter_;
    ThumbnailLoader& loader_;
};

}  // namespace orv::view
