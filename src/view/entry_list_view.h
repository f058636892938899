#pragma once

#include <QTableView>
#include <functional>

class QMimeData;

namespace orv::view {

// The list of entries. Dragging rows out of it carries what dragData gives: the files
// the selected entries convert to, for a file manager to copy.
class EntryListView : public QTableView {
    Q_OBJECT

public:
    using QTableView::QTableView;
    std::function<QMimeData*()> dragData;

protected:
    void startDrag(Qt::DropActions supportedActions) override;
};

}  // namespace orv::view
