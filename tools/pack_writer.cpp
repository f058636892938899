#include "tools/pack_writer.h"

#include <filesystem>
#include <fstream>

namespace orv::tools {

Bytes BytesOf(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

bool WriteFileBytes(const std::string& path, const Bytes& bytes)
{
    // A file written anew rather than cut to nothing: ext4 writes a file's blocks out when it
    // is closed after being cut, so loops that rewrite one input would wait on the disk
    // for every pass.
    std::error_code ignored;
    if (std::filesystem::is_regular_file(std::filesystem::symlink_status(path, ignored)))
        std::filesystem::remove(path, ignored);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

}  // namespace orv::tools
