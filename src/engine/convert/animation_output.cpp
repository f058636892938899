#include <utility>

#include "engine/convert/converter.h"
#include "engine/base/fatal_error.h"
#include "engine/export/gif_animation.h"
#include "engine/export/sprite_sheet.h"
#include "engine/export/webp_animation.h"

namespace orv {

void Converter::WriteComposedAnimation(const ArchiveEntry& entry)
{
    if (!composed_.Showable()) return;
    const std::string stem = EntryOutputStem(entry);
    // Stop is seen between frames while the file is encoded; the file is then dropped.
    const StopCheck stop = [this] { return StopRequested(); };
    switch (options.animation) {
    case AnimationOutput::Frames: break;
    case AnimationOutput::Webp: {
        const std::string path = stem + std::string(AnimationFileEnding(AnimationOutput::Webp));
        view_.ShowOutputPath(path);
        Claim(path, entry, -1);
        OutputFile out = CreateOutputFile(path);
        if (WriteWebpAnimation(composed_, options.frameMs, stop, out)) QueueOutput(std::move(out));
        break;
    }
    case AnimationOutput::Gif: {
        const std::string path = stem + std::string(AnimationFileEnding(AnimationOutput::Gif));
        view_.ShowOutputPath(path);
        Claim(path, entry, -1);
        OutputFile out = CreateOutputFile(path);
        const GifWritten written = WriteGifAnimation(composed_, options.frameMs, stop, out);
        if (!written.finished) break;
        QueueOutput(std::move(out));
        // Told once the file is in place, in its turn among the input's messages.
        if (written.reduced) outputs_.AddMark([this, path] { view_.ShowNote(ReducedColoursText(path)); });
        break;
    }
    case AnimationOutput::Sheet: {
        const std::uint32_t columns = SheetColumns(options.sheetColumns, composed_.frames().size());
        ScratchBuffer buffer;
        const std::optional<SpriteSheet> sheet = DrawSpriteSheet(composed_, columns, buffer, stop);
        if (!sheet) break;
        const std::string png = stem + std::string(AnimationFileEnding(AnimationOutput::Sheet));
        view_.ShowOutputPath(png);
        Claim(png, entry, -1);
        outputs_.Add(WritePng(sheet->rows, sheet->info, png, nullptr), &FatalError::PngFailed);
        const std::string jsonPath = stem + "_sheet.json";
        view_.ShowOutputPath(jsonPath);
        Claim(jsonPath, entry, -1);
        const std::string json = SpriteSheetJson(composed_, columns);
        OutputFile out = CreateOutputFile(jsonPath);
        WriteOutput(out, json.data(), static_cast<std::uint32_t>(json.size()));
        QueueOutput(std::move(out));
        break;
    }
    }
}

}  // namespace orv
