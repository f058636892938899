#include "pack/plan/parallel_build.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <optional>
#include <thread>

#include "pack/plan/entry_builder.h"

namespace orv::pack {

std::vector<PlannedEntry> BuildEntries(const std::vector<Source>& sources, const std::vector<std::string>& names,
                                       bool quantize, const SettingsFile* settings,
                                       const std::function<void(const std::string&)>& note, const PackStop& stop,
                                       unsigned threads)
{
    const std::size_t count = sources.size();
    std::vector<std::optional<PlannedEntry>> built(count);
    std::vector<std::vector<std::string>> notes(count);
    std::vector<std::exception_ptr> failures(count);
    std::atomic<std::size_t> next{0};
    // Entries after a failure are not needed; those before it still run, so that the
    // first failure in order is the one reported.
    std::atomic<std::size_t> firstFailure{count};
    const auto work = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            if (i > firstFailure.load()) continue;
            try {
                StopIfAsked(stop);
                EntryBuilder builder(
                    quantize, [&notes, i](const std::string& text) { notes[i].push_back(text); }, settings);
                built[i] = builder.Build(sources[i], names[i], {}, stop);
            } catch (...) {
                failures[i] = std::current_exception();
                std::size_t first = firstFailure.load();
                while (i < first && !firstFailure.compare_exchange_weak(first, i)) { }
            }
        }
    };
    const std::size_t helpers
        = std::min<std::size_t>(threads, count) > 1 ? std::min<std::size_t>(threads, count) - 1 : 0;
    std::vector<std::thread> pool;
    pool.reserve(helpers);
    for (std::size_t t = 0; t < helpers; ++t) pool.emplace_back(work);
    work();
    for (std::thread& thread : pool) thread.join();

    std::vector<PlannedEntry> entries;
    entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        for (const std::string& text : notes[i]) note(text);
        if (failures[i]) std::rethrow_exception(failures[i]);
        if (built[i]) entries.push_back(std::move(*built[i]));
    }
    return entries;
}

}  // namespace orv::pack
