#pragma once

// Runs of the real orvconv-cli against hostile inputs and a hostile file system.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/cg_encoder.h"
#include "cli_process_test.h"
#include "mounts.h"

namespace faults {

using orv::tools::Bytes;

inline std::string OpenError(const std::string& path, int error = 0)
{
    return CliError("ファイルオープンエラー！", path, error);
}
inline std::string WriteError(const std::string& path, int error = 0)
{
    return CliError("ファイル書き込みエラー！", path, error);
}
inline std::string PngError(const std::string& path)
{
    return CliError("PNG出力エラー！", path);
}
inline std::string UnknownFormat(const std::string& path)
{
    return CliError("未知の形式です！", path);
}
// The status and the line of an input whose table or entries reach past its end.
inline constexpr int kExitPastEnd = 5;
inline std::string PastEndLine(const std::string& path)
{
    return "orvconv-cli: " + path
        + ": the file is cut short: its table or entries reach past its end (read as zeros)\n";
}
inline const std::string kMemoryError = "orvconv-cli: メモリ確保できません！\n終了します。\n";

// A picture of one pixel, palette entry 1 (all zero, so black).
inline Bytes OnePixelPicture()
{
    orv::tools::CgPicture picture;
    picture.width = picture.height = picture.right = picture.bottom = 1;
    picture.pixels = {1};
    return orv::tools::EncodeCg(picture);
}

// The child starts with stdin, stdout and stderr closed, so that the first files it
// opens get descriptors 0, 1 and 2.
inline Process::ChildSetup ClosedStandardStreams()
{
    return [] {
        for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) ::close(fd);
        return 0;
    };
}

// The child's stdout on /dev/full, where every write fails with ENOSPC.
inline Process::ChildSetup StdoutOnFullDevice()
{
    return [] {
        const int fd = ::open("/dev/full", O_WRONLY);
        if (fd < 0 || ::dup2(fd, STDOUT_FILENO) < 0) return 126;
        ::close(fd);
        return 0;
    };
}

using FaultTest = CliProcessTest;

}  // namespace faults
