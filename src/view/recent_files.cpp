#include "view/recent_files.h"

#include <QByteArray>
#include <QSettings>
#include <QVariant>
#include <algorithm>

namespace orv::view {

namespace {

constexpr const char* kKey = "recentFiles";

}  // namespace

std::vector<std::string> RecentFiles::List() const
{
    std::vector<std::string> paths;
    for (const QVariant& path : QSettings().value(kKey).toList()) paths.push_back(path.toByteArray().toStdString());
    return paths;
}

void RecentFiles::Add(const std::string& path)
{
    std::vector<std::string> paths = List();
    paths.erase(std::remove(paths.begin(), paths.end(), path), paths.end());
    paths.insert(paths.begin(), path);
    if (paths.size() > kKept) paths.resize(kKept);
    QVariantList kept;
    for (const std::string& item : paths) kept << QByteArray::fromStdString(item);
    QSettings().setValue(kKey, kept);
}

}  // namespace orv::view
