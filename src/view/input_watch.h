#pragma once

#include <sys/stat.h>

#include <QFileSystemWatcher>
#include <QObject>
#include <optional>
#include <string>

namespace orv::view {

// Tells when the file at the path an input was opened from is no longer the file as it
// was opened: written over, replaced by another file of that name (as orvpack -o does),
// or gone. The input itself stays readable as it was; the window offers to open it again.
class InputWatch : public QObject {
    Q_OBJECT

public:
    explicit InputWatch(QObject* parent = nullptr);

    // Watches the file at path, as it is now; an empty path watches nothing.
    void Watch(const std::string& path);

signals:
    // Once for each Watch, when the file changes.
    void Changed();

private:
    void Check();

    QFileSystemWatcher watcher_;
    std::string path_;
    std::optional<struct stat> opened_;
    bool told_ = false;
};

}  // namespace orv::view
