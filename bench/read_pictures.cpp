// Every picture of an archive decoded into memory through the reading API, as the
// Python module's benchmark (python_read.py) does through orv and numpy: one line of
// seconds a round, the archive opened anew each round.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/read/reader.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: read_pictures ARCHIVE ROUNDS\n", stderr);
        return 2;
    }
    const int rounds = std::atoi(argv[2]);
    for (int round = 0; round < rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        const std::shared_ptr<const orv::Input> input = orv::OpenInput(argv[1]);
        if (!input) return 1;
        orv::Reader reader(input);
        std::size_t bytes = 0;
        for (const orv::InputEntry& entry : reader.entries())
            if (entry.kind == orv::EntryKind::Picture) bytes += reader.Picture(entry.index).image.rgb.size();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        std::printf("%.6f %zu\n", took.count(), bytes);
    }
    return 0;
}
