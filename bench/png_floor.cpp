// The floor for PNG output: encodes the pixels of every 24-bit BMP file under a folder
// with libpng alone, at the settings the converter uses (compression level 8, no row
// filter, RGB), on one core. The end-to-end benchmark compares the converter with it.
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "engine/output/png_writer.h"

namespace fs = std::filesystem;

namespace {

std::uint32_t Le32(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return std::uint32_t{bytes[at]} | std::uint32_t{bytes[at + 1]} << 8 | std::uint32_t{bytes[at + 2]} << 16
        | std::uint32_t{bytes[at + 3]} << 24;
}

// The whole file in one read, into a buffer that is reused from file to file.
bool ReadFile(const fs::path& path, std::vector<std::uint8_t>& bytes)
{
    std::error_code error;
    const auto size = fs::file_size(path, error);
    if (error) return false;
    bytes.resize(size);
    std::ifstream in(path, std::ios::binary);
    return static_cast<bool>(in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)));
}

// Bottom-up rows of blue, green, red, each padded to a multiple of 4 bytes, as PNG.
bool WritePng(const fs::path& path, const std::uint8_t* pixels, std::uint32_t width, std::uint32_t height)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png == nullptr ? nullptr : png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        std::fclose(file);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_compression_level(png, orv::kPngCompressionLevel);
    png_set_filter(png, 0, PNG_FILTER_NONE);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    const std::size_t stride = (std::size_t{width} * 3 + 3) / 4 * 4;
    for (std::uint32_t r = 0; r < height; ++r) {
        png_bytep row = const_cast<png_bytep>(pixels + (height - 1 - r) * stride);
        png_write_rows(png, &row, 1);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: png_floor BMP_FOLDER OUTPUT_FOLDER\n");
        return 2;
    }
    const fs::path source = argv[1], target = argv[2];
    std::vector<std::uint8_t> bytes;
    for (const fs::directory_entry& item : fs::recursive_directory_iterator(source)) {
        if (!item.is_regular_file() || item.path().extension() != ".bmp") continue;
        if (!ReadFile(item.path(), bytes) || bytes.size() < 54) return 1;
        const std::uint32_t offset = Le32(bytes, 10), width = Le32(bytes, 18), height = Le32(bytes, 22);
        const std::size_t stride = (std::size_t{width} * 3 + 3) / 4 * 4;
        if (bytes[28] != 24 || offset + stride * height > bytes.size()) return 1;
        fs::path out = target / fs::relative(item.path(), source);
        out.replace_extension(".png");
        fs::create_directories(out.parent_path());
        if (!WritePng(out, bytes.data() + offset, width, height)) {
            std::fprintf(stderr, "png_floor: cannot write %s\n", out.c_str());
            return 1;
        }
    }
    return 0;
}
