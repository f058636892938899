#include "pack/files/wave_file.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "engine/io/file_handle.h"
#include "engine/format/little_endian.h"
#include "engine/format/sound_format.h"
#include "engine/format/wave_header.h"
#include "pack/files/pack_error.h"

namespace orv::pack {

namespace {

constexpr std::uint16_t kExtensibleTag = 0xFFFE;
constexpr std::uint32_t kExtensibleFmtBytes = 26;  // up to the sub-format's tag

}  // namespace

WaveSamples ReadWaveFile(const std::string& path, const std::string& shown)
{
    const auto fail = [&](const std::string& why) { return PackError(shown + ": " + why); };
    FileHandle file;
    if (!file.Open(path)) throw fail("cannot be opened");
    const std::uint64_t size = file.Size();
    std::uint8_t riff[12] = {};
    if (size < sizeof riff || !file.ReadAt(0, riff, sizeof riff) || std::memcmp(riff, "RIFF", 4) != 0
        || std::memcmp(riff + 8, "WAVE", 4) != 0)
        throw fail("not a WAV file");

    std::uint8_t format[kExtensibleFmtBytes] = {};
    bool haveFormat = false;
    std::optional<WaveSamples> samples;
    for (std::uint64_t at = sizeof riff; at + 8 <= size && !(haveFormat && samples);) {
        std::uint8_t chunk[8];
        if (!file.ReadAt(at, chunk, sizeof chunk)) throw fail("cannot be read");
        const std::uint32_t length = ReadLe32(chunk + 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            const std::uint32_t n = std::min<std::uint32_t>(length, sizeof format);
            if (length < kFmtBodyBytes || at + 8 + n > size || !file.ReadAt(at + 8, format, n))
                throw fail("a WAV format chunk cut short");
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (length > size - at - 8) throw fail("a WAV data chunk cut short");
            samples = WaveSamples{0, at + 8, length};
        }
        at += 8 + std::uint64_t{length} + (length & 1);
    }
    if (!haveFormat || !samples) throw fail("a WAV file without its format or data chunk");

    const std::uint16_t tag = ReadLe16(format + kFmtTagAt);
    const bool pcm = tag == kPcmTag || (tag == kExtensibleTag && ReadLe16(format + 24) == kPcmTag);
    const std::uint16_t channels = ReadLe16(format + kFmtChannelsAt);
    const std::uint32_t rate = ReadLe32(format + kFmtRateAt);
    const std::uint16_t bits = ReadLe16(format + kFmtBitsAt);
    const std::optional<std::uint8_t> code = SoundCodeOf(channels, rate);
    if (!pcm || bits != kSoundSampleBits || !code)
        throw fail(std::to_string(channels) + " channel(s) at " + std::to_string(rate) + " Hz, " + std::to_string(bits)
                   + " bits" + (pcm ? "" : ", not PCM")
                   + "; a sound entry holds 16-bit PCM, mono at 22050 Hz or stereo at 22050 or 44100 Hz");
    samples->code = *code;
    return *samples;
}

}  // namespace orv::pack
