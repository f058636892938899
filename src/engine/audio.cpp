#include <algorithm>

#include "engine/format/little_endian.h"
#include "engine/converter.h"
#include "engine/fatal_error.h"
#include "engine/sound_format.h"
#include "engine/input_file.h"

namespace orv {

namespace {

constexpr std::uint32_t kWaveHeaderBytes = 44;

struct WaveFormat {
    std::uint16_t channels;
    std::uint32_t sampleRate;
    std::uint16_t blockAlign;
};

// The format code is the entry header's fourth byte; null for an unknown code.
const WaveFormat* WaveFormatFor(std::uint8_t code)
{
    static constexpr WaveFormat kMono22k{1, 22050, 2};
    static constexpr WaveFormat kStereo22k{2, 22050, 4};
    static constexpr WaveFormat kStereo44k{2, 44100, 4};
    switch (code) {
    case kSoundMono22050: return &kMono22k;
    case kSoundStereo22050: return &kStereo22k;
    case kSoundStereo44100: return &kStereo44k;
    default: return nullptr;
    }
}

// A RIFF WAVE header for 16-bit PCM samples of dataLength bytes.
void FillWaveHeader(std::uint8_t* header, const WaveFormat& format, std::uint32_t dataLength)
{
    std::copy_n("RIFF", 4, header);
    PutLe32(header + 4, dataLength + 36);
    std::copy_n("WAVEfmt ", 8, header + 8);
    PutLe32(header + 16, 16);
    PutLe16(header + 20, 1);
    PutLe16(header + 22, format.channels);
    PutLe32(header + 24, format.sampleRate);
    PutLe32(header + 28, std::uint32_t{format.blockAlign} * format.sampleRate);
    PutLe16(header + 32, format.blockAlign);
    PutLe16(header + 34, 16);
    std::copy_n("data", 4, header + 36);
    PutLe32(header + 40, dataLength);
}

}  // namespace

void Converter::WriteWaveFromMemory(const std::uint8_t* data, const ArchiveEntry& entry)
{
    const std::string path = EntryOutputStem(entry) + ".wav";
    view_.ShowOutputPath(path);
    OutputFile out = CreateOutputFile(path);
    // An entry too short for its header has format code 0, an unknown one.
    const WaveFormat* format = WaveFormatFor(entry.size >= kSoundHeaderBytes ? data[3] : 0);
    if (format == nullptr) throw FatalError::UnknownFormat(path);
    const std::uint32_t length = entry.size - kSoundHeaderBytes;
    std::uint8_t header[kWaveHeaderBytes];
    FillWaveHeader(header, *format, length);
    WriteOutput(out, header, sizeof header);
    WriteOutput(out, data + kSoundHeaderBytes, length);
    QueueOutput(std::move(out));
}

void Converter::WriteWaveStreamed(InputFile& archive, const ArchiveEntry& entry)
{
    const std::string path = EntryOutputStem(entry) + ".wav";
    view_.ShowOutputPath(path);
    std::uint8_t* chunk = Obtain(dataBuf, kSoundStreamThreshold, true);
    std::uint32_t remaining = entry.size - kSoundHeaderBytes;
    std::uint64_t at = entry.offset;
    std::uint8_t soundHeader[kSoundHeaderBytes] = {};
    archive.ReadAt(at, soundHeader, sizeof soundHeader);
    at += kSoundHeaderBytes;
    const WaveFormat* format = WaveFormatFor(soundHeader[3]);
    if (format == nullptr) throw FatalError::UnknownFormat(path);
    std::uint8_t header[kWaveHeaderBytes];
    FillWaveHeader(header, *format, remaining);

    OutputFile out = CreateOutputFile(path);
    WriteOutput(out, header, sizeof header);
    while (remaining > 0) {
        const std::uint32_t step = std::min(remaining, kSoundStreamThreshold);
        archive.ReadAt(at, chunk, step);
        WriteOutput(out, chunk, step);
        at += step;
        remaining -= step;
    }
    QueueOutput(std::move(out));
}

}  // namespace orv
