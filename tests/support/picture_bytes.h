#pragma once

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

// Hand-built picture entries for tests: header, a palette with the given entries
// set (the rest zero), then the token bytes exactly as given.
struct PictureBytes {
    struct Colour {
        int index;
        std::uint8_t blue, green, red;
    };

    static std::vector<std::uint8_t> Full(std::uint16_t width, std::uint16_t height,
                                          std::initializer_list<Colour> colours,
                                          std::initializer_list<std::uint8_t> tokens)
    {
        std::vector<std::uint8_t> bytes{0};
        Put16(bytes, width);
        Put16(bytes, height);
        Finish(bytes, colours, tokens);
        return bytes;
    }

    static std::vector<std::uint8_t> Rect(std::uint16_t width, std::uint16_t height, std::uint16_t left,
                                          std::uint16_t top, std::uint16_t right, std::uint16_t bottom,
                                          std::initializer_list<Colour> colours,
                                          std::initializer_list<std::uint8_t> tokens)
    {
        std::vector<std::uint8_t> bytes{2};
        for (std::uint16_t value : {width, height, left, top, right, bottom}) Put16(bytes, value);
        Finish(bytes, colours, tokens);
        return bytes;
    }

private:
    static void Put16(std::vector<std::uint8_t>& bytes, std::uint16_t value)
    {
        bytes.push_back(static_cast<std::uint8_t>(value));
        bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    }

    static void Finish(std::vector<std::uint8_t>& bytes, std::initializer_list<Colour> colours,
                       std::initializer_list<std::uint8_t> tokens)
    {
        const std::size_t palette = bytes.size();
        bytes.resize(palette + 384, 0);
        for (const Colour& c : colours) {
            bytes[palette + 3 * c.index] = c.blue;
            bytes[palette + 3 * c.index + 1] = c.green;
            bytes[palette + 3 * c.index + 2] = c.red;
        }
        bytes.insert(bytes.end(), tokens.begin(), tokens.end());
    }
};

// A picture of 64 x 32 blocks of one colour each, 512 x 256 pixels: scaled down by a
// power of two, every pixel of the result lies inside one block.
inline std::vector<std::uint8_t> BlockPicture()
{
    std::vector<std::uint8_t> bytes{0, 0, 2, 0, 1};  // type 0, 512 x 256
    for (int i = 0; i < 128; ++i)
        for (int c = 0; c < 3; ++c) bytes.push_back(static_cast<std::uint8_t>(i * (c * 2 + 3) * 7));
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 512; ++x) bytes.push_back(static_cast<std::uint8_t>(0x80 | (y / 32 * 8 + x / 64)));
    return bytes;
}
