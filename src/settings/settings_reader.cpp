#include "settings/settings_reader.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "settings/settings_error.h"

namespace orv {

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) { }
    ~Descriptor() { ::close(fd_); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int fd() const { return fd_; }

private:
    int fd_;
};

int OpenForReading(const std::string& path)
{
    // O_NONBLOCK keeps a FIFO without a writer from hanging the open; FIFOs are refused
    // below, and the flag does nothing to regular files.
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

}  // namespace

std::optional<std::string> ReadSettingsBytes(const std::string& path)
{
    const int fd = OpenForReading(path);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
        throw SettingsError(path);
    }
    const Descriptor file(fd);
    struct stat st { };
    if (::fstat(file.fd(), &st) != 0) throw SettingsError(path);
    if (S_ISDIR(st.st_mode)) return std::nullopt;
    // Reading a device or a FIFO might never end.
    if (!S_ISREG(st.st_mode)) throw SettingsError(path);

    // One spare byte lets the read that meets the end find room; the buffer only grows
    // when the file grows while it is read.
    std::string bytes(static_cast<std::size_t>(st.st_size) + 1, '\0');
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) bytes.resize(bytes.size() * 2);
        const ssize_t got = ::read(file.fd(), bytes.data() + filled, bytes.size() - filled);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            throw SettingsError(path);
        }
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
}

}  // namespace orv
