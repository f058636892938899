#include "cli/listing.h"

#include <cinttypes>

#include "cli/input_messages.h"
#include "cli/past_end.h"
#include "engine/read/reader.h"
#include "engine/base/text.h"

namespace orv::cli {

namespace {

const char* KindWord(EntryKind kind)
{
    switch (kind) {
    case EntryKind::Sound: return "sound";
    case EntryKind::Animation: return "animation";
    case EntryKind::Image: return "image";
    case EntryKind::Other: break;
    }
    return "other";
}

void ListArchive(const Reader& reader, std::FILE* out)
{
    for (const InputEntry& entry : reader.entries()) {
        std::fprintf(out, "%" PRIu32 "\t%s\t%" PRIu32 "\t%" PRIu32 "\t%s%s\n", entry.index, entry.shown.c_str(),
                     entry.stored.offset, entry.stored.size, KindWord(entry.kind), entry.pastEnd ? "\tpast-end" : "");
    }
}

void ListAnimation(Reader& reader, std::FILE* out)
{
    const std::vector<std::uint32_t> offsets = reader.FrameOffsets(0);
    for (std::size_t k = 0; k < offsets.size(); ++k) std::fprintf(out, "%zu\t%" PRIu32 "\n", k + 1, offsets[k]);
}

}  // namespace

ListResult ListInputFile(const std::string& path, std::FILE* out, std::FILE* messages, Heading heading)
{
    auto input = std::make_shared<Input>();
    switch (input->Open(path)) {
    case Input::Opened::NotAnInput:
        std::fprintf(messages, "%s%s\n", kMessagePrefix, PassedOverText(path, input->passedOver()).c_str());
        return ListResult::PassedOver;
    case Input::Opened::CannotOpen:
        std::fprintf(messages, "%s%s\n", kMessagePrefix, NotOpenedText(path, input->openError()).c_str());
        return ListResult::NotOpened;
    case Input::Opened::Yes: break;
    }
    Reader reader(input);
    if (heading != Heading::None)
        std::fprintf(out, "%s==> %s <==\n", heading == Heading::Later ? "\n" : "", EscapeControlBytes(path).c_str());
    if (input->kind() == InputKind::Archive)
        ListArchive(reader, out);
    else
        ListAnimation(reader, out);
    if (!input->pastEnd()) return ListResult::Listed;
    std::fflush(out);
    std::fprintf(messages, "%s%s\n", kMessagePrefix, PastEndText(path).c_str());
    return ListResult::PastEnd;
}

}  // namespace orv::cli
