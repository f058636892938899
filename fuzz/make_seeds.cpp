// Writes the seed corpus of every fuzz target, made with the project's own writers,
// into FOLDER/<target>/. Each seed is small and reaches a different part of its target.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tools/ani_writer.h"
#include "tools/cg_encoder.h"
#include "tools/pack_writer.h"
#include "tools/sound_writer.h"

using orv::tools::Bytes;
using orv::tools::BytesOf;
using orv::tools::CgPicture;
using orv::tools::EncodeCg;

namespace {

// A picture whose pixels repeat in stripes and steps, so that the encoder uses
// literals, skips and every kind of copy.
CgPicture Pattern(std::uint8_t type, int width, int height, int seed)
{
    CgPicture picture;
    picture.type = type;
    picture.width = static_cast<std::uint16_t>(width);
    picture.height = static_cast<std::uint16_t>(height);
    picture.right = picture.width;
    picture.bottom = picture.height;
    for (std::size_t i = 0; i < picture.palette.size(); ++i)
        picture.palette[i] = static_cast<std::uint8_t>(i * 7 + seed);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int index = (y / 2 % 3 == 0) ? (x + y + seed) % 5 : (x / 3 + seed) % 7;
            picture.pixels.push_back(static_cast<std::uint8_t>(index + 1));
        }
    }
    return picture;
}

CgPicture Rectangle(int width, int height, int left, int top, int right, int bottom, int seed)
{
    CgPicture picture = Pattern(2, width, height, seed);
    picture.left = static_cast<std::uint16_t>(left);
    picture.top = static_cast<std::uint16_t>(top);
    picture.right = static_cast<std::uint16_t>(right);
    picture.bottom = static_cast<std::uint16_t>(bottom);
    return picture;
}

// A picture written byte by byte: header, a palette whose entry i is (i, 2i, 3i), tokens.
Bytes Handmade(std::initializer_list<std::uint16_t> header, std::uint8_t type, const Bytes& tokens)
{
    Bytes bytes{type};
    for (const std::uint16_t field : header) {
        bytes.push_back(static_cast<std::uint8_t>(field));
        bytes.push_back(static_cast<std::uint8_t>(field >> 8));
    }
    for (int i = 0; i < 128; ++i) {
        for (int c = 1; c <= 3; ++c) bytes.push_back(static_cast<std::uint8_t>(i * c));
    }
    bytes.insert(bytes.end(), tokens.begin(), tokens.end());
    return bytes;
}

Bytes Cat(std::initializer_list<Bytes> pieces)
{
    Bytes all;
    for (const Bytes& piece : pieces) all.insert(all.end(), piece.begin(), piece.end());
    return all;
}

// A piece of fuzz input: its 16-bit length, then its bytes.
Bytes Piece(const Bytes& bytes)
{
    return Cat({Bytes{static_cast<std::uint8_t>(bytes.size()), static_cast<std::uint8_t>(bytes.size() >> 8)}, bytes});
}

Bytes Byte(std::uint8_t value)
{
    return Bytes{value};
}

// Four frames on a 16 x 12 canvas: a whole picture, a rectangle over it, a frame
// that is no picture (type 1) and one that is copied raw (type 7).
Bytes Animation()
{
    const CgPicture first = Pattern(0, 16, 12, 1);
    const Bytes canvas = orv::tools::DrawnCanvas(first);
    Bytes raw = BytesOf("\x07raw frame");
    return orv::tools::BuildAnimation(
        {EncodeCg(first), EncodeCg(Rectangle(16, 12, 3, 2, 11, 9, 4), canvas), Bytes{1, 16, 0, 12, 0}, raw});
}

Bytes Sound(std::uint8_t code, std::size_t frames)
{
    return orv::tools::BuildSoundEntry(code, orv::tools::SineSamples(22050, frames, {{440.0}}, 3000.0, 4));
}

Bytes Archive()
{
    return orv::tools::BuildPack({
        {"readme.txt", BytesOf("seed\n")},
        {"\x83\x5e\x83\x43\x83\x67\x83\x8b.txt", BytesOf("title")},  // CP932
        {"pic.cg", EncodeCg(Pattern(0, 9, 5, 2))},
        {"rect.cg", EncodeCg(Rectangle(8, 8, 1, 1, 6, 7, 3))},
        {"anim.ani", Animation()},
        {"mono.pcm", Sound(orv::kSoundMono22050, 16)},
        {"ab", BytesOf("two-byte name")},
        {"short.pcm", Bytes{0, 0}},  // no format code: ends the run
    });
}

struct Seed {
    const char* target;
    const char* name;
    Bytes bytes;
};

// Colour choices of encode_picture_fuzzer for width x height pixels in stripes.
Bytes Stripes(int width, int height, int stripe)
{
    Bytes choices;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) choices.push_back(static_cast<std::uint8_t>((x / stripe + y) % 128));
    }
    return choices;
}

