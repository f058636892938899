#include "settings/settings_list.h"

#include <dirent.h>
#include <fcntl.h>

#include <algorithm>
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

char UpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// By name with ASCII letters upper-cased, as names compare; names equal that way by their bytes.
bool ListedBefore(const std::string& a, const std::string& b)
{
    const auto lessIgnoringCase = [](char x, char y) {
        return static_cast<unsigned char>(UpperAscii(x)) < static_cast<unsigned char>(UpperAscii(y));
    };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), lessIgnoringCase)) return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), lessIgnoringCase)) return false;
    return a < b;
}

}  // namespace

void ListSettingsFiles(const std::string& exeDir, std::vector<std::string>& items)
{
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(exeDir.c_str()));
    if (!dir) return;
    const auto first = static_cast<std::ptrdiff_t>(items.size());
    while (const dirent* entry = ::readdir(dir.get())) {
        if (!HasIniExtension(entry->d_name)) continue;
        // stat follows links: a link to a settings file counts, a link to a folder does not.
        struct stat st { };
        if (::fstatat(::dirfd(dir.get()), entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode))
            items.emplace_back(entry->d_name);
    }
    std::sort(items.begin() + first, items.end(), ListedBefore);
}

}  // namespace orv
