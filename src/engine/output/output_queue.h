#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/base/fatal_error.h"
#include "engine/output/output_file.h"
#include "engine/base/scratch_buffer.h"

namespace orv {

class TaskRunner;

// The files one input writes, put in place in the order its entries wrote them while the
// pictures among them are encoded on other threads. Whatever the threads do, the output
// folder passes through exactly the states that writing one file after another gives:
// the first failure in entry order is the one raised, and nothing written after it is
// put in place. Without a runner every file is put in place at once, on the calling
// thread. All members are called from one thread, the one that converts the input.
class OutputQueue {
public:
    // Raised when a finished file cannot be put in place, with its path.
    using Failure = FatalError (*)(const std::string& path);
    // A picture writer, run on any thread: the file written from the rows, not yet in place.
    using PictureWrite = std::function<OutputFile(const std::uint8_t* rows)>;

    // What may wait to be written or put in place, at most: pictures, by count and by
    // bytes unless a single picture is larger; files, pictures among them, each holding
    // a descriptor; and items, marks among them. This bounds a converter's memory and
    // descriptors whatever an archive holds.
    static constexpr std::size_t kMaxWaitingPictures = 3;
    static constexpr std::uint64_t kMaxWaitingBytes = std::uint64_t{48} << 20;
    static constexpr std::size_t kMaxWaitingFiles = 8;
    static constexpr std::size_t kMaxWaitingItems = 64;

    OutputQueue();
    ~OutputQueue();
    OutputQueue(const OutputQueue&) = delete;
    OutputQueue& operator=(const OutputQueue&) = delete;

    // Where pictures are written from now on; null writes them at once.
    void SetRunner(TaskRunner* runner) { runner_ = runner; }

    // Puts file in place once everything queued before it is.
    void Add(OutputFile file, Failure failure);
    // Calls mark once everything queued before it is in place.
    void AddMark(std::function<void()> mark);
    // A block of size bytes for the rows of the next picture; waits while too many
    // pictures are waiting. The memory FatalError when it cannot be obtained.
    std::uint8_t* PictureBlock(std::uint32_t size);
    // Writes the picture in the block PictureBlock gave last with write, then puts the
    // file in place as Add does.
    void AddPicture(PictureWrite write, Failure failure);
    // Puts everything queued in place, in order; raises the first failure.
    void Flush();
    // Throws away everything not yet in place, once no thread writes any of it.
    void Discard() noexcept;

private:
    struct Item;

    // Whether the item is ready to be put in place: always, but for a picture whose task
    // has not yet ended.
    bool IsWritten(const Item& item);
    // Waits for that, helping the runner meanwhile.
    void WaitUntilWritten(const Item& item);
    void PutDoneInPlace();
    // Waits for the first item to be written and puts it in place.
    void WaitForFront();
    // Puts items in place, waiting for each, while full() holds.
    template <typename Full> void WaitWhile(Full full)
    {
        while (!items_.empty() && full()) WaitForFront();
    }
    void PutFrontInPlace();

    TaskRunner* runner_ = nullptr;
    std::deque<std::unique_ptr<Item>> items_;
    std::size_t waitingFiles_ = 0;
    std::size_t waitingPictures_ = 0;
    std::uint64_t waitingBytes_ = 0;
    // The block PictureBlock gave last, and its rows.
    std::unique_ptr<ScratchBuffer> nextBlock_;
    std::uint8_t* nextRows_ = nullptr;
    std::uint32_t nextSize_ = 0;
    // Blocks of pictures put in place, for the pictures to come.
    std::vector<std::unique_ptr<ScratchBuffer>> spareBlocks_;

    // Guards what picture tasks report: Item::done, file and error, and discarding_.
    std::mutex mutex_;
    std::condition_variable written_;
    bool discarding_ = false;
};

}  // namespace orv
