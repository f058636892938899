#pragma once

#include <filesystem>

// Makes the sound system's default device a file, for a test to see what was played.
// Call before any thread starts: it sets the environment.
void CaptureSoundInto(const std::filesystem::path& folder);

// The file that CaptureSoundInto chose for this run.
const std::filesystem::path& CapturedSoundFile();