// The choices with a patch of one colour in the middle, as a frame that changes a little.
Bytes Patched(Bytes choices)
{
    std::fill(choices.begin() + 200, choices.begin() + 240, 7);
    return choices;
}

std::vector<Seed> Seeds()
{
    const Bytes twoByTwo = Handmade({2, 2}, 0, {0x80, 0x11, 0x51, 0x81});
    const Bytes rectangle = Handmade({4, 4, 1, 1, 3, 3}, 2, {0x81, 0x82, 0x51, 0x11, 0x00});
    const Bytes longRuns = Handmade({40, 20}, 0, {0x85, 0x1F, 0x50, 0xFF, 0x02, 0x00, 0xFF, 0x00, 0x33, 0x64, 0x72});
    const Bytes narrow = Handmade({1, 6}, 0, {0x81, 0x52, 0x61, 0x71, 0x81});
    const Bytes pattern = EncodeCg(Pattern(0, 16, 8, 0));
    const Bytes rect = EncodeCg(Rectangle(12, 10, 2, 3, 9, 8, 5));
    const Bytes animation = Animation();
    const Bytes settings = BytesOf("; seed\n[anim.ani]\np2=2\r\np3 = 1\np4=-1\n[ANIM.ANI]\nP1=0x2\n");
    const Bytes archive = Archive();
    const Bytes huge = Handmade({65535, 65535}, 0, {0x81});
    Bytes claims = orv::tools::PackHeader(3);  // records only: every entry lies past the end
    orv::tools::AppendRecord(claims, "all.bin", 0, 0xFFFFFFFFu);
    orv::tools::AppendRecord(claims, "far.cg", 0xFFFFFF00u, 0xFFFFFFFFu);
    orv::tools::AppendRecord(claims, "", 0, 0);
    return {
        {"decode_image_fuzzer", "two_by_two", Cat({Byte(0), twoByTwo})},
        {"decode_image_fuzzer", "rectangle", Cat({Byte(1), rectangle})},
        {"decode_image_fuzzer", "long_runs", Cat({Byte(2), longRuns})},
        {"decode_image_fuzzer", "narrow", Cat({Byte(3), narrow})},
        {"decode_image_fuzzer", "pattern", Cat({Byte(0), pattern})},
        {"decode_image_fuzzer", "pattern_rectangle", Cat({Byte(4), rect})},
        {"decode_image_fuzzer", "empty_canvas", Cat({Byte(5), Handmade({0, 0}, 0, {0x81, 0x13})})},
        {"decode_image_fuzzer", "rectangle_off_the_canvas",
         Cat({Byte(6), Handmade({4, 4, 2, 3, 9, 9}, 2, {0x81, 0x14, 0x52})})},

        {"convert_image_entry_fuzzer", "bmp", Cat({Byte(0), Byte(0x00), Piece(pattern)})},
        {"convert_image_entry_fuzzer", "png", Cat({Byte(1), Byte(0x10), Piece(twoByTwo)})},
        {"convert_image_entry_fuzzer", "frames_over_each_other",
         Cat({Byte(0), Byte(0x10), Piece(pattern), Byte(0x18), Piece(rect), Byte(0x22), Piece(rectangle), Byte(0x21),
              Piece(narrow)})},
        {"convert_image_entry_fuzzer", "other_types",
         Cat({Byte(0), Byte(0x00), Piece(Bytes{1, 2, 0, 2, 0}), Byte(0x30), Piece(BytesOf("\x05raw"))})},
        {"convert_image_entry_fuzzer", "empty_bmp", Cat({Byte(0), Byte(0x00), Piece(Handmade({0, 3}, 0, {0x81}))})},
        {"convert_image_entry_fuzzer", "too_large", Cat({Byte(0), Byte(0x10), Piece(huge)})},

        {"convert_animation_fuzzer", "settings_bmp", Cat({Byte(0), Piece(settings), animation})},
        {"convert_animation_fuzzer", "settings_png", Cat({Byte(1), Piece(BytesOf("[anim.ani]\np2=-1\n")), animation})},
        {"convert_animation_fuzzer", "no_settings", Cat({Byte(0), Piece({}), animation})},
        {"convert_animation_fuzzer", "short_table", Cat({Byte(0), Piece({}), Bytes{0xFF, 0xFF, 0xFF, 0xFF, 8, 0}})},
        {"convert_animation_fuzzer", "frame_too_large", Cat({Byte(0), Piece({}), orv::tools::BuildAnimation({huge})})},
        {"convert_animation_fuzzer", "webp", Cat({Byte(2), Piece(settings), animation})},
        {"convert_animation_fuzzer", "gif", Cat({Byte(4), Piece(settings), animation})},
        {"convert_animation_fuzzer", "sheet", Cat({Byte(6), Piece(settings), animation})},

        {"convert_input_file_fuzzer", "archive_bmp", Cat({Byte(0), archive})},
        {"convert_input_file_fuzzer", "archive_png", Cat({Byte(2), archive})},
        {"convert_input_file_fuzzer", "archive_animations_raw", Cat({Byte(4), archive})},
        {"convert_input_file_fuzzer", "animation_file", Cat({Byte(1), animation})},
        {"convert_input_file_fuzzer", "empty_archive", Cat({Byte(0), orv::tools::PackHeader(0)})},
        {"convert_input_file_fuzzer", "claims_past_the_end", Cat({Byte(0), claims})},
        {"convert_input_file_fuzzer", "sounds",
         Cat({Byte(0),
              orv::tools::BuildPack({{"s7.pcm", Sound(orv::kSoundStereo22050, 8)},
                                     {"s10.pcm", Sound(orv::kSoundStereo44100, 8)},
                                     {"bad.pcm", Bytes{0, 0, 0, 9, 1, 2}}})})},

        {"read_entries_fuzzer", "archive_backwards",
         Cat({Byte(0), Piece(settings), Piece(Bytes{7, 0, 6, 0, 5, 0, 4, 0, 3, 0, 2, 0, 1, 0, 0, 0}), archive})},
        {"read_entries_fuzzer", "carried_canvas",
         Cat({Byte(0), Piece({}), Piece(Bytes{1, 0, 0, 0, 1, 0}),
              orv::tools::BuildPack(
                  {{"big.cg", EncodeCg(Pattern(0, 16, 12, 3))},
                   {"grow.ani", orv::tools::BuildAnimation({twoByTwo, Handmade({8, 8, 0, 0, 1, 1}, 2, {0x81})})}})})},
        {"read_entries_fuzzer", "animation_file", Cat({Byte(1), Piece(settings), Piece(Bytes{0, 0}), animation})},
        {"read_entries_fuzzer", "claims_past_the_end", Cat({Byte(0), Piece({}), Piece(Bytes{2, 0, 1, 0}), claims})},

        {"settings_file_fuzzer", "sections", settings},
        {"settings_file_fuzzer", "line_breaks", BytesOf("[a]\rp1=1\n\rp2=2\r\n[b]\n\np1 = x\n[]\n=empty\n")},
        {"settings_file_fuzzer", "comments_and_junk", BytesOf(";[x]\nk=before\n[ s ] ;\n[s]\nkey\nk=1 ; old\n[\n")},
        {"settings_file_fuzzer", "zero_byte", Cat({BytesOf("[z]\np1=1\n"), Byte(0), BytesOf("p1=2\n")})},
        {"settings_file_fuzzer", "byte_order_mark", BytesOf("\xEF\xBB\xBF[bom]\np1=1\n[next]\np1=2")},

        {"integer_text_fuzzer", "decimal", BytesOf("-2147483648")},
        {"integer_text_fuzzer", "decimal_too_large", BytesOf("2147483648")},
        {"integer_text_fuzzer", "leading_zeros", BytesOf("+0007")},
        {"integer_text_fuzzer", "hex", BytesOf("0xFFFFFFFF")},
        {"integer_text_fuzzer", "hex_dollar", BytesOf("$1f")},
        {"integer_text_fuzzer", "hex_signed", BytesOf("-x80000000")},
        {"integer_text_fuzzer", "hex_too_long", BytesOf("0X0000100000000")},
        {"integer_text_fuzzer", "not_a_number", BytesOf("1 ; old")},

        {"encode_picture_fuzzer", "one_pixel", Bytes{0, 0, 0, 5, 7}},
        {"encode_picture_fuzzer", "width_one_one_colour", Bytes{0, 5, 0}},
        {"encode_picture_fuzzer", "width_two", Cat({Bytes{1, 3, 127}, Stripes(2, 4, 1), Stripes(2, 4, 2)})},
        {"encode_picture_fuzzer", "stripes", Cat({Bytes{39, 11, 127}, Stripes(40, 12, 5), Stripes(40, 12, 4)})},
        {"encode_picture_fuzzer", "frame_rectangle",
         Cat({Bytes{39, 11, 9}, Patched(Stripes(40, 12, 4)), Stripes(40, 12, 4)})},
    };
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds FOLDER\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    for (const Seed& seed : Seeds()) {
        const std::filesystem::path folder = root / seed.target;
        std::filesystem::create_directories(folder);
        if (!orv::tools::WriteFileBytes((folder / seed.name).string(), seed.bytes)) {
            std::fprintf(stderr, "make_fuzz_seeds: cannot write %s\n", (folder / seed.name).c_str());
            return 1;
        }
    }
    return 0;
}
