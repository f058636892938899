#include "converter.h"

namespace orv {

// Pictures are written as raw copies until the picture decoder lands.
void Converter::ConvertImageEntry(const std::uint8_t* data, const ArchiveEntry& entry,
                                  bool /*clearCanvas*/, bool /*renderOnly*/, std::int32_t frameNo)
{
    DumpEntry(data, entry, frameNo);
}

}  // namespace orv
