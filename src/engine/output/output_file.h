#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/io/file_handle.h"

namespace orv {

// A file written under a name no reader takes for finished and put in place with one
// rename once complete: the final name holds its previous content until then, and
// after a kill. An existing file of that name is replaced, never written through, so
// other links to it keep their content, and a link at the name is not followed.
// Nothing here ends the run: callers turn a false result into their own error.
class OutputFile {
public:
    // How the file is held until it is put in place: unnamed where the file system
    // allows it (it vanishes with the process), else under a hidden temporary name
    // that the next run into the folder removes (OutputFolder).
    enum class Temporary { Unnamed, Named };

    // Begins the file that will take name in the open folder folderFd (held on to until
    // the file is done with); created() tells whether that worked. A name that is a
    // folder is refused. path is folder and name as shown in messages.
    OutputFile(int folderFd, std::string name, std::string path, Temporary temporary = Temporary::Unnamed);
    // Discards the file unless it was put in place.
    ~OutputFile();
    OutputFile(OutputFile&& other) noexcept;
    OutputFile& operator=(OutputFile&&) = delete;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool created() const { return file_.IsOpen(); }
    // The errno of the failed creation; ENOSPC or EDQUOT when the file system is full.
    int error() const { return error_; }
    const std::string& path() const { return path_; }
    // For writers that need a stream of their own (dup it).
    int descriptor() const { return file_.descriptor(); }

    bool Write(const void* data, std::uint32_t n) { return file_.Write(data, n); }
    // Closes the file and renames it to its name; false (and the file discarded) when
    // either fails.
    bool Commit();

private:
    bool CreateUnnamed();
    bool CreateNamed();
    // Whether name in the folder is still the file open as fd.
    bool StillNamed(int fd, const std::string& name) const;
    void Discard();

    int folderFd_ = -1;
    std::string name_;
    std::string path_;
    FileHandle file_;
    std::string temporaryName_;  // the name it has in the folder before the rename, if any
    int error_ = 0;
};

// Whether a name in an output folder is one OutputFile gives a file while it is written:
// "." + "orvconv-" + 16 hexadecimal digits + ".tmp". No entry's output can have such a
// name: entries hold at most 16 bytes, and longer output names end in a frame number or
// the extension of a picture or sound.
bool IsTemporaryOutputName(std::string_view name);

}  // namespace orv
