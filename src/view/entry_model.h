#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/read/reader.h"

namespace orv::view {

// The entries of one input as a table: name as shown, kind, size and what the entry's
// first bytes tell (picture size, frame count, sound format). The table is read at once
// when the input opens; the details of a row are read when it is first shown or sorted.
class EntryModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Name, Kind, Size, Details, ColumnCount };
    // Data for sorting: numbers compare as numbers, names in natural order.
    static constexpr int kSortRole = Qt::UserRole;

    explicit EntryModel(QObject* parent = nullptr);

    // Replaces the input shown; Yes when it is an archive or an animation file. Whatever
    // fails to open leaves the model empty.
    Input::Opened Open(const std::string& path);
    // The input shown, opened once: every reader of the window reads this open file.
    const std::shared_ptr<const Input>& input() const { return input_; }
    // After CannotOpen: the system's error number.
    int openError() const { return openError_; }
    const std::string& path() const { return path_; }
    const InputEntry& entry(int row) const { return input_->entries()[static_cast<std::size_t>(row)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    static QString KindText(EntryKind kind);

private:
    const QString& DetailsOf(int row) const;

    std::string path_;
    std::shared_ptr<const Input> input_;
    int openError_ = 0;
    // Read on the thread of the model only; previews read the input through readers of their own.
    std::unique_ptr<Reader> reader_;
    mutable std::vector<std::optional<QString>> details_;
};

}  // namespace orv::view
