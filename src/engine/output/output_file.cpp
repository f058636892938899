#include "engine/output/output_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>
#include <utility>

namespace orv {

namespace {

constexpr std::string_view kTemporaryPrefix = ".orvconv-";
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::size_t kTemporaryDigits = 16;

std::string NewTemporaryName()
{
    thread_local std::mt19937_64 random{std::random_device{}()};
    static constexpr char kHex[] = "0123456789abcdef";
    std::string name(kTemporaryPrefix);
    std::uint64_t bits = random();
    for (std::size_t i = 0; i < kTemporaryDigits; ++i, bits >>= 4) name += kHex[bits & 0xF];
    name += kTemporarySuffix;
    return name;
}

// Up to this many names are tried when another file holds the one drawn.
constexpr int kNameAttempts = 100;

}  // namespace

bool IsTemporaryOutputName(std::string_view name)
{
    if (name.size() != kTemporaryPrefix.size() + kTemporaryDigits + kTemporarySuffix.size()
        || !name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix))
        return false;
    for (const char c : name.substr(kTemporaryPrefix.size(), kTemporaryDigits)) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

OutputFile::OutputFile(int folderFd, std::string name, std::string path, Temporary temporary) :
    folderFd_(folderFd < 0 ? -1 : ::fcntl(folderFd, F_DUPFD_CLOEXEC, 0)), name_(std::move(name)), path_(std::move(path))
{
    struct stat st { };
    if (folderFd_ < 0) {
        error_ = folderFd < 0 ? EBADF : errno;
    } else if (::fstatat(folderFd_, name_.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode)) {
        error_ = EISDIR;
    } else {
        temporary == Temporary::Unnamed ? CreateUnnamed() : CreateNamed();
    }
}

OutputFile::OutputFile(OutputFile&& other) noexcept :
    folderFd_(other.folderFd_),
    name_(std::move(other.name_)),
    path_(std::move(other.path_)),
    temporaryName_(std::move(other.temporaryName_)),
    error_(other.error_)
{
    file_.Adopt(other.file_.Release());
    other.temporaryName_.clear();
    other.folderFd_ = -1;
}

OutputFile::~OutputFile()
{
    Discard();
    if (folderFd_ >= 0) ::close(folderFd_);
}

bool OutputFile::CreateUnnamed()
{
#ifdef O_TMPFILE
    const int fd = ::openat(folderFd_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd >= 0) {
        // Locked before it gets a name: no other run ever finds it unlocked.
        ::flock(fd, LOCK_EX);
        file_.Adopt(fd);
        return true;
    }
    // File systems without unnamed files say so in one of these ways.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        error_ = errno;
        return false;
    }
#endif
    return CreateNamed();
}

bool OutputFile::CreateNamed()
{
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = NewTemporaryName();
        const int fd = ::openat(folderFd_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno != EEXIST) break;
            continue;
        }
        // Between creating and locking, another run's clean-up may have taken the file for
        // a leftover and removed it; then it starts again under a new name.
        ::flock(fd, LOCK_EX);
        if (StillNamed(fd, name)) {
            file_.Adopt(fd);
            temporaryName_ = std::move(name);
            return true;
        }
        ::close(fd);
    }
    error_ = errno;
    return false;
}

bool OutputFile::StillNamed(int fd, const std::string& name) const
{
    struct stat held { };
    struct stat named { };
    return ::fstat(fd, &held) == 0 && ::fstatat(folderFd_, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0
        && held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

bool OutputFile::Commit()
{
    if (!created()) return false;
    if (temporaryName_.empty()) {
        // An unnamed file gets a temporary name first: linkat cannot replace a name.
        const std::string self = "/proc/self/fd/" + std::to_string(file_.descriptor());
        for (int attempt = 0; attempt < kNameAttempts && temporaryName_.empty(); ++attempt) {
            std::string name = NewTemporaryName();
            if (::linkat(AT_FDCWD, self.c_str(), folderFd_, name.c_str(), AT_SYMLINK_FOLLOW) == 0
                || ::linkat(file_.descriptor(), "", folderFd_, name.c_str(), AT_EMPTY_PATH) == 0)
                temporaryName_ = std::move(name);
            else if (errno != EEXIST)
                break;
        }
        if (temporaryName_.empty()) {
            Discard();
            return false;
        }
    }
    // Closed first: a file system that reports lost data on close keeps the old file. The
    // lock stays with a second descriptor until the name is in place, so that no other
    // run's clean-up takes the temporary for a leftover in between.
    FileHandle lock;
    lock.Adopt(::fcntl(file_.descriptor(), F_DUPFD_CLOEXEC, 0));
    const bool closed = lock.IsOpen() && file_.Close();
    if (!closed || ::renameat(folderFd_, temporaryName_.c_str(), folderFd_, name_.c_str()) != 0) {
        Discard();
        return false;
    }
    temporaryName_.clear();
    return true;
}

void OutputFile::Discard()
{
    file_.Close();
    if (!temporaryName_.empty()) ::unlinkat(folderFd_, temporaryName_.c_str(), 0);
    temporaryName_.clear();
}

}  // namespace orv
