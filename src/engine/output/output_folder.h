#pragma once

#include <string>

namespace orv {

// The folder an input's files go into, held open: every file is created relative to it,
// so a link or rename of its path later cannot send a file elsewhere.
class OutputFolder {
public:
    OutputFolder() = default;
    ~OutputFolder() { Close(); }
    OutputFolder(const OutputFolder&) = delete;
    OutputFolder& operator=(const OutputFolder&) = delete;

    // Makes the folder name inside root (root may be reached through links, name itself
    // never is) and opens it, removing what killed runs left there while writing. False
    // when it cannot be made or opened, or name is a link or no folder.
    bool Make(const std::string& root, const std::string& name);
    // Opens an existing folder as the path names it.
    bool Open(const std::string& path);
    void Close();

    bool IsOpen() const { return fd_ >= 0; }
    int descriptor() const { return fd_; }
    // Why the folder could not be opened (errno), after Make or Open.
    int error() const { return error_; }
    // After Make: the errno when the folder could not be made (0 when it was made or
    // something of its name was there already).
    int makeError() const { return makeError_; }

    // Removes the temporary files killed runs left in the open folder (Make does it).
    void RemoveLeftovers();

private:
    int fd_ = -1;
    int error_ = 0;
    int makeError_ = 0;
};

}  // namespace orv
