#include "pack/original/base_archive.h"

#include <algorithm>
#include <cstdio>

#include "engine/base/fatal_error.h"
#include "engine/base/scratch_buffer.h"
#include "engine/read/canvas.h"
#include "engine/format/wave_header.h"
#include "engine/output/output_names.h"
#include "engine/base/text.h"
#include "pack/files/file_bytes.h"
#include "pack/files/pack_error.h"
#include "pack/files/picture_file.h"

namespace orv::pack {

namespace {

// Pixels of the reader (red, green, blue) as a picture file holds them (blue, green, red).
std::shared_ptr<const Picture> PictureOf(std::uint32_t width, std::uint32_t height, const std::uint8_t* bgr)
{
    auto picture = std::make_shared<Picture>();
    picture->width = static_cast<std::uint16_t>(width);
    picture->height = static_cast<std::uint16_t>(height);
    picture->bgr.assign(bgr, bgr + std::size_t{width} * height * 3);
    return picture;
}

std::shared_ptr<const Input> OpenBase(const std::string& readPath, const std::string& shownPath, InputKind kind)
{
    const std::string shown = EscapeControlBytes(shownPath);
    auto input = std::make_shared<Input>();
    try {
        switch (input->Open(readPath, kind)) {
        case Input::Opened::CannotOpen: throw PackError(shown + ": cannot be opened");
        case Input::Opened::NotAnInput: throw PackError(shown + ": not a pack archive");
        case Input::Opened::Yes: break;
        }
    } catch (const FatalError& error) {
        throw PackError(shown + ": " + error.what());
    }
    return input;
}

std::string Numbered(std::string_view stem, std::uint32_t number)
{
    return std::string(stem) + FrameSuffix(static_cast<std::int32_t>(number));
}

}  // namespace

BaseArchive::BaseArchive(const std::string& path) : BaseArchive(path, path, InputKindOf(AsciiLower(FileNamePart(path))))
{ }

BaseArchive::BaseArchive(const std::string& readPath, const std::string& shownPath, InputKind kind) :
    path_(shownPath), input_(OpenBase(readPath, shownPath, kind)), reader_(input_)
{
    for (const InputEntry& entry : reader_.entries()) entries_.push_back({entry.Record(), entry.shown, entry.kind});
}

std::uint32_t BaseArchive::FrameCount(std::size_t i)
{
    try {
        return reader_.Details(i).frames;
    } catch (const FatalError& error) {
        throw PackError(EscapeControlBytes(path_) + ": " + error.what());
    }
}

Bytes BaseArchive::Head(std::size_t i, std::uint32_t n)
{
    try {
        return reader_.Head(i, n);
    } catch (const FatalError& error) {
        throw PackError(EscapeControlBytes(path_) + ": " + error.what());
    }
}

std::vector<RenderedFile> BaseArchive::FramesWithoutSettings(std::size_t i, OutputMode mode)
{
    if (!plain_) plain_ = std::make_unique<Reader>(input_);
    std::vector<RenderedFile> files;
    try {
        RenderAnimation(*plain_, i, mode, files);
    } catch (const FatalError&) {
        files.clear();
    }
    return files;
}

std::vector<RenderedFile> BaseArchive::Outputs(std::size_t i, OutputMode mode)
{
    const BaseEntry& entry = entries_[i];
    const std::string_view stem = WithoutExtension(entry.shown);
    std::vector<RenderedFile> files;
    try {
        switch (entry.kind) {
        case EntryKind::Picture: {
            RenderedPicture rendered = reader_.Picture(i);
            if (rendered.action == PictureAction::Drawn) {
                RgbImage& image = rendered.image;
                SwapRedAndBlue(image.rgb.data(), std::size_t{image.width} * image.height);
                // The rendered pixels become the picture: a picture's worth held once, not twice.
                auto pixels = std::make_shared<Picture>();
                pixels->width = static_cast<std::uint16_t>(image.width);
                pixels->height = static_cast<std::uint16_t>(image.height);
                pixels->bgr = std::move(image.rgb);
                const std::string_view ending = PictureEnding(mode == AllPng, image.width, image.height);
                files.push_back({std::string(stem) + std::string(ending), std::move(pixels), {}, 0, 0});
            } else if (rendered.action == PictureAction::Raw) {
                files.push_back({entry.shown, nullptr, {}, entry.record.offset, entry.record.size});
            }
            break;
        }
        case EntryKind::Animation: RenderAnimation(reader_, i, mode, files); break;
        case EntryKind::Sound: {
            const RenderedSound sound = reader_.Sound(i);
            Bytes header(kWaveHeaderBytes);
            FillWaveHeader(header.data(), sound.format, static_cast<std::uint32_t>(sound.samples.size()));
            files.push_back({std::string(stem) + ".wav", nullptr, header, entry.record.offset + kSoundHeaderBytes,
                             sound.samples.size()});
            break;
        }
        case EntryKind::Other:
            files.push_back({entry.shown, nullptr, {}, entry.record.offset, entry.record.size});
            break;
        }
    } catch (const FatalError&) {
        files.clear();
    }
    return files;
}

std::vector<std::string> BaseArchive::OutputNames(std::size_t i, OutputMode mode)
{
    const BaseEntry& entry = entries_[i];
    if (entry.kind != EntryKind::Picture) {
        std::vector<std::string> names;
        for (const RenderedFile& file : Outputs(i, mode)) names.push_back(file.name);
        return names;
    }
    try {
        const PictureHeader header = reader_.Details(i).picture;
        switch (ActionOf(header)) {
        case PictureAction::Skipped: return {};
        case PictureAction::Raw: return {entry.shown};
        case PictureAction::Drawn:
            // A canvas beyond a block's limit is the memory error, which writes nothing.
            if (CanvasUseOf(header, -1, false).bytes > kMaxScratchBytes) return {};
            return {std::string(WithoutExtension(entry.shown))
                    + std::string(PictureEnding(mode == AllPng, header.width, header.height))};
        }
    } catch (const FatalError&) { }
    return {};
}

void BaseArchive::RenderAnimation(Reader& reader, std::size_t i, OutputMode mode, std::vector<RenderedFile>& files)
{
    const BaseEntry& entry = entries_[i];
    reader.Frames(i, [&](const FrameView& frame) {
        if (frame.action == PictureAction::Drawn) {
            const std::string_view ending = PictureEnding(mode == AllPng, frame.width, frame.height);
            files.push_back({Numbered(WithoutExtension(entry.shown), frame.number) + std::string(ending),
                             PictureOf(frame.width, frame.height, frame.bgr),
                             {},
                             0,
                             0});
        } else {
            files.push_back(
                {Numbered(entry.shown, frame.number), nullptr, Bytes(frame.bytes, frame.bytes + frame.size), 0, 0});
        }
    });
}

bool SameDrawing(const std::vector<RenderedFile>& a, const std::vector<RenderedFile>& b)
{
    const auto same = [](const RenderedFile& x, const RenderedFile& y) {
        if (x.name != y.name || x.head != y.head || !x.picture != !y.picture) return false;
        return !x.picture
            || (x.picture->width == y.picture->width && x.picture->height == y.picture->height
                && x.picture->bgr == y.picture->bgr);
    };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), same);
}

bool SameAsRendered(const std::string& path, const std::string& shown, const RenderedFile& rendered,
                    const std::string& basePath)
{
    if (!rendered.picture) return SameAsRange(path, basePath, rendered.offset, rendered.size, rendered.head);
    try {
        const Picture file = ReadPictureFile(path, shown);
        return file.width == rendered.picture->width && file.height == rendered.picture->height
            && file.bgr == rendered.picture->bgr;
    } catch (const PackError&) {
        return false;
    }
}

}  // namespace orv::pack
