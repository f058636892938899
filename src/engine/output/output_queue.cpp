#include "engine/output/output_queue.h"

#include <new>
#include <optional>
#include <utility>

#include "engine/output/task_runner.h"

namespace orv {

// One file to put in place, a picture still to be written, or a mark.
struct OutputQueue::Item final : Task {
    OutputQueue* queue = nullptr;
    Failure failure = nullptr;
    std::function<void()> mark;
    // A picture: its writer, rows and their block.
    PictureWrite write;
    const std::uint8_t* rows = nullptr;
    std::unique_ptr<ScratchBuffer> block;
    std::uint32_t size = 0;
    // Until done, only the task touches file and error.
    bool done = true;
    std::optional<OutputFile> file;
    std::optional<FatalError> error;

    void Run() noexcept override;
};

void OutputQueue::Item::Run() noexcept
{
    bool skip = false;
    {
        std::lock_guard lock(queue->mutex_);
        skip = queue->discarding_;
    }
    if (!skip) {
        try {
            file.emplace(write(rows));
        } catch (const FatalError& failed) {
            error = failed;
        } catch (const std::bad_alloc&) {
            error = FatalError::OutOfMemory();
        }
    }
    // Notified under the lock: once it is released the queue may be gone.
    std::lock_guard lock(queue->mutex_);
    done = true;
    queue->written_.notify_all();
}

OutputQueue::OutputQueue()
{
    // Every block but the next one waits or is spare: putting one back never allocates.
    spareBlocks_.reserve(kMaxWaitingPictures + 1);
}

OutputQueue::~OutputQueue()
{
    Discard();
}

void OutputQueue::Add(OutputFile file, Failure failure)
{
    WaitWhile([&] { return waitingFiles_ >= kMaxWaitingFiles || items_.size() >= kMaxWaitingItems; });
    auto item = std::make_unique<Item>();
    item->failure = failure;
    item->file.emplace(std::move(file));
    items_.push_back(std::move(item));
    ++waitingFiles_;
    PutDoneInPlace();
}

void OutputQueue::AddMark(std::function<void()> mark)
{
    WaitWhile([&] { return items_.size() >= kMaxWaitingItems; });
    auto item = std::make_unique<Item>();
    item->mark = std::move(mark);
    items_.push_back(std::move(item));
    PutDoneInPlace();
}

std::uint8_t* OutputQueue::PictureBlock(std::uint32_t size)
{
    WaitWhile([&] {
        return waitingPictures_ >= kMaxWaitingPictures
            || (waitingPictures_ > 0 && waitingBytes_ + size > kMaxWaitingBytes) || waitingFiles_ >= kMaxWaitingFiles
            || items_.size() >= kMaxWaitingItems;
    });
    if (nextBlock_ == nullptr) {
        if (spareBlocks_.empty()) {
            nextBlock_ = std::make_unique<ScratchBuffer>();
        } else {
            nextBlock_ = std::move(spareBlocks_.back());
            spareBlocks_.pop_back();
        }
    }
    std::uint8_t* rows = nextBlock_->EnsureCapacity(size, false);
    if (rows == nullptr) throw FatalError::OutOfMemory();
    nextRows_ = rows;
    nextSize_ = size;
    return rows;
}

void OutputQueue::AddPicture(PictureWrite write, Failure failure)
{
    if (runner_ == nullptr) {
        Add(write(nextRows_), failure);
        return;
    }
    auto item = std::make_unique<Item>();
    item->queue = this;
    item->failure = failure;
    item->write = std::move(write);
    item->rows = nextRows_;
    item->block = std::move(nextBlock_);
    item->size = nextSize_;
    item->done = false;
    Item& picture = *item;
    items_.push_back(std::move(item));
    ++waitingFiles_;
    ++waitingPictures_;
    waitingBytes_ += picture.size;
    try {
        runner_->Submit(picture);
    } catch (const std::bad_alloc&) {
        picture.Run();  // no room to hand it over: written here instead
    }
    PutDoneInPlace();
}

void OutputQueue::Flush()
{
    while (!items_.empty()) WaitForFront();
}

void OutputQueue::Discard() noexcept
{
    {
        std::lock_guard lock(mutex_);
        discarding_ = true;
    }
    for (const std::unique_ptr<Item>& item : items_) WaitUntilWritten(*item);
    items_.clear();
    waitingFiles_ = 0;
    waitingPictures_ = 0;
    waitingBytes_ = 0;
    std::lock_guard lock(mutex_);
    discarding_ = false;
}

bool OutputQueue::IsWritten(const Item& item)
{
    std::lock_guard lock(mutex_);
    return item.done;
}

void OutputQueue::WaitUntilWritten(const Item& item)
{
    while (!IsWritten(item)) {
        if (runner_ != nullptr && runner_->RunOne()) continue;
        // Every task submitted has started: the item's own is under way elsewhere.
        std::unique_lock lock(mutex_);
        written_.wait(lock, [&] { return item.done; });
    }
}

void OutputQueue::PutDoneInPlace()
{
    while (!items_.empty() && IsWritten(*items_.front())) PutFrontInPlace();
}

void OutputQueue::WaitForFront()
{
    WaitUntilWritten(*items_.front());
    PutFrontInPlace();
}

void OutputQueue::PutFrontInPlace()
{
    const std::unique_ptr<Item> item = std::move(items_.front());
    items_.pop_front();
    if (item->block != nullptr) {
        --waitingPictures_;
        waitingBytes_ -= item->size;
        // A block above the waiting bound is let go: kept, every spare block could grow
        // to the largest picture.
        if (item->block->capacity() > kMaxWaitingBytes) item->block->EnsureCapacity(0, false);
        spareBlocks_.push_back(std::move(item->block));
    }
    if (item->mark) {
        item->mark();
        return;
    }
    --waitingFiles_;
    // Nothing after a failure is put in place, as nothing after it would have been written.
    if (item->error) {
        Discard();
        throw *item->error;
    }
    if (!item->file->Commit()) {
        Discard();
        throw item->failure(item->file->path());
    }
}

}  // namespace orv
