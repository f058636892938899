#include "view/entry_grid.h"

#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "view/entry_filter.h"
#include "view/entry_model.h"
#include "view/thumbnail_loader.h"

namespace orv::view {

namespace {

constexpr int kSideStep = 16;
constexpr int kPadding = 6;

QIcon KindIcon(EntryKind kind)
{
    const QStyle::StandardPixmap pixmap = kind == EntryKind::Sound ? QStyle::SP_MediaVolume
        : kind == EntryKind::Other                                 ? QStyle::SP_FileIcon
                                                                   : QStyle::SP_FileDialogContentsView;
    return QApplication::style()->standardIcon(pixmap);
}

}  // namespace

ThumbnailDelegate::ThumbnailDelegate(const EntryFilter& filter, const ThumbnailLoader& loader, QObject* parent) :
    QStyledItemDelegate(parent), filter_(filter), loader_(loader)
{ }

QSize ThumbnailDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& /*index*/) const
{
    return {option.decorationSize.width() + 2 * kPadding,
            option.decorationSize.height() + option.fontMetrics.height() + 3 * kPadding};
}

void ThumbnailDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QWidget* widget = option.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    item.text.clear();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &item, painter, widget);
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    if (selected) {
        const QPalette::ColorGroup group
            = option.state.testFlag(QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
        painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
    }

    const QRect square(option.rect.left() + (option.rect.width() - option.decorationSize.width()) / 2,
                       option.rect.top() + kPadding, option.decorationSize.width(), option.decorationSize.height());
    const QModelIndex source = filter_.mapToSource(index);
    const auto* model = static_cast<const EntryModel*>(filter_.sourceModel());
    const QImage* thumbnail = loader_.Find(static_cast<std::size_t>(source.row()));
    if (thumbnail != nullptr && !thumbnail->isNull()) {
        const QSize shown = thumbnail->size().scaled(square.size(), Qt::KeepAspectRatio);
        const QRect target(square.left() + (square.width() - shown.width()) / 2,
                           square.top() + (square.height() - shown.height()) / 2, shown.width(), shown.height());
        // Pixel art stays sharp when shown larger than it is.
        painter->setRenderHint(QPainter::SmoothPixmapTransform, shown.width() < thumbnail->width());
        painter->drawImage(target, *thumbnail);
    } else {
        const int side = std::min(square.width(), square.height()) / 2;
        KindIcon(model->entry(source.row()).kind)
            .paint(painter, QRect(square.center() - QPoint(side / 2, side / 2), QSize(side, side)), Qt::AlignCenter,
                   thumbnail == nullptr ? QIcon::Disabled : QIcon::Normal);
    }
    const QRect text(option.rect.left() + kPadding / 2, square.bottom() + kPadding, option.rect.width() - kPadding,
                     option.fontMetrics.height());
    const QString name = option.fontMetrics.elidedText(index.data().toString(), Qt::ElideMiddle, text.width());
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(text, Qt::AlignHCenter | Qt::AlignTop, name);
}

EntryGrid::EntryGrid(EntryFilter& filter, ThumbnailLoader& loader, QWidget* parent) :
    QListView(parent), filter_(filter), loader_(loader)
{
    setViewMode(QListView::IconMode);
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setItemDelegate(new ThumbnailDelegate(filter, loader, this));
    setModel(&filter);
    SetThumbnailSide(128);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &EntryGrid::WantVisible);
    connect(&filter, &QAbstractItemModel::layoutChanged, this, &EntryGrid::WantVisible);
    connect(&filter, &QAbstractItemModel::modelReset, this, &EntryGrid::WantVisible);
    connect(&filter, &QAbstractItemModel::rowsInserted, this, &EntryGrid::WantVisible);
    connect(&filter, &QAbstractItemModel::rowsRemoved, this, &EntryGrid::WantVisible);
    connect(&loader, &ThumbnailLoader::Ready, this, [this](std::size_t entry) {
        const auto* model = static_cast<const EntryModel*>(filter_.sourceModel());
        const QModelIndex index = filter_.mapFromSource(model->index(static_cast<int>(entry), 0));
        if (index.isValid()) viewport()->update(visualRect(index));
    });
}

void EntryGrid::SetThumbnailSide(int side)
{
    side = std::clamp(side, kSmallest, kLargest);
    if (side == iconSize().width()) return;
    setIconSize(QSize(side, side));
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    setGridSize(itemDelegate()->sizeHint(option, {}));
    emit ThumbnailSideChanged(side);
    WantVisible();
}

void EntryGrid::WantVisible()
{
    const int rows = filter_.rowCount();
    if (rows == 0 || !isVisible()) return;
    const QSize cell = gridSize();
    const int columns = std::max(1, viewport()->width() / std::max(1, cell.width()));
    const int shownRows = viewport()->height() / std::max(1, cell.height()) + 2;
    const QModelIndex top = indexAt(QPoint(cell.width() / 2, cell.height() / 2));
    const int first = top.isValid() ? top.row() : 0;
    const int screen = columns * shownRows;
    std::vector<std::size_t> entries;
    const auto add = [&](int from, int to) {
        for (int row = std::max(from, 0); row < std::min(to, rows); ++row)
            entries.push_back(static_cast<std::size_t>(filter_.mapToSource(filter_.index(row, 0)).row()));
    };
    add(first, first + screen);
    add(first + screen, first + 2 * screen);
    add(first - screen, first);
    loader_.Want(std::move(entries));
}

void EntryGrid::wheelEvent(QWheelEvent* event)
{
    if (event->modifiers().testFlag(Qt::ControlModifier)) {
        SetThumbnailSide(thumbnailSide() + (event->angleDelta().y() > 0 ? kSideStep : -kSideStep));
        event->accept();
        return;
    }
    QListView::wheelEvent(event);
}

void EntryGrid::resizeEvent(QResizeEvent* event)
{
    QListView::resizeEvent(event);
    WantVisible();
}

void EntryGrid::showEvent(QShowEvent* event)
{
    QListView::showEvent(event);
    WantVisible();
}

}  // namespace orv::view
