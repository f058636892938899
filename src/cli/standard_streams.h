#pragma once

namespace orv::cli {

// Opens /dev/null on each of descriptors 0, 1 and 2 that is not open, so that no file
// opened later takes one of those numbers and receives what is meant for the terminal.
// False when that cannot be done.
bool OpenMissingStandardStreams();

}  // namespace orv::cli
