#pragma once

#include <optional>
#include <string>

namespace orv {

// The whole content of the regular file at path; nullopt when there is nothing to read:
// no such path (nor any parent folder of it), or a folder. Anything else that cannot be
// read as a file (no permission, a FIFO, a socket, a device, a read error) throws
// SettingsError. The file is closed on return.
std::optional<std::string> ReadSettingsBytes(const std::string& path);

}  // namespace orv
