#include "cli/output_conflicts.h"

#include <filesystem>
#include <system_error>
#include <unordered_map>

#include "engine/read/archive.h"
#include "engine/convert/converter.h"
#include "engine/base/text.h"

namespace orv::cli {

namespace {

namespace fs = std::filesystem;

// The path with symbolic links resolved as far as it exists, so that two spellings of
// one folder compare equal.
std::string Resolved(const fs::path& path)
{
    std::error_code error;
    fs::path resolved = fs::weakly_canonical(path, error);
    if (error) resolved = fs::absolute(path, error).lexically_normal();
    return resolved.string();
}

}  // namespace

std::vector<std::vector<std::size_t>> EarlierConflicts(const std::vector<std::string>& files, const std::string& exeDir)
{
    std::vector<std::vector<std::size_t>> earlier(files.size());
    std::unordered_map<std::string, std::size_t> lastWriter;  // by output folder
    std::unordered_map<std::string, std::vector<std::size_t>> readersSince;  // by folder holding them
    for (std::size_t k = 0; k < files.size(); ++k) {
        const std::string srcName = AsciiLower(FileNamePart(files[k]));
        if (InputKindOf(srcName) == InputKind::Unsupported) continue;
        const std::string folder = Resolved(exeDir + OutputFolderName(srcName));
        const std::string home = fs::path(Resolved(files[k])).parent_path().string();

        if (const auto writer = lastWriter.find(folder); writer != lastWriter.end())
            earlier[k].push_back(writer->second);
        if (const auto writer = lastWriter.find(home); writer != lastWriter.end()) earlier[k].push_back(writer->second);
        // Readers before the last writer of this folder are covered by waiting for it.
        std::vector<std::size_t>& readers = readersSince[folder];
        earlier[k].insert(earlier[k].end(), readers.begin(), readers.end());
        readers.clear();

        lastWriter[folder] = k;
        readersSince[home].push_back(k);
    }
    return earlier;
}

}  // namespace orv::cli
