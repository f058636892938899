#pragma once

// orvconv-cli run as a real process, for the CLI and fault tests alike: inputs written to a
// fresh in/ folder, output folders made in a fresh root/ folder, and every run bounded in
// time and memory, so that a hang or a huge allocation fails the test instead of stalling
// or swapping the machine.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "build_paths.h"
#include "tools/pack_writer.h"
#include "process.h"
#include "sanitized.h"
#include "temp_dir.h"

inline const std::string kFinished = "変換終了しました。\n";
inline const std::string kCancelled = "変換中止しました。\n";

// orvconv-cli's lines on stderr, each led by its name. A failure names the path, then the
// system's reason (strerror) where it has one.
inline std::string CliError(const char* what, const std::string& path, int error = 0)
{
    return std::string("orvconv-cli: ") + what + "\n" + path + (error ? std::string(": ") + std::strerror(error) : "")
        + "\n終了します。\n";
}
inline std::string NotOpenedLine(const std::string& path, int error)
{
    return "orvconv-cli: ファイルを開けません！\n" + path + ": " + std::strerror(error) + "\n";
}
inline const std::string kNotAnInputName = "not a .dat or .ani file";
inline const std::string kNotAPackArchive = "not a pack archive (it does not start with \"pack\")";
inline const std::string kAFolder = "a folder";
inline std::string PassedOverLine(const std::string& path, const std::string& reason)
{
    return "orvconv-cli: " + path + ": passed over: " + reason + "\n";
}

// Time any single run may take, sanitizers included.
inline constexpr std::chrono::seconds kRunLimit{60};

// Memory allowed to a run: far below what any claimed size would need. It bounds the
// address space; under the sanitizer, which reserves terabytes of it, each allocation.
inline constexpr rlim_t kMemoryLimit = rlim_t{512} << 20;

inline void LimitMemory(rlim_t bytes)
{
    if (kSanitized) {
        const std::string options = "allocator_may_return_null=1:max_allocation_size_mb=" + std::to_string(bytes >> 20);
        ::setenv("ASAN_OPTIONS", options.c_str(), 1);
    } else {
        const rlimit space{bytes, bytes};
        ::setrlimit(RLIMIT_AS, &space);
    }
}

// What a run may use: file size (none: unlimited), a setup in the child, memory.
struct Limits {
    std::optional<rlim_t> fileSize;
    Process::ChildSetup setup;
    rlim_t memory = kMemoryLimit;
};

class CliProcessTest : public ::testing::Test {
protected:
    CliProcessTest()
    {
        std::filesystem::create_directory(root());
        std::filesystem::create_directory(in());
    }

    std::filesystem::path root() const { return dir.path() / "root"; }
    std::filesystem::path in() const { return dir.path() / "in"; }
    std::filesystem::path captures() const { return dir.path() / "captures"; }
    std::string Out(const std::string& folder, const std::string& name) const
    {
        return (root() / folder).string() + "/" + name;
    }

    std::string Input(const std::string& name, const orv::tools::Bytes& bytes) const
    {
        const std::string path = (in() / name).string();
        EXPECT_TRUE(orv::tools::WriteFileBytes(path, bytes)) << path;
        return path;
    }

    // Starts orvconv-cli -o root() args... within the limits. Runs at the same time
    // need a capture folder each (under captures()) for their stdout and stderr.
    Process Start(std::vector<std::string> args, const Limits& limits = {},
                  const std::filesystem::path& captureDir = {}) const
    {
        args.insert(args.begin(), {"-o", root().string()});
        return Launch(args, limits, captureDir.empty() ? dir.path() : captureDir);
    }

    // Its result, once it has ended; killed if it outlives kRunLimit.
    static Process::Result Finish(Process& process)
    {
        Process::Result result = process.Wait(kRunLimit);
        EXPECT_FALSE(result.timedOut) << "still running after " << kRunLimit.count() << " s";
        return result;
    }

    Process::Result Convert(std::vector<std::string> args, const Limits& limits = {}) const
    {
        Process process = Start(std::move(args), limits);
        return Finish(process);
    }

    // orvconv-cli args... as given, without -o, within the limits, started in the test's
    // folder, so that what it writes into the current folder stays there.
    Process::Result Run(const std::vector<std::string>& args, const Limits& limits = {}) const
    {
        Process process = Launch(args, limits, dir.path(), dir.path());
        return Finish(process);
    }

    // Everything under the test's folder but the inputs, the captured outputs and the
    // given output folders with their files.
    std::vector<std::string> WrittenOutside(const std::vector<std::string>& folders) const
    {
        std::vector<std::string> stray;
        for (const auto& item : std::filesystem::recursive_directory_iterator(dir.path())) {
            const auto relative = item.path().lexically_relative(dir.path());
            const auto top = *relative.begin();
            if (top == "in" || top == "captures" || top == "stdout.txt" || top == "stderr.txt" || relative == "root")
                continue;
            const bool inFolder = top == "root" && std::distance(relative.begin(), relative.end()) >= 2
                && std::find(folders.begin(), folders.end(), std::next(relative.begin())->string()) != folders.end();
            if (!inFolder) stray.push_back(relative.string());
        }
        return stray;
    }

    TempDir dir;

private:
    // workDir: the folder the run starts in; none: the test's own current folder.
    static Process Launch(const std::vector<std::string>& args, const Limits& limits,
                          const std::filesystem::path& captureDir, const std::filesystem::path& workDir = {})
    {
        const Process::ChildSetup setup = [&limits, &workDir] {
            if (!workDir.empty() && ::chdir(workDir.c_str()) != 0) return 126;
            LimitMemory(limits.memory);
            return limits.setup ? limits.setup() : 0;
        };
        return Process(build_paths::kCli, args, captureDir, limits.fileSize, setup);
    }
};
