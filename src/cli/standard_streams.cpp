#include "cli/standard_streams.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace orv::cli {

bool OpenMissingStandardStreams()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // The lowest free number is fd itself, since those below it are open.
        if (::open("/dev/null", O_RDWR) != fd) return false;
    }
    return true;
}

}  // namespace orv::cli
