#pragma once

#include <memory>
#include <string>
#include <vector>

#include "pack/files/pack_error.h"
#include "pack/archive/planned_entry.h"

namespace orv {
class OutputFile;
class OutputFolder;
}  // namespace orv

namespace orv::pack {

// A file written whole under a temporary name in its folder: the name keeps its earlier
// file until Commit puts this one in place, and for good when it is dropped uncommitted.
// PackError when it cannot be written, or when a source file no longer holds the bytes
// planned from it.
class WrittenFile {
public:
    // Removes what killed runs left in the folder first. stop is asked between chunks;
    // PackError when it says so, or when outPath is irreplaceable (checked again when
    // committing).
    WrittenFile(const std::vector<Piece>& pieces, const std::string& outPath, const PackStop& stop);
    ~WrittenFile();
    WrittenFile(const WrittenFile&) = delete;
    WrittenFile& operator=(const WrittenFile&) = delete;

    // A path that reads the written bytes before they are put in place.
    std::string ReadPath() const;
    void Commit();

private:
    std::string shown_;
    std::string path_;
    std::unique_ptr<OutputFolder> folder_;
    std::unique_ptr<OutputFile> out_;
};

// Makes the folders outPath names when missing, as orvconv-cli makes its output root;
// PackError naming outPath when they cannot be made.
void MakeOutputFolder(const std::string& outPath);

// PackError naming outPath when something other than a regular file bears its name (a
// device, FIFO, socket, symbolic link or folder): an archive replaces a regular file or
// nothing.
void RefuseIrreplaceable(const std::string& outPath);

// PackError naming the folder when there are more than 65,535 entries, or the file of
// the first entry that would end past 4 GiB.
void CheckArchiveLimits(const std::vector<PlannedEntry>& entries, const std::string& folderShown);

// The archive written for outPath as above, not yet put in place.
std::unique_ptr<WrittenFile> WriteArchiveUnplaced(const std::vector<PlannedEntry>& entries, const std::string& outPath,
                                                  const PackStop& stop);

// Writes a copy of the file at `from` to outPath the same way and puts it in place.
void CopyArchive(const std::string& from, const std::string& outPath, const PackStop& stop);

}  // namespace orv::pack
