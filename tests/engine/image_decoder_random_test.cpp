#include <gtest/gtest.h>

#include <random>

#include "engine/read/image_decoder.h"

using Bytes = std::vector<std::uint8_t>;

// Random pictures of every shape, read from blocks exactly as long as the entry
// and drawn on canvases exactly as large as the header says, so the sanitizer
// build sees any byte read or written outside them. Guard bytes after a second
// copy of the canvas catch writes past its end in the normal build too.
TEST(DecodeImageRandom, HostilePicturesStayInsideTheirBuffers)
{
    std::mt19937 random(20261207);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    for (int round = 0; round < 3000; ++round) {
        const int width = pick(0, 3) == 0 ? pick(0, 3) : pick(1, 40);
        const int height = pick(0, 3) == 0 ? pick(0, 3) : pick(1, 40);
        const bool rect = pick(0, 1) == 1;
        Bytes picture{static_cast<std::uint8_t>(rect ? 2 : 0)};
        auto put16 = [&](int v) {
            picture.push_back(static_cast<std::uint8_t>(v));
            picture.push_back(static_cast<std::uint8_t>(v >> 8));
        };
        put16(width);
        put16(height);
        if (rect) {
            for (int i = 0; i < 4; ++i) put16(pick(0, 3) == 0 ? pick(0, 65535) : pick(0, 45));
        }
        const int paletteBytes = pick(0, 4) == 0 ? pick(0, 384) : 384;
        for (int i = 0; i < paletteBytes; ++i) picture.push_back(static_cast<std::uint8_t>(pick(0, 255)));
        const int tokens = pick(0, 300);
        for (int i = 0; i < tokens; ++i) {
            const int choice = pick(0, 9);
            if (choice < 4) {
                picture.push_back(static_cast<std::uint8_t>(pick(0x80, 0xFF)));
            } else if (choice < 9) {
                picture.push_back(static_cast<std::uint8_t>(pick(0, 0x7F)));
            } else {
                picture.push_back(static_cast<std::uint8_t>(pick(0, 7) << 4));
                for (int e = pick(0, 3); e > 0; --e) picture.push_back(0xFF);
                picture.push_back(static_cast<std::uint8_t>(pick(0, 255)));
            }
        }
        const std::size_t canvasBytes = static_cast<std::size_t>(width) * height * 3;
        Bytes canvas(canvasBytes, 0x5A);
        const Bytes exact(picture.begin(), picture.end());
        orv::DecodeImage(exact.data(), canvas.data(), static_cast<std::uint32_t>(exact.size()));

        Bytes guarded(canvasBytes + 96, 0x5A);
        orv::DecodeImage(exact.data(), guarded.data(), static_cast<std::uint32_t>(exact.size()));
        ASSERT_TRUE(std::equal(canvas.begin(), canvas.end(), guarded.begin())) << "round " << round;
        for (std::size_t i = canvasBytes; i < guarded.size(); ++i) ASSERT_EQ(guarded[i], 0x5A) << "round " << round;
    }
}
