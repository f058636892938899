// Writes the bundled sample pack archive, made entirely by this project.
#include <cstdio>

#include "pack_writer.h"

using orv::tools::BytesOf;

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample OUTPUT.dat\n");
        return 2;
    }
    orv::tools::Bytes table;
    for (int row = 0; row < 16; ++row) {
        for (int column = 0; column < 16; ++column) table.push_back(static_cast<std::uint8_t>(row * 16 + column));
    }
    const std::vector<orv::tools::PackItem> items{
        {"readme.txt", BytesOf("orvconv sample archive.\nEvery entry here was written by tools/make_sample.\n")},
        // "タイトル.txt" in CP932.
        {"\x83\x5e\x83\x43\x83\x67\x83\x8b.txt", BytesOf("\x83\x54\x83\x93\x83\x76\x83\x8b\n")},
        {"credits.csv", BytesOf("role,name\nprogram,orvconv\n")},
        {"bytes.bin", table},
    };
    if (!orv::tools::WriteFileBytes(argv[1], orv::tools::BuildPack(items))) {
        std::fprintf(stderr, "make_sample: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
