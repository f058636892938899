// PNG files, read through libpng.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>

#include "engine/base/scratch_buffer.h"
#include "pack/files/pack_error.h"
#include "pack/files/picture_file.h"
#include "pack/files/picture_limits.h"

namespace orv::pack {

namespace {

struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The read structures, destroyed however reading ends.
struct PngReader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngReader() { png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr); }
};

// libpng's messages stay out of the terminal: the error says which file failed.
void StopReading(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) { }

// One row of RGBA pixels into row y of the picture; PackError for a transparent pixel.
void TakeRow(const png_byte* rgba, std::uint32_t y, Picture& picture, const std::string& shown)
{
    std::uint8_t* bgr = picture.bgr.data() + std::size_t{y} * picture.width * 3;
    for (std::size_t x = 0; x < picture.width; ++x) {
        if (rgba[x * 4 + 3] != 0xFF) throw PackError(shown + ": transparent pixels, which a picture cannot hold");
        bgr[x * 3] = rgba[x * 4 + 2];
        bgr[x * 3 + 1] = rgba[x * 4 + 1];
        bgr[x * 3 + 2] = rgba[x * 4];
    }
}

// Reads the image as RGBA of 8 bits into the picture; false when libpng stops with an
// error. The size is checked against a picture's limits before anything of that size is
// held: rows are read one at a time, but an interlaced image, whose passes come back to
// every row, is read whole, and then it and the picture together stay within a picture
// block. Everything with a destructor belongs to the caller, as libpng leaves by longjmp.
bool ReadRgba(PngReader& reader, std::FILE* file, const std::string& shown, Picture& picture,
              std::vector<png_byte>& rgba, std::vector<png_bytep>& rows)
{
    png_structp png = reader.png;
    png_infop info = reader.info;
    if (setjmp(png_jmpbuf(png))) return false;  // NOLINT(cert-err52-cpp): libpng reports errors by longjmp
    png_init_io(png, file);
    png_read_info(png, info);
    const std::uint64_t width = png_get_image_width(png, info);
    const std::uint64_t height = png_get_image_height(png, info);
    const bool interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
    if (interlaced && width * height * 7 > kMaxScratchBytes)
        throw PackError(shown + ": an interlaced picture of " + std::to_string(width) + " x " + std::to_string(height)
                        + " pixels would take more than " + std::to_string(kMaxScratchBytes >> 20) + " MiB to read");
    picture = BlankPicture(width, height, shown);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const std::size_t rowBytes = std::size_t{picture.width} * 4;
    if (!interlaced) {
        rgba.resize(rowBytes);
        for (std::uint32_t y = 0; y < picture.height; ++y) {
            png_read_row(png, rgba.data(), nullptr);
            TakeRow(rgba.data(), y, picture, shown);
        }
        return true;
    }
    rgba.resize(rowBytes * picture.height);
    rows.resize(picture.height);
    for (std::size_t y = 0; y < rows.size(); ++y) rows[y] = rgba.data() + y * rowBytes;
    png_read_image(png, rows.data());
    for (std::uint32_t y = 0; y < picture.height; ++y) TakeRow(rows[y], y, picture, shown);
    return true;
}

}  // namespace

Picture ReadPngFile(const std::string& path, const std::string& shown)
{
    const std::unique_ptr<std::FILE, FileClose> file(std::fopen(path.c_str(), "rb"));
    if (!file) throw PackError(shown + ": cannot be opened");
    PngReader reader;
    reader.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, StopReading, IgnoreWarning);
    if (reader.png == nullptr) throw std::bad_alloc();
    reader.info = png_create_info_struct(reader.png);
    if (reader.info == nullptr) throw std::bad_alloc();
    png_set_user_limits(reader.png, kMaxPictureSide + 1, kMaxPictureSide + 1);
    Picture picture;
    std::vector<png_byte> rgba;
    std::vector<png_bytep> rows;
    if (!ReadRgba(reader, file.get(), shown, picture, rgba, rows))
        throw PackError(shown + ": not a PNG file libpng can read");
    return picture;
}

Picture ReadPictureFile(const std::string& path, const std::string& shown)
{
    const bool png = path.size() >= 4 && path.compare(path.size() - 4, 4, ".png") == 0;
    return png ? ReadPngFile(path, shown) : ReadBmpFile(path, shown);
}

bool SamePixels(const std::string& a, const std::string& b)
{
    try {
        const Picture first = ReadPictureFile(a, a);
        const Picture second = ReadPictureFile(b, b);
        return first.width == second.width && first.height == second.height && first.bgr == second.bgr;
    } catch (const PackError&) {
        return false;
    }
}

}  // namespace orv::pack
