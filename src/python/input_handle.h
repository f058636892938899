#pragma once

#include <pybind11/pybind11.h>

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/base/fatal_error.h"
#include "engine/read/reader.h"
#include "python/errors.h"
#include "python/interrupt.h"
#include "settings/settings_file.h"

namespace orv::python {

// An opened input, shared by its orv.Input object and its entries: one reader, which
// serves one thread at a time, closed when asked or when the last of them goes.
class InputHandle {
public:
    // The input at path (bytes; given as the caller named it), by its name's extension or
    // taken for kind; raises OSError with given as its filename, or orv.NotAnInputError,
    // when it cannot be read as one.
    InputHandle(const std::string& path, std::optional<InputKind> kind, const pybind11::object& given);
    // The input a binary file object holds (anything with seek, tell and read), named name
    // as a file would be (an animation file's name is its entry's).
    InputHandle(const pybind11::object& file, const std::string& name, InputKind kind);
    InputHandle(const InputHandle&) = delete;
    InputHandle& operator=(const InputHandle&) = delete;
    // ResourceWarning when the last of its objects goes while it is open, as for a file.
    ~InputHandle();

    // work(reader) with the interpreter free for other threads; ValueError once closed.
    template <typename Work> auto With(Work&& work)
    {
        const pybind11::gil_scoped_release free;
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!reader_) ThrowClosed();
        return work(*reader_);
    }

    // work(reader) on entry index, as With does; what the engine gives up on is raised as
    // one line naming the input and the entry (see Raising).
    template <typename Work>
    auto Read(std::size_t index, Work&& work, std::uint64_t limit = 0, const std::string& reason = {})
    {
        return Raising(
            index, [&] { return With(std::forward<Work>(work)); }, limit, reason);
    }
    // work() on entry index, for work that needs no reader: Ctrl-C, and a KeyboardInterrupt
    // out of a file object's read, are raised in place of what the work gave. With a
    // limit, memory the engine refuses is orv.LimitError of it; reason says why the engine
    // gives up, where the caller knows beforehand.
    template <typename Work>
    auto Raising(std::size_t index, Work&& work, std::uint64_t limit = 0, const std::string& reason = {})
    {
        try {
            auto result = work();
            interrupt_->Raise();
            return result;
        } catch (const FatalError& fatal) {
            interrupt_->Raise();
            if (limit != 0 && IsOutOfMemory(fatal)) ThrowLimit(path_, entries_[index].shown, 0, limit);
            ThrowEntryError(path_, entries_[index].shown, fatal, reason);
        }
    }
    // work(reader) as With does while the input is open; nothing once it is closed.
    template <typename Work> void IfOpen(Work&& work)
    {
        const pybind11::gil_scoped_release free;
        const std::lock_guard<std::mutex> lock(mutex_);
        if (reader_) work(*reader_);
    }
    // What work hands the engine as its stop callback, and what a signal raised meanwhile.
    ReaderStop Stop() { return interrupt_->Stop(); }
    void RaiseInterrupt() { interrupt_->Raise(); }

    // The entries as read when the input was opened, usable after closing too.
    const std::vector<InputEntry>& entries() const { return entries_; }
    // The path as bytes (os.fsencode), or the name a file object was given.
    const std::string& path() const { return path_; }
    const ReadLimits& limits() const { return limits_; }
    InputKind kind() const { return kind_; }
    bool closed() const { return !reader_; }
    void Close();

    // The index of the first entry of that stored name (bytes) or shown name (UTF-8).
    std::optional<std::size_t> FindStored(const std::string& name);
    std::optional<std::size_t> FindShown(const std::string& name);

private:
    // Opens the input with open(input), the interpreter free meanwhile, and raises what
    // keeps it from being read.
    template <typename Open> void OpenWith(Open open, const pybind11::object& given);
    [[noreturn]] static void ThrowClosed();

    std::mutex mutex_;
    std::shared_ptr<Interrupt> interrupt_ = std::make_shared<Interrupt>();
    std::unique_ptr<Reader> reader_;
    std::string path_;
    InputKind kind_;
    ReadLimits limits_;
    std::vector<InputEntry> entries_;
    std::unordered_map<std::string, std::size_t> stored_;
    std::unordered_map<std::string, std::size_t> shown_;
};

}  // namespace orv::python
