#include "cli/listing.h"

#include <cinttypes>

#include "cli/input_messages.h"
#include "cli/past_end.h"
#include "engine/read/reader.h"
#include "engine/base/text.h"

namespace orv::cli {

namespace {

void ListArchive(const Reader& reader, std::FILE* out)
{
    for (const ReaderEntry& entry : reader.entries()) {
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
    Reader reader;
    switch (reader.Open(path)) {
    case Reader::Opened::NotAnInput:
        std::fprintf(messages, "%s%s\n", kMessagePrefix, PassedOverText(path, reader.passedOver()).c_str());
        return ListResult::PassedOver;
    case Reader::Opened::CannotOpen:
        std::fprintf(messages, "%s%s\n", kMessagePrefix, NotOpenedText(path, reader.openError()).c_str());
        return ListResult::NotOpened;
    case Reader::Opened::Yes: break;
    }
    if (heading != Heading::None)
        std::fprintf(out, "%s==> %s <==\n", heading == Heading::Later ? "\n" : "", EscapeControlBytes(path).c_str());
    if (reader.kind() == InputKind::Archive)
        ListArchive(reader, out);
    else
        ListAnimation(reader, out);
    if (!reader.pastEnd()) return ListResult::Listed;
    std::fflush(out);
    std::fprintf(messages, "%s%s\n", kMessagePrefix, PastEndText(path).c_str());
    return ListResult::PastEnd;
}

}  // namespace orv::cli
