#include "app/dropped_files.h"

#include <QMimeData>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "engine/base/text.h"
#include "engine/read/archive.h"

namespace orv::app {

std::vector<std::string> DroppedFiles(const QMimeData& data)
{
    std::vector<std::string> paths;
    for (const QUrl& url : data.urls()) {
        // A file on another host would be taken for the local file of the same path.
        if (!url.isLocalFile() || !(url.host().isEmpty() || url.host() == "localhost")) continue;
        // The percent-encoded form holds a file name's bytes exactly, whatever they are.
        paths.push_back(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString());
    }
    return paths;
}

std::vector<std::string> WithFoldersOpened(const std::vector<std::string>& paths)
{
    std::vector<std::string> opened;
    for (const std::string& path : paths) {
        std::error_code error;
        if (!std::filesystem::is_directory(path, error)) {
            opened.push_back(path);
            continue;
        }
        std::vector<std::string> inside;
        for (std::filesystem::directory_iterator item(path, error), end; !error && item != end; item.increment(error)) {
            const std::string name = item->path().filename().string();
            if (InputKindOf(AsciiLower(name)) != InputKind::Unsupported && item->is_regular_file(error))
                inside.push_back(item->path().string());
        }
        std::sort(inside.begin(), inside.end());
        if (inside.empty()) inside.push_back(path);
        opened.insert(opened.end(), inside.begin(), inside.end());
    }
    return opened;
}

}  // namespace orv::app
