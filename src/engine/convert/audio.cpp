#include <algorithm>

#include "engine/convert/converter.h"
#include "engine/base/fatal_error.h"
#include "engine/format/sound_format.h"
#include "engine/format/wave_header.h"
#include "engine/io/input_file.h"

namespace orv {

void Converter::WriteWaveFromMemory(const std::uint8_t* data, const ArchiveEntry& entry)
{
    const std::string path = EntryOutputStem(entry) + ".wav";
    view_.ShowOutputPath(path);
    Claim(path, entry, -1);
    OutputFile out = CreateOutputFile(path);
    // An entry too short for its header has format code 0, an unknown one.
    const std::optional<SoundFormat> format = SoundFormatOf(entry.size >= kSoundHeaderBytes ? data[kSoundCodeAt] : 0);
    if (!format) throw FatalError::UnknownFormat(path);
    const std::uint32_t length = entry.size - kSoundHeaderBytes;
    std::uint8_t header[kWaveHeaderBytes];
    FillWaveHeader(header, *format, length);
    WriteOutput(out, header, sizeof header);
    WriteOutput(out, data + kSoundHeaderBytes, length);
    QueueOutput(std::move(out));
}

void Converter::WriteWaveStreamed(const InputFile& archive, const ArchiveEntry& entry)
{
    const std::string path = EntryOutputStem(entry) + ".wav";
    view_.ShowOutputPath(path);
    Claim(path, entry, -1);
    std::uint8_t* chunk = Obtain(dataBuf, kSoundStreamThreshold, true);
    std::uint32_t remaining = entry.size - kSoundHeaderBytes;
    std::uint64_t at = entry.offset;
    std::uint8_t soundHeader[kSoundHeaderBytes] = {};
    archive.ReadAt(at, soundHeader, sizeof soundHeader);
    at += kSoundHeaderBytes;
    const std::optional<SoundFormat> format = SoundFormatOf(soundHeader[kSoundCodeAt]);
    if (!format) throw FatalError::UnknownFormat(path);
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
