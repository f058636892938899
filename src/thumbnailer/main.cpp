// orvconv-thumbnailer -s SIZE INPUT OUTPUT: the file manager's thumbnail of an archive
// (its first picture) or an animation file (its first frame), as a PNG at most SIZE
// pixels on its longer side.
#include <sys/time.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "engine/base/executable_path.h"
#include "engine/base/fatal_error.h"
#include "engine/base/text.h"
#include "engine/format/bmp_layout.h"
#include "engine/output/output_file.h"
#include "engine/output/output_folder.h"
#include "engine/output/png_writer.h"
#include "thumbnail/first_picture.h"
#include "thumbnail/scale_to_fit.h"
#include "ui_text/help_formatter.h"

namespace {

constexpr int kExitNoThumbnail = 1;
constexpr int kExitUsage = 2;
// Whatever the file, no thumbnail is worth more of the desktop's time than this.
constexpr int kTimeLimitSeconds = 1;

// Set once the finished thumbnail is being put in place: from then on the run ends with
// it, so that no status 1 ever leaves a PNG behind.
volatile std::sig_atomic_t committing = 0;
// /proc/self/fd/N of the thumbnail being written, for the watchdog to remove a file kept
// under a hidden name where the file system has no unnamed files.
char writing[32] = {};

void TimeUp(int /*signal*/)
{
    if (committing != 0) return;
    if (writing[0] != '\0') {
        char named[4096];
        const ssize_t length = ::readlink(writing, named, sizeof named - 1);
        if (length > 0) {
            named[length] = '\0';
            const char* slash = std::strrchr(named, '/');
            if (slash != nullptr && orv::IsTemporaryOutputName(slash + 1)) ::unlink(named);
        }
    }
    static constexpr char kTimeUp[] = "orvconv-thumbnailer: no thumbnail within a second\n";
    [[maybe_unused]] const ssize_t told = ::write(STDERR_FILENO, kTimeUp, sizeof kTimeUp - 1);
    _exit(kExitNoThumbnail);
}

void LimitTime()
{
    std::signal(SIGALRM, TimeUp);
    itimerval limit{};
    limit.it_value.tv_sec = kTimeLimitSeconds;
    setitimer(ITIMER_REAL, &limit, nullptr);
}

int Fail(const std::string& why)
{
    std::fprintf(stderr, "orvconv-thumbnailer: %s\n", why.c_str());
    return kExitNoThumbnail;
}

// A pack archive by its content, whatever its name (the desktop types it so); else an
// animation file by its name.
orv::InputKind KindOf(const std::string& path)
{
    char magic[4] = {};
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        const std::size_t got = std::fread(magic, 1, sizeof magic, file);
        std::fclose(file);
        if (got == sizeof magic && std::string_view(magic, sizeof magic) == "pack") return orv::InputKind::Archive;
    }
    return orv::InputKindOf(orv::AsciiLower(orv::FileNamePart(path))) == orv::InputKind::Animation
        ? orv::InputKind::Animation
        : orv::InputKind::Unsupported;
}

// The picture as a PNG file at path, put in place only when whole and within the time;
// false when it cannot be written.
bool WritePng(const orv::RgbImage& picture, const std::string& path)
{
    const std::uint64_t stride = orv::BmpStride(picture.width, 24);
    std::vector<std::uint8_t> rows(stride * picture.height);
    for (std::uint32_t y = 0; y < picture.height; ++y) {
        std::uint8_t* row = rows.data() + (picture.height - 1 - y) * stride;
        const std::uint8_t* source = picture.rgb.data() + std::size_t{y} * picture.width * 3;
        for (std::size_t x = 0; x < picture.width; ++x) {
            row[x * 3] = source[x * 3 + 2];
            row[x * 3 + 1] = source[x * 3 + 1];
            row[x * 3 + 2] = source[x * 3];
        }
    }
    std::uint8_t header[orv::kBitmapInfoHeaderBytes];
    orv::FillBmpInfoHeader(header, static_cast<std::int32_t>(picture.width), static_cast<std::int32_t>(picture.height),
                           24);
    orv::OutputFolder folder;
    folder.Open(orv::FolderOf(path));
    orv::OutputFile out(folder.descriptor(), std::string(orv::FileNamePart(path)), path);
    if (!out.created()) return false;
    std::snprintf(writing, sizeof writing, "/proc/self/fd/%d", out.descriptor());
    const bool encoded = orv::SaveDibAsPng(out, header, rows.data()) == orv::kPngWritten;
    if (encoded) committing = 1;
    const bool written = encoded && out.Commit();
    writing[0] = '\0';
    return written;
}

int Run(int argc, char** argv)
{
    std::uint32_t size = 0;
    std::string input;
    std::string output;
    CLI::App app{"Writes the thumbnail of an ORVENDA 3.2 pack archive (its first picture) or animation file (its "
                 "first frame) as a PNG, for file managers.",
                 "orvconv-thumbnailer"};
    app.footer("Pictures are those conversion writes, scaled down to fit; pictures of more than 32 million pixels "
               "and entries of more than 128 MiB give no thumbnail, and no thumbnail takes more than a second.\n\n"
               "Exit status:\n"
               "  0    the thumbnail was written\n"
               "  1    no thumbnail (the reason on stderr)\n"
               "  2    a usage error");
    app.formatter(std::make_shared<orv::HelpFormatter>());
    app.set_version_flag("-V,--version", "orvconv-thumbnailer " ORVCONV_VERSION);
    app.add_option("-s,--size", size, "the longest side of the thumbnail in pixels")
        ->required()
        ->check(CLI::Range(1, 4096))
        ->option_text("SIZE");
    app.add_option("INPUT", input, "the archive (.dat) or animation file (.ani)")->required();
    app.add_option("OUTPUT", output, "the PNG file to write")->required();
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return 0;
    } catch (const CLI::CallForVersion&) {
        std::cout << "orvconv-thumbnailer " ORVCONV_VERSION "\n";
        return 0;
    } catch (const CLI::ParseError& e) {
        std::cerr << "orvconv-thumbnailer: " << e.what()
                  << "\nusage: orvconv-thumbnailer -s SIZE INPUT OUTPUT   (orvconv-thumbnailer --help for more)\n";
        return kExitUsage;
    }

    try {
        const orv::InputKind kind = KindOf(input);
        if (kind == orv::InputKind::Unsupported) return Fail(input + ": not a pack archive or an animation file");
        auto opened = std::make_shared<orv::Input>();
        if (opened->Open(input, kind) != orv::Input::Opened::Yes) return Fail(input + ": cannot be opened");
        opened->SetLimits(orv::kThumbnailLimits);
        orv::Reader reader(opened);
        const std::optional<orv::RgbImage> picture = orv::FirstPicture(reader);
        if (!picture) return Fail(input + ": no picture to show");
        if (picture->width == 0 || picture->height == 0)
            return Fail(input + ": its first picture is empty (" + std::to_string(picture->width) + " x "
                        + std::to_string(picture->height) + " pixels)");
        if (!WritePng(orv::ScaleToFit(*picture, size), output)) return Fail(output + ": cannot be written");
    } catch (const orv::FatalError& error) {
        return Fail(error.detailed());
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    LimitTime();
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "orvconv-thumbnailer: %s\n", orv::FatalError::OutOfMemory().what());
        return kExitNoThumbnail;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvconv-thumbnailer: %s\n", error.what());
        return kExitNoThumbnail;
    }
}
