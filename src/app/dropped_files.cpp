#include "app/dropped_files.h"

#include <QMimeData>
#include <QUrl>

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

}  // namespace orv::app
