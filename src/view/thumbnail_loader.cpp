#include "view/thumbnail_loader.h"

#include <QMetaObject>
#include <algorithm>
#include <new>

#include "engine/base/fatal_error.h"
#include "engine/read/reader.h"
#include "settings/settings_file.h"
#include "thumbnail/first_picture.h"
#include "thumbnail/scale_to_fit.h"
#include "view/preview.h"

namespace orv::view {

// One input as the workers read it.
struct ThumbnailLoader::Shown {
    std::shared_ptr<const orv::Input> input;
    std::shared_ptr<const SettingsFile> settings;
};

ThumbnailLoader::ThumbnailLoader(QObject* parent) : QObject(parent)
{
    // The window's own thread keeps a core of its own where there are few.
    workers_.setMaxThreadCount(std::max(1, QThread::idealThreadCount() - 1));
    coalesce_.setSingleShot(true);
    coalesce_.setInterval(kCoalesceMs);
    connect(&coalesce_, &QTimer::timeout, this, &ThumbnailLoader::Dispatch);
    cache_.setMaxCost(kDefaultCacheBytes);
}

ThumbnailLoader::~ThumbnailLoader()
{
    ++generation_;
    workers_.waitForDone();
}

void ThumbnailLoader::SetInput(std::shared_ptr<const orv::Input> input, std::shared_ptr<const SettingsFile> settings)
{
    ++generation_;
    input_ = std::make_shared<const Shown>(Shown{std::move(input), std::move(settings)});
    wanted_.clear();
    inFlight_.clear();
    cache_.clear();
    rendered_ = 0;
}

void ThumbnailLoader::Want(std::vector<std::size_t> entries)
{
    wanted_ = std::move(entries);
    // While the view scrolls, what it wants is taken up once every kCoalesceMs.
    if (!coalesce_.isActive()) coalesce_.start();
}

const QImage* ThumbnailLoader::Find(std::size_t entry) const
{
    return cache_.object(entry);
}

void ThumbnailLoader::Dispatch()
{
    if (!input_) return;
    // Enough to keep every worker busy while the next results come back.
    const std::size_t most = static_cast<std::size_t>(workers_.maxThreadCount()) * 2;
    std::size_t next = 0;
    while (inFlight_.size() < most && next < wanted_.size()) {
        const std::size_t entry = wanted_[next++];
        if (inFlight_.contains(entry) || cache_.contains(entry)) continue;
        inFlight_.insert(entry);
        workers_.start(
            [this, entry, generation = generation_.load(), input = input_] { Render(entry, generation, input); });
    }
    wanted_.erase(wanted_.begin(), wanted_.begin() + static_cast<std::ptrdiff_t>(next));
}

void ThumbnailLoader::Render(std::size_t entry, std::uint64_t generation, const std::shared_ptr<const Shown>& input)
{
    if (generation_.load() != generation) return;
    QImage image;
    std::unique_ptr<Reader> reader;
    try {
        reader = TakeReader(input);
        if (reader && entry < reader->entries().size())
            if (const std::optional<RgbImage> picture = EntryPicture(*reader, entry))
                image = ToImage(ScaleToFit(*picture, kSide));
    } catch (const FatalError&) {
        // An entry that cannot be read shows as one without a picture.
    } catch (const std::bad_alloc&) { }
    GiveBack(std::move(reader), input);
    QMetaObject::invokeMethod(
        this, [this, entry, generation, image = std::move(image)] { Rendered(entry, generation, image); },
        Qt::QueuedConnection);
}

void ThumbnailLoader::Rendered(std::size_t entry, std::uint64_t generation, QImage image)
{
    if (generation != generation_.load()) return;
    inFlight_.erase(entry);
    ++rendered_;
    const qsizetype cost = std::max<qsizetype>(image.sizeInBytes(), 1);
    cache_.insert(entry, new QImage(std::move(image)), cost);
    emit Ready(entry);
    Dispatch();
}

std::unique_ptr<Reader> ThumbnailLoader::TakeReader(const std::shared_ptr<const Shown>& input)
{
    {
        const std::lock_guard lock(readersMutex_);
        if (readersInput_ != input) {
            idleReaders_.clear();
            readersInput_ = input;
        }
        if (!idleReaders_.empty()) {
            std::unique_ptr<Reader> reader = std::move(idleReaders_.back());
            idleReaders_.pop_back();
            return reader;
        }
    }
    auto reader = std::make_unique<Reader>(input->input);
    reader->SetSettings(input->settings);
    return reader;
}

void ThumbnailLoader::GiveBack(std::unique_ptr<Reader> reader, const std::shared_ptr<const Shown>& input)
{
    if (!reader) return;
    const std::lock_guard lock(readersMutex_);
    if (readersInput_ == input) idleReaders_.push_back(std::move(reader));
}

}  // namespace orv::view
