#pragma once

#include "cli_process_test.h"
#include "tools/pack_writer.h"

// The CLI's own tests share the fault tests' way of running orvconv-cli.
using CliTest = CliProcessTest;

// Two raw entries, one with a CP932 name, and an animation with nothing to draw.
inline orv::tools::Bytes Sample()
{
    using orv::tools::BytesOf;
    return orv::tools::BuildPack({{"readme.txt", BytesOf("hello")},
                                  {"\x83\x5e\x83\x43\x83\x67\x83\x8b.txt", BytesOf("title")},
                                  {"walk.ani", orv::tools::Bytes{4, 0, 0, 0}}});
}
