#pragma once

#include <QTableView>
#include <functional>

class QMimeData;

namespace orv::view {

// The list of entries. Dragging rows out of it carries what dragData gives: the files
// the selected entries convert to, for a file manager to copy. A cell too narrow for its
// text shows the whole text as its tooltip.
class EntryListView : public QTableView {
    Q_OBJECT

public:
    using QTableView::QTableView;
    std::function<QMimeData*()> dragData;

    // Sizes the columns but the last (which takes the rest) to their header and the texts
    // of a sample of rows (those in view and the next kSampleRows): measuring 65,535
    // rows would hold the window up. No column gets wider than maxWidth.
    void FitColumns(int maxWidth);
    static constexpr int kSampleRows = 256;

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    bool viewportEvent(QEvent* event) override;
};

}  // namespace orv::view
