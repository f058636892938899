#pragma once

// orvpack and orvconv-cli run as real processes on files in a fresh folder.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "build_paths.h"
#include "process.h"
#include "temp_dir.h"
#include "pack/encode/cg_picture.h"
#include "tools/pack_writer.h"

class OrvpackTest : public ::testing::Test {
protected:
    static Process::Result RunProgram(const std::string& program, const std::vector<std::string>& args,
                                      const std::filesystem::path& captures)
    {
        Process process(program, args, captures);
        Process::Result result = process.Wait(std::chrono::seconds(120));
        EXPECT_FALSE(result.timedOut);
        return result;
    }

    Process::Result Pack(const std::vector<std::string>& args) const
    {
        return RunProgram(build_paths::kOrvpack, args, dir.path());
    }

    // orvconv-cli -o root args...: the folder it converts into. status: the exit status the
    // conversion must end with (5 for an archive whose records reach past its end).
    std::filesystem::path Convert(const std::string& archive, const std::string& root,
                                  std::vector<std::string> args = {}, int status = 0) const
    {
        args.insert(args.begin(), {"-q", "-o", (dir.path() / root).string()});
        args.push_back(archive);
        const Process::Result result = RunProgram(build_paths::kCli, args, dir.path());
        EXPECT_EQ(result.exitCode, status) << result.err;
        return dir.path() / root / std::filesystem::path(archive).stem();
    }

    std::string Write(const std::string& name, const orv::tools::Bytes& bytes) const
    {
        const std::string path = (dir.path() / name).string();
        EXPECT_TRUE(orv::tools::WriteFileBytes(path, bytes));
        return path;
    }

    // Every file under folder by its relative path, with its bytes.
    static std::map<std::string, std::vector<std::uint8_t>> Tree(const std::filesystem::path& folder)
    {
        std::map<std::string, std::vector<std::uint8_t>> tree;
        for (const auto& item : std::filesystem::recursive_directory_iterator(folder))
            tree[item.path().lexically_relative(folder).string()] = ReadAll(item.path());
        return tree;
    }

    TempDir dir;
};

// An archive's entries as its table gives them, read here on their own.
struct TableEntry {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

inline std::vector<TableEntry> EntriesOf(const std::vector<std::uint8_t>& archive)
{
    auto u32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(archive.at(at) | archive.at(at + 1) << 8 | archive.at(at + 2) << 16
                                          | static_cast<std::uint32_t>(archive.at(at + 3)) << 24);
    };
    std::vector<TableEntry> entries;
    const std::size_t count = archive.at(4) | archive.at(5) << 8;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t record = 6 + 24 * i;
        std::string name(reinterpret_cast<const char*>(&archive.at(record)), 16);
        name.resize(name.find('\0') == std::string::npos ? 16 : name.find('\0'));
        const std::uint32_t offset = u32(record + 16), size = u32(record + 20);
        entries.push_back({name, {archive.begin() + offset, archive.begin() + offset + size}});
    }
    return entries;
}

// The names of the files that differ between two trees, or that only one holds.
inline std::vector<std::string> Differing(const std::map<std::string, std::vector<std::uint8_t>>& a,
                                          const std::map<std::string, std::vector<std::uint8_t>>& b)
{
    std::vector<std::string> names;
    for (const auto& [name, bytes] : a) {
        if (!b.contains(name) || b.at(name) != bytes) names.push_back(name);
    }
    for (const auto& [name, bytes] : b) {
        if (!a.contains(name)) names.push_back(name);
    }
    return names;
}

// A 24-bit BMP of width x height whose pixel (x, y) has colour(x, y) as blue, green, red.
inline orv::tools::Bytes BmpFile(std::uint32_t width, std::uint32_t height,
                                 const std::function<std::uint32_t(int, int)>& colour)
{
    const std::uint32_t stride = (width * 3 + 3) / 4 * 4;
    orv::tools::Bytes file{'B', 'M'};
    orv::tools::AppendLe32(file, 54 + stride * height);
    orv::tools::AppendLe32(file, 0);
    orv::tools::AppendLe32(file, 54);
    orv::tools::AppendLe32(file, 40);
    orv::tools::AppendLe32(file, width);
    orv::tools::AppendLe32(file, height);
    orv::tools::AppendLe32(file, 1 | 24 << 16);
    for (int i = 0; i < 6; ++i) orv::tools::AppendLe32(file, 0);
    for (std::uint32_t row = 0; row < height; ++row) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint32_t bgr = colour(static_cast<int>(x), static_cast<int>(height - 1 - row));
            file.insert(file.end(),
                        {static_cast<std::uint8_t>(bgr), static_cast<std::uint8_t>(bgr >> 8),
                         static_cast<std::uint8_t>(bgr >> 16)});
        }
        file.resize(file.size() + stride - width * 3, 0);
    }
    return file;
}

// A picture entry of width x height drawing [left, right) x [top, bottom) (everything for
// type 0) in `colours` colours of its own, chosen by seed, along diagonal stripes: runs
// and literals both occur, and frames of other seeds share no colour with it.
inline orv::tools::Bytes StripedPicture(std::uint8_t type, std::uint16_t width, std::uint16_t height, int seed,
                                        std::array<std::uint16_t, 4> rect, int colours)
{
    orv::pack::CgPicture picture;
    picture.type = type;
    picture.width = width;
    picture.height = height;
    picture.left = rect[0];
    picture.top = rect[1];
    picture.right = rect[2];
    picture.bottom = rect[3];
    for (int k = 0; k < colours; ++k) {
        const auto at = static_cast<std::size_t>(k) * 3;
        picture.palette[at] = static_cast<std::uint8_t>(k * 2 + 1);
        picture.palette[at + 1] = static_cast<std::uint8_t>(seed * 50);
        picture.palette[at + 2] = static_cast<std::uint8_t>(255 - k);
    }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.pixels.push_back(static_cast<std::uint8_t>((x / 3 + y * 7) % colours));
    return orv::pack::EncodeCg(picture);
}
