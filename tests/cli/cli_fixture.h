#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "pack_writer.h"
#include "process.h"
#include "temp_dir.h"

inline const std::string kFinished = "変換終了しました。\n";
inline const std::string kCancelled = "変換中止しました。\n";

// orvconv-cli run as a real process: inputs written to a fresh "in" folder, output
// folders made in a fresh "root" folder.
class CliTest : public ::testing::Test {
protected:
    CliTest()
    {
        std::filesystem::create_directory(root());
        std::filesystem::create_directory(in());
    }

    std::filesystem::path root() const { return dir.path() / "root"; }
    std::filesystem::path in() const { return dir.path() / "in"; }

    std::string Input(const std::string& name, const orv::tools::Bytes& bytes) const
    {
        const std::string path = (in() / name).string();
        EXPECT_TRUE(orv::tools::WriteFileBytes(path, bytes));
        return path;
    }

    Process Start(std::vector<std::string> args, std::optional<rlim_t> fileSizeLimit = {},
                  const std::string& program = ORVCONV_CLI_PATH) const
    {
        return Process(program, args, dir.path(), fileSizeLimit);
    }

    Process::Result Run(std::vector<std::string> args, std::optional<rlim_t> fileSizeLimit = {}) const
    {
        return Start(std::move(args), fileSizeLimit).Wait();
    }

    // Converts into root() and returns the result.
    Process::Result Convert(std::vector<std::string> args) const
    {
        args.insert(args.begin(), {"-o", root().string()});
        return Run(std::move(args));
    }

    TempDir dir;
};

// Two raw entries, one with a CP932 name, and an animation with nothing to draw.
inline orv::tools::Bytes Sample()
{
    using orv::tools::BytesOf;
    return orv::tools::BuildPack({{"readme.txt", BytesOf("hello")},
                                  {"\x83\x5e\x83\x43\x83\x67\x83\x8b.txt", BytesOf("title")},
                                  {"walk.ani", orv::tools::Bytes{4, 0, 0, 0}}});
}

