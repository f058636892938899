#include "view/entry_model.h"

#include <QApplication>
#include <QLocale>
#include <QStyle>

#include "engine/base/fatal_error.h"
#include "engine/format/sound_format.h"

namespace orv::view {

EntryModel::EntryModel(QObject* parent) : QAbstractTableModel(parent), input_(std::make_shared<Input>()) { }

Input::Opened EntryModel::Open(const std::string& path)
{
    beginResetModel();
    auto input = std::make_shared<Input>();
    const Input::Opened opened = input->Open(path);
    const bool yes = opened == Input::Opened::Yes;
    openError_ = input->openError();
    path_ = yes ? path : std::string();
    input_ = yes ? std::move(input) : std::make_shared<Input>();
    reader_ = std::make_unique<Reader>(input_);
    details_.assign(input_->entries().size(), std::nullopt);
    endResetModel();
    return opened;
}

int EntryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(details_.size());
}

int EntryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

// The engine's name of each kind (EntryKindName) in the viewer's language: tr() needs the
// words themselves, so that the translations find them.
QString EntryModel::KindText(EntryKind kind)
{
    switch (kind) {
    case EntryKind::Picture: return tr("picture");
    case EntryKind::Animation: return tr("animation");
    case EntryKind::Sound: return tr("sound");
    case EntryKind::Other: break;
    }
    return tr("other");
}

const QString& EntryModel::DetailsOf(int row) const
{
    std::optional<QString>& cached = details_[static_cast<std::size_t>(row)];
    if (cached) return *cached;
    const InputEntry& e = entry(row);
    QString text;
    try {
        const EntryDetails details = reader_->Details(static_cast<std::size_t>(row));
        switch (e.kind) {
        case EntryKind::Picture:
            text = QStringLiteral("%1 × %2").arg(details.picture.width).arg(details.picture.height);
            break;
        case EntryKind::Animation:
            text = details.frames == 1 ? tr("1 frame") : tr("%1 frames").arg(details.frames);
            break;
        case EntryKind::Sound:
            if (const std::optional<SoundFormat> format = SoundFormatOf(details.soundCode)) {
                const double seconds = SoundSeconds(*format, e.size);
                text = tr("%1 Hz, %2, %3 s")
                           .arg(format->rate)
                           .arg(format->channels == 1 ? tr("mono") : tr("stereo"))
                           .arg(seconds, 0, 'f', 1);
            } else {
                text = tr("unknown format %1").arg(details.soundCode);
            }
            break;
        case EntryKind::Other: break;
        }
    } catch (const FatalError&) {
        text = tr("unreadable");
    }
    cached = text;
    return *cached;
}

QVariant EntryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const InputEntry& e = entry(index.row());
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case Name: return QString::fromStdString(e.shown);
        case Kind: return KindText(e.kind);
        case Size: return QLocale().toString(e.size);
        case Details: return DetailsOf(index.row());
        default: return {};
        }
    }
    if (role == kSortRole) {
        switch (index.column()) {
        case Size: return QVariant::fromValue(e.size);
        case Name: return QString::fromStdString(e.shown);
        case Kind: return KindText(e.kind);
        case Details: return DetailsOf(index.row());
        default: return {};
        }
    }
    if (e.pastEnd && index.column() == Name) {
        if (role == Qt::DecorationRole) return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
        if (role == Qt::ToolTipRole)
            return tr("The file ends before this entry does: its missing bytes read as zeros, as conversion "
                      "reads them.");
    }
    if (role == Qt::TextAlignmentRole && index.column() == Size)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags EntryModel::flags(const QModelIndex& index) const
{
    // Entries are dragged out as the files they convert to.
    return QAbstractTableModel::flags(index) | (index.isValid() ? Qt::ItemIsDragEnabled : Qt::NoItemFlags);
}

QVariant EntryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Name: return tr("Name");
    case Kind: return tr("Kind");
    case Size: return tr("Size");
    case Details: return tr("Details");
    default: return {};
    }
}

}  // namespace orv::view
