#include "view/entry_list_view.h"

#include <QDrag>
#include <QMimeData>

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

}  // namespace orv::view
