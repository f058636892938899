#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "animation_bytes.h"
#include "tools/pack_writer.h"

// Archives made of random but well-formed pieces: pictures with random palettes and
// random token streams (skips among them, so that a picture shows what lay under it),
// animations of frames of unequal sizes with frames of other types among them, settings
// that draw base frames, clear and leave frames out, sounds and raw entries.
class RandomArchive {
public:
    explicit RandomArchive(unsigned seed) : rng_(seed) { }

    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    std::uint8_t Byte() { return static_cast<std::uint8_t>(Int(0, 255)); }

    // Type 0 or 2 (a rectangle inside the canvas), random colours and tokens.
    std::vector<std::uint8_t> Picture(int maxSide)
    {
        const auto width = static_cast<std::uint16_t>(Int(1, maxSide));
        const auto height = static_cast<std::uint16_t>(Int(1, maxSide));
        const bool rect = Int(0, 2) == 0;
        std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(rect ? 2 : 0)};
        auto put16 = [&](int value) {
            bytes.push_back(static_cast<std::uint8_t>(value));
            bytes.push_back(static_cast<std::uint8_t>(value >> 8));
        };
        put16(width);
        put16(height);
        if (rect) {
            const int left = Int(0, width - 1);
            const int top = Int(0, height - 1);
            put16(left);
            put16(top);
            put16(Int(left + 1, width));
            put16(Int(top + 1, height));
        }
        for (int i = 0; i < 384; ++i) bytes.push_back(Byte());
        const int tokens = Int(0, width * height);
        for (int t = 0; t < tokens; ++t) {
            const int pick = Int(0, 9);
            if (pick < 5) {
                bytes.push_back(static_cast<std::uint8_t>(0x80 | Int(0, 127)));
            } else if (pick < 8) {
                bytes.push_back(static_cast<std::uint8_t>(Int(1, 15)));  // a skip
            } else {
                bytes.push_back(static_cast<std::uint8_t>(Int(1, 7) << 4 | Int(0, 15)));  // a copy
                if ((bytes.back() & 0x0F) == 0) bytes.push_back(static_cast<std::uint8_t>(Int(0, 20)));
            }
        }
        return bytes;
    }

    // A frame of a type that is passed over (1) or copied raw (5), now and then.
    std::vector<std::uint8_t> Frame(int maxSide)
    {
        const int pick = Int(0, 9);
        if (pick == 0) return {1, 4, 0, 4, 0};
        if (pick == 1) return {5, Byte(), Byte(), Byte()};
        return Picture(maxSide);
    }

    std::vector<std::uint8_t> Animation(int maxSide, int frames)
    {
        std::vector<std::vector<std::uint8_t>> list;
        for (int k = 0; k < frames; ++k) list.push_back(Frame(maxSide));
        return AnimationOf(list);
    }

    // Settings lines for an animation of this many frames.
    std::string Settings(const std::string& name, int frames)
    {
        std::string text = "[" + name + "]\n";
        for (int k = 1; k <= frames; ++k) {
            switch (Int(0, 5)) {
            case 0: text += "p" + std::to_string(k) + "=" + std::to_string(Int(1, frames)) + "\n"; break;
            case 1: text += "p" + std::to_string(k) + "=-1\n"; break;
            default: break;
            }
        }
        return text;
    }

    std::vector<std::uint8_t> Sound()
    {
        static constexpr std::uint8_t kCodes[] = {6, 7, 10};
        std::vector<std::uint8_t> bytes{0, 0, 0, kCodes[Int(0, 2)]};
        const int samples = Int(0, 64) * 4;
        for (int i = 0; i < samples; ++i) bytes.push_back(Byte());
        return bytes;
    }

    // count entries of every kind, with the settings for its animations in `settings`.
    orv::tools::Bytes Archive(int count, int maxSide, std::string& settings)
    {
        std::vector<orv::tools::PackItem> items;
        for (int i = 0; i < count; ++i) {
            const std::string n = std::to_string(i);
            switch (Int(0, 7)) {
            case 0:
            case 1:
            case 2: items.push_back({"p" + n + ".cg", Picture(maxSide)}); break;
            case 3:
            case 4: {
                const int frames = Int(1, 6);
                items.push_back({"a" + n + ".ani", Animation(maxSide, frames)});
                settings += Settings("a" + n + ".ani", frames);
                break;
            }
            case 5: items.push_back({"s" + n + ".pcm", Sound()}); break;
            case 6: items.push_back({"r" + n + ".bin", {Byte(), Byte(), Byte()}}); break;
            default: items.push_back({"f" + n + ".cg", Frame(maxSide)}); break;
            }
        }
        return orv::tools::BuildPack(items);
    }

private:
    std::mt19937 rng_;
};
