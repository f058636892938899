#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <unistd.h>

#include "engine/base/executable_path.h"
#include "engine/format/bmp_layout.h"
#include "engine/format/little_endian.h"
#include "engine/output/image_writers.h"
#include "engine/output/png_writer.h"
#include "engine/output/output_file.h"
#include "engine/output/output_folder.h"
#include "engine/base/text.h"

namespace orv {

namespace {

// A "wb" stream of its own on the output file's descriptor; none, with the result to
// return, when it cannot be had.
std::FILE* CreatePngStream(const OutputFile& out, int& failure)
{
    failure = kPngNotCreated;
    if (!out.created()) return nullptr;
    const int fd = ::dup(out.descriptor());
    if (fd < 0) {
        if (errno == EMFILE || errno == ENFILE) failure = kPngNoDescriptor;
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "wb");
    if (file == nullptr) {
        failure = kPngOutOfMemory;
        ::close(fd);
    }
    return file;
}

// libpng's errors end the encoding silently (the caller shows one message of its own);
// allocations that failed are told apart by libpng's texts for them.
[[noreturn]] void OnPngError(png_structp png, png_const_charp message)
{
    auto* outOfMemory = static_cast<bool*>(png_get_error_ptr(png));
    if (outOfMemory != nullptr && std::strstr(message, "memory") != nullptr) *outOfMemory = true;
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) { }

}  // namespace

int SaveDibAsPng(const char* path, const std::uint8_t* block, const std::uint8_t* pixels)
{
    OutputFolder folder;
    folder.Open(FolderOf(path));
    OutputFile out(folder.descriptor(), std::string(FileNamePart(path)), path);
    const int result = SaveDibAsPng(out, block, pixels);
    if (result == kPngWritten && !out.Commit()) return kPngLibraryFailed;
    return result;
}

// Kept free of objects with destructors: libpng reports errors by longjmp.
int SaveDibAsPng(const OutputFile& out, const std::uint8_t* block, const std::uint8_t* pixels)
{
    const std::uint32_t width = ReadLe32(block + kInfoWidthAt);
    const auto height = static_cast<std::int32_t>(ReadLe32(block + kInfoHeightAt));
    const int bitCount = ReadLe16(block + kInfoBitCountAt);
    const std::uint32_t compression = ReadLe32(block + kInfoCompressionAt);
    const std::uint32_t coloursUsed = ReadLe32(block + kInfoColoursUsedAt);
    if ((bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) || compression != 0)
        return kPngCannotEncode;

    int failure = kPngNotCreated;
    std::FILE* file = CreatePngStream(out, failure);
    if (file == nullptr) return failure;

    bool outOfMemory = false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &outOfMemory, OnPngError, OnPngWarning);
    if (png == nullptr) {
        std::fclose(file);
        return kPngOutOfMemory;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        std::fclose(file);
        png_destroy_write_struct(&png, nullptr);
        return kPngOutOfMemory;
    }
    png_colorp volatile palette = nullptr;
    if (setjmp(png_jmpbuf(png))) {
        std::fclose(file);
        png_free(png, palette);  // an error may strike after the palette was made
        png_destroy_write_struct(&png, &info);
        return outOfMemory ? kPngOutOfMemory : kPngLibraryFailed;
    }

    png_init_io(png, file);
    png_set_compression_level(png, kPngCompressionLevel);
    png_set_filter(png, 0, PNG_FILTER_NONE);
    const int colourType = bitCount <= 8 ? PNG_COLOR_TYPE_PALETTE
        : bitCount == 32                 ? PNG_COLOR_TYPE_RGB_ALPHA
                                         : PNG_COLOR_TYPE_RGB;
    const int bitDepth = bitCount <= 8 ? bitCount : 8;
    const std::uint32_t rows = static_cast<std::uint32_t>(height < 0 ? -std::int64_t{height} : height);
    png_set_IHDR(png, info, width, rows, bitDepth, colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    const std::size_t rowBytes = BmpStride(width, static_cast<std::uint32_t>(bitCount));

    if (bitCount <= 8) {
        const std::uint32_t n = 1u << bitCount;
        // More colours than the palette has room for are cut to its size.
        const std::uint32_t filled = coloursUsed == 0 || coloursUsed > n ? n : coloursUsed;
        palette = static_cast<png_colorp>(png_malloc(png, png_alloc_size_t{3} * n));
        const std::uint8_t* table = block + kBitmapInfoHeaderBytes;
        for (std::uint32_t i = 0; i < n; ++i) {
            const bool used = i < filled;
            palette[i].red = used ? table[4 * i + 2] : 0;
            palette[i].green = used ? table[4 * i + 1] : 0;
            palette[i].blue = used ? table[std::size_t{4} * i] : 0;
        }
        png_set_PLTE(png, info, palette, static_cast<int>(n));
    }
    png_write_info(png, info);
    if (colourType != PNG_COLOR_TYPE_PALETTE) png_set_bgr(png);

    for (std::uint32_t r = 0; r < rows; ++r) {
        png_bytep row = const_cast<png_bytep>(pixels + (rows - 1 - r) * rowBytes);
        png_write_rows(png, &row, 1);
    }
    png_write_end(png, info);
    png_free(png, palette);
    png_destroy_write_struct(&png, &info);
    // Buffered bytes reach the disk only here; losing them is a failed write.
    return std::fclose(file) == 0 ? kPngWritten : kPngLibraryFailed;
}

}  // namespace orv
