#include "tools/pack_writer.h"

#include <fstream>

namespace orv::tools {

Bytes BytesOf(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

bool WriteFileBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

}  // namespace orv::tools
