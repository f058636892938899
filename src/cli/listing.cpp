#include "cli/listing.h"

#include <cinttypes>

#include "cli/message_prefix.h"
#include "engine/read/input_messages.h"
#include "engine/read/reader.h"
#include "engine/base/text.h"

namespace orv::cli {

namespace {

// The engine's name of the kind, but for pictures: --list has always called them "image",
// and scripts split its lines.
const char* ListedKind(EntryKind kind)
{
    return kind == EntryKind::Picture ? "image" : EntryKindName(kind);
}

void ListArchive(const Reader& reader, std::FILE* out)
{
    for (const InputEntry& entry : reader.entries()) {
        std::fprintf(out, "%" PRIu32 "\t%s\t%" PRIu32 "\t%" PRIu32 "\t%s%s\n", entry.index, entry.shown.c_str(),
                     entry.stored.offset, entry.stored.size, ListedKind(entry.kind), entry.pastEnd ? "\tpast-end" : "");
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
