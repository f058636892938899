#include "pack/base_archive.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "engine/converter.h"
#include "engine/fatal_error.h"
#include "engine/scratch_buffer.h"
#include "engine/text.h"
#include "pack/archive_layout.h"
#include "pack/pack_error.h"

namespace orv::pack {

namespace {

constexpr std::uint32_t kCopyBytes = 1u << 20;

}  // namespace

BaseArchive::BaseArchive(const std::string& path) : path_(path)
{
    const std::string shown = EscapeControlBytes(path);
    if (!file_.Open(path)) throw PackError(shown + ": cannot be opened");
    try {
        const std::optional<std::uint32_t> count = ReadArchiveHeader(file_);
        if (!count) throw PackError(shown + ": not a pack archive");
        ScratchBuffer table;
        const std::uint8_t* records = ReadArchiveTable(file_, table, *count);
        for (std::uint32_t i = 0; i < *count; ++i) {
            const ArchiveEntry record = EntryWithinFile(records + std::size_t{i} * kArchiveEntryBytes, file_.size());
            entries_.push_back({record, Cp932ToUtf8(record.Name())});
        }
    } catch (const FatalError& error) {
        throw PackError(shown + ": " + error.what());
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "orvpack-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw PackError("no temporary folder can be made for " + shown);
    scratch_ = pattern;
}

BaseArchive::~BaseArchive()
{
    std::error_code ignored;
    std::filesystem::remove_all(scratch_, ignored);
}

const std::map<std::string, std::string>& BaseArchive::Outputs(std::size_t i, OutputMode mode)
{
    const auto key = std::make_pair(i, mode);
    auto found = rendered_.find(key);
    if (found == rendered_.end()) found = rendered_.emplace(key, Render(i, mode)).first;
    return found->second;
}

std::vector<std::uint8_t> BaseArchive::Head(std::size_t i, std::size_t n)
{
    const ArchiveEntry& record = entries_[i].record;
    std::vector<std::uint8_t> head(std::min<std::size_t>(n, record.size));
    try {
        file_.ReadAt(record.offset, head.data(), static_cast<std::uint32_t>(head.size()));
    } catch (const FatalError& error) {
        throw PackError(EscapeControlBytes(path_) + ": " + error.what());
    }
    return head;
}

// The entry alone in an archive of its own, converted as orvconv-cli converts archives.
std::map<std::string, std::string> BaseArchive::Render(std::size_t i, OutputMode mode)
{
    const ArchiveEntry& record = entries_[i].record;
    const std::string stem = std::to_string(i) + (mode == AllPng ? "p" : "b");
    const std::string single = scratch_ + "/" + stem + ".dat";
    {
        Bytes head = PackHeader(1);
        AppendRecord(head, record.Name(), kArchiveHeaderBytes + kArchiveEntryBytes, record.size);
        std::ofstream out(single, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(head.data()), static_cast<std::streamsize>(head.size()));
        Bytes buffer(kCopyBytes);
        for (std::uint64_t at = 0; at < record.size; at += kCopyBytes) {
            const auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(kCopyBytes, record.size - at));
            try {
                file_.ReadAt(record.offset + at, buffer.data(), n);
            } catch (const FatalError& error) {
                throw PackError(EscapeControlBytes(path_) + ": " + error.what());
            }
            out.write(reinterpret_cast<const char*>(buffer.data()), n);
        }
        out.close();
        if (!out) throw PackError("the temporary folder " + scratch_ + " cannot be written");
    }

    SilentStatusView view;
    Converter converter(view);
    converter.options.exeDir = scratch_ + "/";
    converter.options.outputMode = mode;
    converter.srcPath = single;
    std::map<std::string, std::string> outputs;
    bool converted = true;
    try {
        converter.ConvertInputFile();
    } catch (const FatalError&) {
        converted = false;
    }
    std::filesystem::remove(single);
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(scratch_ + "/" + stem, error)) {
        if (converted) outputs.emplace(item.path().filename().string(), item.path().string());
    }
    return outputs;
}

}  // namespace orv::pack
