#include "settings/settings_list.h"

#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <sys/stat.h>

#include "settings/name_index.h"

namespace orv {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

bool HasIniExtension(std::string_view name)
{
    constexpr std::string_view kExtension = ".ini";
    return name.size() >= kExtension.size()
        && SameNameIgnoringCase(name.substr(name.size() - kExtension.size()), kExtension);
}

}  // namespace

void ListSettingsFiles(const std::string& exeDir, std::vector<std::string>& items)
{
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(exeDir.c_str()));
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (!HasIniExtension(entry->d_name)) continue;
        // stat follows links: a link to a settings file counts, a link to a folder does not.
        struct stat st { };
        if (::fstatat(::dirfd(dir.get()), entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode))
            items.emplace_back(entry->d_name);
    }
}

}  // namespace orv
