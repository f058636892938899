#include "view/entry_list_view.h"

#include <QDrag>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMimeData>
#include <QToolTip>
#include <algorithm>

namespace orv::view {

void EntryListView::startDrag(Qt::DropActions /*supportedActions*/)
{
    QMimeData* files = dragData ? dragData() : nullptr;
    if (files == nullptr) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(files);
    // The files stay where they were written: a drop copies them.
    drag->exec(Qt::CopyAction);
}

void EntryListView::FitColumns(int maxWidth)
{
    horizontalHeader()->setResizeContentsPrecision(kSampleRows);
    for (int column = 0; column + 1 < horizontalHeader()->count(); ++column) {
        resizeColumnToContents(column);
        setColumnWidth(column, std::min(columnWidth(column), maxWidth));
    }
}

bool EntryListView::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip) return QTableView::viewportEvent(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    // The model's own tooltips (an entry past the end of the file) come first.
    if (!index.isValid() || !index.data(Qt::ToolTipRole).isNull()) return QTableView::viewportEvent(event);
    const QRect cell = visualRect(index);
    if (sizeHintForIndex(index).width() > cell.width())
        QToolTip::showText(help->globalPos(), index.data().toString(), viewport(), cell);
    else
        QToolTip::hideText();
    return true;
}

}  // namespace orv::view
