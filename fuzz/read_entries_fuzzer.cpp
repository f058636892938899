// Arbitrary bytes as an input file, each entry read through a reader in entry order
// (as conversion draws them) and then through a second reader in an order the input
// picks: every entry must read the same both ways, the same pixels, frames, bytes or
// error, whatever the canvas block held before it.
//
// Input: a control byte (bit 0: an animation file instead of a pack archive), a
// settings file (a piece with its 16-bit length first), then the entry order as 16-bit
// indices (a piece), then the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/base/fatal_error.h"
#include "engine/read/reader.h"
#include "fuzz_support.h"
#include "settings/settings_file.h"

namespace {

// Everything a read of entry i gives, as bytes to compare.
std::string ReadOf(orv::Reader& reader, std::size_t i)
{
    std::string read;
    const auto add = [&](const void* data, std::size_t n) { read.append(static_cast<const char*>(data), n); };
    const auto addNumber = [&](std::uint32_t value) { add(&value, sizeof value); };
    try {
        switch (reader.entries()[i].kind) {
        case orv::EntryKind::Picture: {
            const orv::RenderedPicture picture = reader.Picture(i);
            addNumber(static_cast<std::uint32_t>(picture.action));
            addNumber(picture.image.width);
            addNumber(picture.image.height);
            add(picture.image.rgb.data(), picture.image.rgb.size());
            add(picture.bytes.data(), picture.bytes.size());
            break;
        }
        case orv::EntryKind::Animation:
            for (const orv::RenderedFrame& frame : reader.Animation(i)) {
                addNumber(frame.number);
                addNumber(frame.image.width);
                addNumber(frame.image.height);
                add(frame.image.rgb.data(), frame.image.rgb.size());
                add(frame.bytes.data(), frame.bytes.size());
            }
            break;
        case orv::EntryKind::Sound: {
            const orv::RenderedSound sound = reader.Sound(i);
            addNumber(sound.format.channels);
            addNumber(sound.format.rate);
            add(sound.samples.data(), sound.samples.size());
            break;
        }
        case orv::EntryKind::Other: {
            const std::vector<std::uint8_t> bytes = reader.Bytes(i);
            add(bytes.data(), bytes.size());
            break;
        }
        }
    } catch (const orv::FatalError& error) {
        read = std::string("error: ") + error.what();
    }
    return read;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    orv::fuzz::InputReader input(data, size);
    const std::uint8_t control = input.Byte();
    const std::shared_ptr<const orv::SettingsFile> settings = orv::SettingsFile::FromBytes(std::string(input.Piece()));
    const std::string_view order = input.Piece();
    const std::filesystem::path path = orv::fuzz::ScratchDir() / ((control & 1) != 0 ? "input.ani" : "input.dat");
    orv::fuzz::WriteFile(path, input.Rest());

    // Two readers of one opened input, as a viewer's list and previews have them.
    const std::shared_ptr<const orv::Input> opened = orv::OpenInput(path.string());
    if (!opened) return 0;
    orv::Reader inOrder(opened);
    orv::Reader anyOrder(opened);
    inOrder.SetSettings(settings);
    anyOrder.SetSettings(settings);
    const std::size_t count = inOrder.entries().size();
    orv::fuzz::Require(anyOrder.entries().size() == count);
    if (count == 0) return 0;

    std::vector<std::string> reads;
    for (std::size_t i = 0; i < count; ++i) reads.push_back(ReadOf(inOrder, i));
    for (std::size_t at = 0; at + 1 < order.size(); at += 2) {
        const std::size_t i
            = (static_cast<std::uint8_t>(order[at]) | static_cast<std::uint8_t>(order[at + 1]) << 8) % count;
        orv::fuzz::Require(ReadOf(anyOrder, i) == reads[i]);
    }
    return 0;
}
