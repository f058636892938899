#pragma once

#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// A PNG file as an independent reader sees it: pixels through libpng's read API,
// chunk order and row filter bytes by parsing the file and inflating its data.
struct PngFile {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitDepth = 0;
    int colourType = 0;
    std::vector<std::vector<std::uint8_t>> rows;  // top row first, as stored (RGB, RGBA or indices)
    std::vector<png_color> palette;
    std::vector<std::string> chunks;  // chunk types in file order
    std::vector<std::uint8_t> filterTypes;  // one per row
    int zlibLevelBits = -1;  // FLEVEL of the zlib stream header
};

namespace png_reader_detail {

inline std::uint32_t Be32(const std::uint8_t* p)
{
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

inline bool ReadPixels(const std::filesystem::path& path, PngFile& png)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    png_structp read = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(read);
    if (setjmp(png_jmpbuf(read))) {
        png_destroy_read_struct(&read, &info, nullptr);
        std::fclose(file);
        return false;
    }
    png_init_io(read, file);
    png_read_png(read, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png.width = png_get_image_width(read, info);
    png.height = png_get_image_height(read, info);
    png.bitDepth = png_get_bit_depth(read, info);
    png.colourType = png_get_color_type(read, info);
    const std::size_t rowBytes = png_get_rowbytes(read, info);
    png_bytepp rows = png_get_rows(read, info);
    for (std::uint32_t r = 0; r < png.height; ++r) png.rows.emplace_back(rows[r], rows[r] + rowBytes);
    png_colorp palette = nullptr;
    int entries = 0;
    if (png_get_PLTE(read, info, &palette, &entries) != 0) png.palette.assign(palette, palette + entries);
    png_destroy_read_struct(&read, &info, nullptr);
    std::fclose(file);
    return true;
}

}  // namespace png_reader_detail

inline std::optional<PngFile> ReadPngFile(const std::filesystem::path& path)
{
    using namespace png_reader_detail;
    PngFile png;
    if (!ReadPixels(path, png)) return std::nullopt;

    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::vector<std::uint8_t> bytes;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) bytes.push_back(static_cast<std::uint8_t>(c));
    std::fclose(file);

    std::vector<std::uint8_t> compressed;
    for (std::size_t at = 8; at + 12 <= bytes.size();) {
        const std::uint32_t length = Be32(&bytes[at]);
        const std::string type(reinterpret_cast<const char*>(&bytes[at + 4]), 4);
        png.chunks.push_back(type);
        if (type == "IDAT") compressed.insert(compressed.end(), &bytes[at + 8], &bytes[at + 8] + length);
        at += 12 + length;
    }
    if (compressed.size() >= 2) png.zlibLevelBits = compressed[1] >> 6;

    const std::size_t rowBytes = png.rows.empty() ? 0 : png.rows[0].size();
    std::vector<std::uint8_t> raw(png.height * (1 + rowBytes));
    uLongf rawSize = raw.size();
    if (uncompress(raw.data(), &rawSize, compressed.data(), compressed.size()) != Z_OK) return std::nullopt;
    for (std::uint32_t r = 0; r < png.height; ++r) png.filterTypes.push_back(raw[r * (1 + rowBytes)]);
    return png;
}
