#pragma once

#include <QCollator>
#include <QSortFilterProxyModel>

namespace orv::view {

// The entry list as shown: sorted by any column (names and texts in natural order, so
// that frame2 comes before frame10, sizes as numbers) and filtered by a text the name
// holds, in any letter case.
class EntryFilter : public QSortFilterProxyModel {
    Q_OBJECT

public:
    explicit EntryFilter(QObject* parent = nullptr);

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    QCollator collator_;
};

}  // namespace orv::view
