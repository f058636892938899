#pragma once

#include <string>
#include <vector>

namespace orv::view {

// The inputs opened last, most recent first, at most kKept, kept in the viewer's settings
// (QSettings) as the bytes of their paths.
class RecentFiles {
public:
    static constexpr std::size_t kKept = 10;

    std::vector<std::string> List() const;
    void Add(const std::string& path);
};

}  // namespace orv::view
