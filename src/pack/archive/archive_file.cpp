#include "pack/archive/archive_file.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "engine/read/archive.h"
#include "engine/io/file_handle.h"
#include "engine/output/output_file.h"
#include "engine/output/output_folder.h"
#include "engine/base/text.h"
#include "pack/archive/archive_layout.h"
#include "pack/files/pack_error.h"

namespace orv::pack {

namespace {

constexpr std::uint32_t kCopyBytes = 1u << 20;

void Put(OutputFile& out, const std::uint8_t* data, std::uint64_t n, const PackStop& stop)
{
    for (std::uint64_t at = 0; at < n; at += kCopyBytes) {
        StopIfAsked(stop);
        const auto part = static_cast<std::uint32_t>(std::min<std::uint64_t>(kCopyBytes, n - at));
        if (!out.Write(data + at, part))
            throw PackError(EscapeControlBytes(out.path()) + ": cannot be written (" + std::strerror(errno) + ")");
    }
}

void CopyRange(OutputFile& out, const Piece& piece, const std::string& origin, Bytes& buffer, const PackStop& stop)
{
    FileHandle file;
    if (!file.Open(piece.path)) throw PackError(origin + ": cannot be opened");
    if (file.Size() < piece.offset + piece.length) throw PackError(origin + ": changed while the archive was written");
    for (std::uint64_t at = 0; at < piece.length; at += kCopyBytes) {
        const auto part = static_cast<std::uint32_t>(std::min<std::uint64_t>(kCopyBytes, piece.length - at));
        if (!file.ReadAt(piece.offset + at, buffer.data(), part)) throw PackError(origin + ": cannot be read");
        Put(out, buffer.data(), part, stop);
    }
}

std::string TypeName(std::filesystem::file_type type)
{
    switch (type) {
    case std::filesystem::file_type::directory: return "a folder";
    case std::filesystem::file_type::symlink: return "a symbolic link";
    case std::filesystem::file_type::block:
    case std::filesystem::file_type::character: return "a device";
    case std::filesystem::file_type::fifo: return "a FIFO";
    case std::filesystem::file_type::socket: return "a socket";
    default: return "not a regular file";
    }
}

}  // namespace

void MakeOutputFolder(const std::string& outPath)
{
    const std::filesystem::path path(outPath);
    std::error_code error;
    if (path.has_parent_path() && !std::filesystem::is_directory(path.parent_path(), error)) {
        std::filesystem::create_directories(path.parent_path(), error);
        if (error)
            throw PackError(EscapeControlBytes(outPath) + ": its folder cannot be made (" + error.message() + ")");
    }
}

void RefuseIrreplaceable(const std::string& outPath)
{
    std::error_code error;
    const std::filesystem::file_type present = std::filesystem::symlink_status(outPath, error).type();
    if (present != std::filesystem::file_type::not_found && present != std::filesystem::file_type::none
        && present != std::filesystem::file_type::regular)
        throw PackError(EscapeControlBytes(outPath) + " is " + TypeName(present)
                        + "; orvpack replaces nothing but a regular file");
}

WrittenFile::WrittenFile(const std::vector<Piece>& pieces, const std::string& outPath, const PackStop& stop) :
    shown_(EscapeControlBytes(outPath)), path_(outPath), folder_(std::make_unique<OutputFolder>())
{
    RefuseIrreplaceable(outPath);
    const std::filesystem::path path(outPath);
    if (!folder_->Open(path.parent_path().string())) throw PackError(shown_ + ": its folder cannot be opened");
    folder_->RemoveLeftovers();
    out_ = std::make_unique<OutputFile>(folder_->descriptor(), path.filename().string(), outPath,
                                        OutputFile::Temporary::Unnamed);
    if (!out_->created()) throw PackError(shown_ + ": cannot be created (" + std::strerror(out_->error()) + ")");

    Bytes buffer(kCopyBytes);
    for (const Piece& piece : pieces) {
        if (piece.path.empty())
            Put(*out_, piece.bytes.data(), piece.bytes.size(), stop);
        else
            CopyRange(*out_, piece, EscapeControlBytes(piece.path), buffer, stop);
    }
}

WrittenFile::~WrittenFile() = default;

std::string WrittenFile::ReadPath() const
{
    return "/proc/self/fd/" + std::to_string(out_->descriptor());
}

void WrittenFile::Commit()
{
    RefuseIrreplaceable(path_);
    if (!out_->Commit()) throw PackError(shown_ + ": cannot be written (" + std::strerror(errno) + ")");
}

namespace {

std::vector<Piece> ArchivePieces(const std::vector<PlannedEntry>& entries)
{
    std::vector<TableItem> table;
    table.reserve(entries.size());
    for (const PlannedEntry& entry : entries) table.push_back({entry.name, entry.size()});
    std::vector<Piece> pieces{Piece::Held(ArchiveTable(table))};
    for (const PlannedEntry& entry : entries) pieces.insert(pieces.end(), entry.pieces.begin(), entry.pieces.end());
    return pieces;
}

}  // namespace

void CheckArchiveLimits(const std::vector<PlannedEntry>& entries, const std::string& folderShown)
{
    if (entries.size() > kMaxArchiveEntries)
        throw PackError(folderShown + ": " + std::to_string(entries.size())
                        + " entries; an archive holds at most 65,535");
    std::uint64_t end = kArchiveHeaderBytes + std::uint64_t{kArchiveEntryBytes} * entries.size();
    for (const PlannedEntry& entry : entries) {
        end += entry.size();
        if (end > kMaxArchiveBytes)
            throw PackError(entry.origin + ": the archive would end past 4 GiB with this entry, "
                            + "beyond what its 32-bit offsets reach");
    }
}

std::unique_ptr<WrittenFile> WriteArchiveUnplaced(const std::vector<PlannedEntry>& entries, const std::string& outPath,
                                                  const PackStop& stop)
{
    return std::make_unique<WrittenFile>(ArchivePieces(entries), outPath, stop);
}

void CopyArchive(const std::string& from, const std::string& outPath, const PackStop& stop)
{
    std::error_code error;
    const std::uint64_t size = std::filesystem::file_size(from, error);
    if (error) throw PackError(EscapeControlBytes(from) + ": cannot be read (" + error.message() + ")");
    WrittenFile({Piece::FromFile(from, 0, size)}, outPath, stop).Commit();
}

}  // namespace orv::pack
