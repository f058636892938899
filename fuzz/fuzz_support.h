#pragma once

// Pieces shared by the fuzz targets: a scratch folder, input splitting and checks that
// end the run loudly. Checks trap instead of returning, so that both libFuzzer and the
// replay program report them as crashes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace orv::fuzz {

// Ends the run when a property of the code under test does not hold.
inline void Require(bool holds)
{
    if (!holds) __builtin_trap();
}

inline const std::filesystem::path& ScratchDir();

inline void RemoveScratchDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(ScratchDir(), ignored);
}

// A folder of this process's own, made on first use and removed when the process exits
// normally (libFuzzer ends some runs without that; TMPDIR keeps those in one place).
inline const std::filesystem::path& ScratchDir()
{
    static const std::filesystem::path dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvconv-fuzz-XXXXXX").string();
        const char* made = ::mkdtemp(pattern.data());
        Require(made != nullptr);
        return std::filesystem::path(made);
    }();
    // Registered once the folder's name exists, so it runs before that name is destroyed.
    static const bool removedAtExit = std::atexit(RemoveScratchDir) == 0;
    Require(removedAtExit);
    return dir;
}

inline std::string ReadFile(const std::filesystem::path& path)
{
    std::string bytes(std::filesystem::file_size(path), '\0');
    std::ifstream file(path, std::ios::binary);
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    Require(static_cast<bool>(file));
    return bytes;
}

inline std::uint32_t Le32At(std::string_view bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;) value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

// The fatal texts the fuzzed routines may end with.
inline constexpr std::string_view kMemoryError = "メモリ確保できません！\n終了します。";
inline std::string PngError(const std::string& path)
{
    return "PNG出力エラー！\n" + path + "\n終了します。";
}

// The part of a picture header that sizes its canvas; missing bytes read as zero.
struct PictureSize {
    std::uint8_t type = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

inline PictureSize PictureSizeOf(std::string_view picture)
{
    std::uint8_t head[5] = {};
    std::copy_n(picture.begin(), std::min<std::size_t>(picture.size(), sizeof head), head);
    return {head[0], std::uint32_t{head[1]} | std::uint32_t{head[2]} << 8,
            std::uint32_t{head[3]} | std::uint32_t{head[4]} << 8};
}

// "_0001"-style frame suffix of output names: none for a negative number.
inline std::string FrameSuffix(int frameNo)
{
    if (frameNo < 0) return {};
    std::string digits = std::to_string(frameNo);
    if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
    return "_" + digits;
}

// A 24-bit bitmap file of width x height pixels: its headers say so and its length is
// that of the headers and the rows, each padded to a multiple of four bytes.
inline void RequireBmp(const std::filesystem::path& path, std::uint32_t width, std::uint32_t height)
{
    std::ifstream file(path, std::ios::binary);
    std::string headers(54, '\0');
    file.read(headers.data(), static_cast<std::streamsize>(headers.size()));
    Require(static_cast<bool>(file));
    const std::uint64_t length = std::filesystem::file_size(path);
    const std::uint64_t stride = (std::uint64_t{width} * 3 + 3) / 4 * 4;
    Require(length == 54 + stride * height);
    Require(headers.compare(0, 2, "BM") == 0 && Le32At(headers, 2) == length && Le32At(headers, 10) == 54);
    Require(Le32At(headers, 18) == width && Le32At(headers, 22) == height);
    Require(static_cast<std::uint8_t>(headers[28]) == 24);
}

inline void WriteFile(const std::filesystem::path& path, std::string_view bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    Require(static_cast<bool>(file));
}

// Fuzz input taken apart front to back; whatever runs out reads as zero or empty.
class InputReader {
public:
    InputReader(const std::uint8_t* data, std::size_t size) : rest_(reinterpret_cast<const char*>(data), size) { }

    std::uint8_t Byte()
    {
        if (rest_.empty()) return 0;
        const auto byte = static_cast<std::uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return byte;
    }

    std::uint16_t Le16()
    {
        const std::uint8_t low = Byte();
        return static_cast<std::uint16_t>(low | Byte() << 8);
    }

    // A piece whose length, a little-endian 16-bit number, comes first.
    std::string_view Piece()
    {
        const std::size_t length = std::min<std::size_t>(Le16(), rest_.size());
        const std::string_view piece = rest_.substr(0, length);
        rest_.remove_prefix(length);
        return piece;
    }

    std::string_view Rest()
    {
        const std::string_view rest = rest_;
        rest_ = {};
        return rest;
    }

    bool empty() const { return rest_.empty(); }

private:
    std::string_view rest_;
};

}  // namespace orv::fuzz
