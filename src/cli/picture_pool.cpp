#include "cli/picture_pool.h"

namespace orv::cli {

void PicturePool::Submit(Task& task)
{
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(&task);
    }
    changed_.notify_one();
}

bool PicturePool::RunOne()
{
    Task* task = nullptr;
    {
        std::lock_guard lock(mutex_);
        if (tasks_.empty()) return false;
        task = tasks_.front();
        tasks_.pop_front();
    }
    task->Run();
    return true;
}

void PicturePool::ConverterStarted()
{
    std::lock_guard lock(mutex_);
    ++converters_;
}

void PicturePool::ConverterEnded()
{
    {
        std::lock_guard lock(mutex_);
        --converters_;
    }
    changed_.notify_all();
}

void PicturePool::Serve()
{
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return !tasks_.empty() || converters_ == 0; });
            if (tasks_.empty()) return;
        }
        RunOne();
    }
}

}  // namespace orv::cli
