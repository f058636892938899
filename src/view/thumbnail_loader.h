#pragma once

#include <QCache>
#include <QImage>
#include <QObject>
#include <QThreadPool>
#include <QTimer>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace orv {
class Input;
class Reader;
class SettingsFile;
}  // namespace orv

namespace orv::view {

// Thumbnails of an input's entries for the grid: the picture or first composed frame as
// conversion writes it, scaled down to fit kSide (exact colours; scaled again only for
// display). Rendered on worker threads, each with a reader of its own, and only for the
// entries wanted last, taken up at most every kCoalesceMs while the view scrolls; kept in a
// cache bounded in bytes.
class ThumbnailLoader : public QObject {
    Q_OBJECT

public:
    static constexpr int kSide = 256;
    static constexpr int kCoalesceMs = 30;
    static constexpr qsizetype kDefaultCacheBytes = qsizetype{96} << 20;

    explicit ThumbnailLoader(QObject* parent = nullptr);
    ~ThumbnailLoader() override;

    // The input later thumbnails come from; what was rendered before is dropped.
    void SetInput(std::shared_ptr<const orv::Input> input, std::shared_ptr<const SettingsFile> settings);
    // The entries to render, most wanted first, in place of those wanted before.
    void Want(std::vector<std::size_t> entries);
    // The thumbnail of the entry: null when it has not been rendered (or was dropped from
    // the cache); a null image when the entry shows no picture.
    const QImage* Find(std::size_t entry) const;

    void SetCacheBytes(qsizetype bytes) { cache_.setMaxCost(bytes); }
    qsizetype cachedBytes() const { return cache_.totalCost(); }
    // How many thumbnails have been rendered since the input was set.
    int rendered() const { return rendered_; }

signals:
    void Ready(std::size_t entry);

private:
    struct Shown;
    // Starts work on the wanted entries, keeping the workers busy but no busier.
    void Dispatch();
    void Render(std::size_t entry, std::uint64_t generation, const std::shared_ptr<const Shown>& input);
    void Rendered(std::size_t entry, std::uint64_t generation, QImage image);
    std::unique_ptr<Reader> TakeReader(const std::shared_ptr<const Shown>& input);
    void GiveBack(std::unique_ptr<Reader> reader, const std::shared_ptr<const Shown>& input);

    QThreadPool workers_;
    QTimer coalesce_;
    std::atomic<std::uint64_t> generation_{0};
    std::shared_ptr<const Shown> input_;
    std::vector<std::size_t> wanted_;
    std::set<std::size_t> inFlight_;
    QCache<std::size_t, QImage> cache_;
    int rendered_ = 0;
    // Readers not in use, opened on input_ (the workers take and give back).
    std::mutex readersMutex_;
    std::vector<std::unique_ptr<Reader>> idleReaders_;
    std::shared_ptr<const Shown> readersInput_;
};

}  // namespace orv::view
