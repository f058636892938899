#include "view/entry_filter.h"

#include "view/entry_model.h"

#include <QLocale>

namespace orv::view {

EntryFilter::EntryFilter(QObject* parent) : QSortFilterProxyModel(parent)
{
    // The C locale compares bytes, numbers and letter case included: natural order needs a
    // language's rules.
    if (QLocale().language() == QLocale::C) collator_ = QCollator(QLocale(QLocale::English));
    collator_.setNumericMode(true);
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
    setSortRole(EntryModel::kSortRole);
    setFilterKeyColumn(EntryModel::Name);
    setFilterCaseSensitivity(Qt::CaseInsensitive);
}

bool EntryFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const QVariant a = left.data(EntryModel::kSortRole);
    const QVariant b = right.data(EntryModel::kSortRole);
    if (a.typeId() == QMetaType::UInt && b.typeId() == QMetaType::UInt) {
        if (a.toUInt() != b.toUInt()) return a.toUInt() < b.toUInt();
    } else if (const int order = collator_.compare(a.toString(), b.toString()); order != 0) {
        return order < 0;
    }
    // Equal keys keep the archive's order.
    return left.row() < right.row();
}

}  // namespace orv::view
