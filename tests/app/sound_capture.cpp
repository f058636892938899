#include "sound_capture.h"

#include <cstdlib>

#include "tools/pack_writer.h"

namespace {

std::filesystem::path captured;

}  // namespace

void CaptureSoundInto(const std::filesystem::path& folder)
{
    captured = folder / "played.raw";
    const std::filesystem::path config = folder / "asound.conf";
    orv::tools::WriteFileBytes(config.string(),
                               orv::tools::BytesOf("pcm.!default { type file; slave.pcm { type null }; file \""
                                                   + captured.string() + "\"; format \"raw\" }\n"));
    ::setenv("ALSA_CONFIG_PATH", config.c_str(), 1);
}

const std::filesystem::path& CapturedSoundFile()
{
    return captured;
}
