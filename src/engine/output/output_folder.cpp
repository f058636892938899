#include "engine/output/output_folder.h"

#include <dirent.h>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "engine/output/output_file.h"

namespace orv {

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

}  // namespace

bool OutputFolder::Make(const std::string& root, const std::string& name)
{
    Close();
    const int rootFd = ::open(root.empty() ? "." : root.c_str(), kFolderFlags);
    makeError_ = rootFd < 0 ? errno : 0;
    error_ = makeError_;
    if (rootFd < 0) return false;
    // An existing folder is fine; whatever else is in the way shows when opening.
    if (::mkdirat(rootFd, name.c_str(), 0777) != 0 && errno != EEXIST) makeError_ = errno;
    fd_ = ::openat(rootFd, name.c_str(), kFolderFlags | O_NOFOLLOW);
    error_ = fd_ < 0 ? errno : 0;
    ::close(rootFd);
    if (fd_ < 0) return false;
    RemoveLeftovers();
    return true;
}

bool OutputFolder::Open(const std::string& path)
{
    Close();
    fd_ = ::open(path.empty() ? "." : path.c_str(), kFolderFlags);
    error_ = fd_ < 0 ? errno : 0;
    return fd_ >= 0;
}

void OutputFolder::Close()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

void OutputFolder::RemoveLeftovers()
{
    const int listFd = ::dup(fd_);
    if (listFd < 0) return;
    DIR* folder = ::fdopendir(listFd);
    if (folder == nullptr) {
        ::close(listFd);
        return;
    }
    while (const dirent* item = ::readdir(folder)) {
        if (!IsTemporaryOutputName(item->d_name)) continue;
        const int fd = ::openat(fd_, item->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st { };
        // A file still locked is being written by a run that is alive.
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(fd_, item->d_name, 0);
        ::close(fd);
    }
    ::closedir(folder);
}

}  // namespace orv
