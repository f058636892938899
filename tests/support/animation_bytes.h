#pragma once

#include <cstdint>
#include <vector>

// Animation data for tests: the frame offset table, then the frames back to back.
inline std::vector<std::uint8_t> AnimationOf(const std::vector<std::vector<std::uint8_t>>& frames)
{
    std::vector<std::uint8_t> data;
    auto put32 = [&](std::size_t value) {
        for (int shift = 0; shift < 32; shift += 8) data.push_back(static_cast<std::uint8_t>(value >> shift));
    };
    std::size_t offset = 4 * frames.size();
    for (const auto& frame : frames) {
        put32(offset);
        offset += frame.size();
    }
    for (const auto& frame : frames) data.insert(data.end(), frame.begin(), frame.end());
    return data;
}
