#include "engine/io/file_identity.h"

#include <sys/stat.h>

namespace orv {

std::vector<FileIdentity> IdentitiesOf(const std::vector<std::string>& paths)
{
    std::vector<FileIdentity> identities;
    for (const std::string& path : paths) {
        struct stat st { };
        if (::stat(path.c_str(), &st) == 0) identities.push_back({st.st_dev, st.st_ino});
    }
    return identities;
}

}  // namespace orv
