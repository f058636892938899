#include "view/input_watch.h"

#include <QFile>
#include <QFileInfo>

namespace orv::view {

namespace {

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size
        && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

}  // namespace

InputWatch::InputWatch(QObject* parent) : QObject(parent)
{
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &InputWatch::Check);
    // A file replaced by renaming another over it is seen in its folder.
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &InputWatch::Check);
}

void InputWatch::Watch(const std::string& path)
{
    if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
    path_ = path;
    told_ = false;
    opened_.reset();
    if (path.empty()) return;
    struct stat st { };
    if (::stat(path.c_str(), &st) == 0) opened_ = st;
    const QString file = QFile::decodeName(QByteArray::fromStdString(path));
    watcher_.addPath(file);
    watcher_.addPath(QFileInfo(file).absolutePath());
}

void InputWatch::Check()
{
    if (told_ || path_.empty()) return;
    struct stat st { };
    const bool there = ::stat(path_.c_str(), &st) == 0;
    if (there && opened_ && SameFile(st, *opened_)) return;
    told_ = true;
    emit Changed();
}

}  // namespace orv::view
