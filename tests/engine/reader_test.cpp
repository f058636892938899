#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <thread>

#include "bmp_header.h"
#include "engine/base/fatal_error.h"
#include "engine/read/reader.h"
#include "engine_fixture.h"
#include "picture_bytes.h"
#include "png_reader.h"
#include "random_archive.h"
#include "settings/settings_file.h"

using namespace orv;
using orv::tools::Bytes;

namespace {

// A written BMP's pixels as red, green, blue rows, top row first, read from the headers
// and the padded bottom-up rows by hand.
RgbImage BmpPixels(const std::filesystem::path& path)
{
    const Bytes file = ReadAll(path);
    const BmpHeader header = ParseBmpHeader(file);
    RgbImage image{static_cast<std::uint32_t>(header.width), static_cast<std::uint32_t>(header.height), {}};
    const std::size_t stride = (std::size_t{image.width} * 3 + 3) / 4 * 4;
    if (header.bitCount != 24 || file.size() < header.dataOffset + stride * image.height) return {};
    for (std::uint32_t y = 0; y < image.height; ++y) {
        const std::uint8_t* row = file.data() + header.dataOffset + (image.height - 1 - y) * stride;
        for (std::uint32_t x = 0; x < image.width; ++x) {
            image.rgb.push_back(row[3 * x + 2]);
            image.rgb.push_back(row[3 * x + 1]);
            image.rgb.push_back(row[3 * x]);
        }
    }
    return image;
}

// A written PNG's pixels through libpng's read API.
RgbImage PngPixels(const std::filesystem::path& path)
{
    const std::optional<PngFile> png = ReadPngFile(path);
    if (!png || png->colourType != PNG_COLOR_TYPE_RGB) return {};
    RgbImage image{png->width, png->height, {}};
    for (const auto& row : png->rows) image.rgb.insert(image.rgb.end(), row.begin(), row.end());
    return image;
}

bool operator==(const RgbImage& a, const RgbImage& b)
{
    return a.width == b.width && a.height == b.height && a.rgb == b.rgb;
}

std::string Numbered(const std::string& stem, std::uint32_t number)
{
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "_%04u", number);
    return stem + suffix;
}

}  // namespace

class ReaderTest : public EngineTest {
protected:
    // Converts the input as orvconv-cli does (with the settings text, if any), then reads
    // every entry through a reader in a shuffled order, then in entry order, and checks it
    // against the files conversion wrote. Entries from the one conversion stopped at on are not checked.
    void ExpectReaderMatchesConversion(const std::string& name, const Bytes& input, const std::string& settingsText,
                                       OutputMode mode, unsigned seed)
    {
        const std::string path = Input(name, input);
        std::shared_ptr<const SettingsFile> settings;
        if (!settingsText.empty()) {
            const std::string ini = (dir.path() / "test.ini").string();
            ASSERT_TRUE(tools::WriteFileBytes(ini, tools::BytesOf(settingsText)));
            settings = SettingsFile::Load(ini);
        }
        converter.options.iniFile = settings.get();
        converter.options.outputMode = mode;
        bool finished = true;
        try {
            converter.ConvertInputFile();
        } catch (const FatalError&) {
            finished = false;
        }
        const std::filesystem::path folder = converter.outDir;

        const std::shared_ptr<const orv::Input> readerInput = OpenInput(path);
        ASSERT_NE(readerInput, nullptr);
        Reader reader(readerInput);
        reader.SetSettings(settings);
        const std::size_t reached = finished ? reader.entries().size() : static_cast<std::size_t>(converter.entryIndex);
        std::vector<std::size_t> order(reached);
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::shuffle(order.begin(), order.end(), std::mt19937(seed));
        // Then all of them again in entry order, as conversion reads them, after the block
        // was rebuilt for entries out of turn.
        for (std::size_t i = 0; i < reached; ++i) order.push_back(i);

        const std::string picture = mode == AllPng ? ".png" : ".bmp";
        const auto pixels = [&](const std::string& file) {
            return mode == AllPng ? PngPixels(folder / file) : BmpPixels(folder / file);
        };
        std::set<std::string> expected;
        for (const std::size_t i : order) {
            const InputEntry& entry = reader.entries()[i];
            const std::string stem = entry.shown.substr(0, entry.shown.rfind('.'));
            SCOPED_TRACE(entry.shown + " (entry " + std::to_string(i) + ", seed " + std::to_string(seed) + ")");
            switch (entry.kind) {
            case EntryKind::Picture: {
                const RenderedPicture rendered = reader.Picture(i);
                if (rendered.action == PictureAction::Drawn) {
                    expected.insert(stem + picture);
                    EXPECT_TRUE(pixels(stem + picture) == rendered.image);
                } else if (rendered.action == PictureAction::Raw) {
                    expected.insert(entry.shown);
                    EXPECT_EQ(ReadAll(folder / entry.shown), rendered.bytes);
                }
                // The same picture left as drawn: blue, green, red, or the raw bytes.
                const FrameView drawnView = reader.PictureView(i);
                EXPECT_EQ(drawnView.action, rendered.action);
                if (drawnView.action == PictureAction::Drawn) {
                    RgbImage drawn{
                        drawnView.width, drawnView.height,
                        Bytes(drawnView.bgr, drawnView.bgr + std::size_t{drawnView.width} * drawnView.height * 3)};
                    SwapRedAndBlue(drawn.rgb.data(), std::size_t{drawnView.width} * drawnView.height);
                    EXPECT_TRUE(pixels(stem + picture) == drawn);
                } else if (drawnView.action == PictureAction::Raw) {
                    EXPECT_EQ(ReadAll(folder / entry.shown), Bytes(drawnView.bytes, drawnView.bytes + drawnView.size));
                }
                break;
            }
            case EntryKind::Animation:
                for (const RenderedFrame& frame : reader.Animation(i)) {
                    if (frame.action == PictureAction::Drawn) {
                        const std::string file = Numbered(stem, frame.number) + picture;
                        expected.insert(file);
                        EXPECT_TRUE(pixels(file) == frame.image) << file;
                    } else {
                        const std::string file = Numbered(entry.shown, frame.number);
                        expected.insert(file);
                        EXPECT_EQ(ReadAll(folder / file), frame.bytes) << file;
                    }
                }
                break;
            case EntryKind::Sound: {
                // The WAV header read by hand: channels at 22, rate at 24, samples from 44.
                const Bytes wav = ReadAll(folder / (stem + ".wav"));
                const RenderedSound sound = reader.Sound(i);
                expected.insert(stem + ".wav");
                ASSERT_GE(wav.size(), 44u);
                EXPECT_EQ(wav[22] | wav[23] << 8, sound.format.channels);
                EXPECT_EQ(wav[24] | wav[25] << 8 | wav[26] << 16, static_cast<int>(sound.format.rate));
                EXPECT_EQ(Bytes(wav.begin() + 44, wav.end()), sound.samples);
                break;
            }
            case EntryKind::Other:
                expected.insert(entry.shown);
                EXPECT_EQ(ReadAll(folder / entry.shown), reader.Bytes(i));
                break;
            }
        }
        if (finished) {
            EXPECT_EQ(FilesIn(folder), std::vector<std::string>(expected.begin(), expected.end()));
        }
    }
};

// Pictures of unequal sizes, animations whose larger frames show what earlier entries
// left in the canvas block, settings, sounds and raw entries: every entry read in a
// shuffled order is what conversion wrote for it.
TEST_F(ReaderTest, EveryEntryInAnyOrderIsWhatConversionWrites)
{
    for (unsigned seed = 1; seed <= 24; ++seed) {
        RandomArchive random(seed);
        std::string settings;
        const Bytes archive = random.Archive(random.Int(1, 30), 12, settings);
        const OutputMode mode = seed % 3 == 0 ? AllPng : AllBmp;
        ExpectReaderMatchesConversion("set" + std::to_string(seed) + ".dat", archive, seed % 2 ? settings : "", mode,
                                      seed);
    }
}

// Cut anywhere, and with tables that claim more than the file holds, the entries
// conversion gets to read back the same.
TEST_F(ReaderTest, TruncatedAndHostileTablesReadAsConversionWrites)
{
    for (unsigned seed = 100; seed < 116; ++seed) {
        RandomArchive random(seed);
        std::string settings;
        Bytes archive = random.Archive(random.Int(2, 16), 10, settings);
        if (seed % 2 == 0) {
            archive.resize(static_cast<std::size_t>(random.Int(6, static_cast<int>(archive.size()))));
        } else {
            // One record's offset and size pointing anywhere.
            const std::size_t record = 6 + 24 * static_cast<std::size_t>(random.Int(0, 1));
            for (int b = 16; b < 24; ++b) archive[record + b] = random.Byte();
        }
        ExpectReaderMatchesConversion("cut" + std::to_string(seed) + ".dat", archive, settings, AllBmp, seed);
    }
}

TEST_F(ReaderTest, AnimationFileReadsAsConversionWrites)
{
    for (unsigned seed = 200; seed < 206; ++seed) {
        RandomArchive random(seed);
        const int frames = random.Int(1, 8);
        ExpectReaderMatchesConversion("walk" + std::to_string(seed) + ".ani", random.Animation(12, frames),
                                      random.Settings("walk" + std::to_string(seed) + ".ani", frames), AllBmp, seed);
    }
}

// A 4 x 4 picture of one colour (blue 0x11, green 0x22, red 0x33), then an animation
// whose first frame is 1 x 1 and whose second, 4 x 4, draws only its top left pixel.
// Frame 1 fills the block's first 4 bytes (its pixel and a padding byte) and frame 2 is
// drawn over the block without filling it: its pixel 1 is that padding byte and the
// picture's bytes 4 and 5, every later pixel the picture's colour. Asked for first, the
// animation shows the same; with no picture before it, black.
TEST_F(ReaderTest, AnimationAskedFirstShowsWhatThePictureBeforeItLeft)
{
    const Bytes picture = PictureBytes::Full(4, 4, {{0, 0x11, 0x22, 0x33}}, {0x80, 0x1F, 0x80});
    const Bytes frame1 = PictureBytes::Full(1, 1, {{0, 0xA0, 0xB0, 0xC0}}, {0x80});
    const Bytes frame2 = PictureBytes::Rect(4, 4, 0, 0, 1, 1, {{0, 0x01, 0x02, 0x03}}, {0x80});
    const Bytes walk = AnimationOf({frame1, frame2});
    const auto secondFrame = [&](const std::vector<tools::PackItem>& items, std::size_t index) {
        const std::shared_ptr<const orv::Input> readerInput = OpenInput(Input("carry.dat", tools::BuildPack(items)));
        EXPECT_NE(readerInput, nullptr);
        if (readerInput == nullptr) return std::vector<std::uint8_t>{};
        Reader reader(readerInput);
        const std::vector<RenderedFrame> frames = reader.Animation(index);
        return frames.size() == 2 ? frames[1].image.rgb : std::vector<std::uint8_t>{};
    };

    std::vector<std::uint8_t> shown{0x03, 0x02, 0x01, 0x33, 0x22, 0x00};
    for (int p = 2; p < 16; ++p) shown.insert(shown.end(), {0x33, 0x22, 0x11});
    EXPECT_EQ(secondFrame({{"big.cg", picture}, {"walk.ani", walk}}, 1), shown);

    std::vector<std::uint8_t> black(16 * 3, 0);
    std::copy_n(shown.begin(), 3, black.begin());
    EXPECT_EQ(secondFrame({{"walk.ani", walk}}, 0), black);
}

// Two readers of one archive on two threads, each reading every entry in entry order,
// then twice in an order of its own, with stops asked now and then, and animations now
// and then drawn a frame at a time with the entry before read between frames: every
// entry read to its end is what a reader alone reads in order, and a stopped read gives
// nothing and leaves the reader as good as before.
TEST(ReaderThreads, ReadersOnTwoThreadsAndStoppedReadsGiveWhatOneReaderGives)
{
    TempDir dir;
    RandomArchive random(77);
    std::string settingsText;
    // Mostly animations, so that most frames show what the ones before them left.
    std::vector<tools::PackItem> items;
    for (int i = 0; i < 40; ++i) {
        const int frames = random.Int(2, 6);
        const std::string name = "a" + std::to_string(i) + ".ani";
        items.push_back({name, random.Animation(16, frames)});
        settingsText += random.Settings(name, frames);
        if (i % 8 == 0) items.push_back({"p" + std::to_string(i) + ".cg", random.Picture(16)});
        if (i % 8 == 4) items.push_back({"s" + std::to_string(i) + ".pcm", random.Sound()});
    }
    const std::string path = (dir.path() / "shared.dat").string();
    ASSERT_TRUE(tools::WriteFileBytes(path, tools::BuildPack(items)));
    const std::shared_ptr<const SettingsFile> settings = SettingsFile::FromBytes(settingsText);

    // An entry's pixels, frames, samples or bytes; empty when stopped. Animations drawn a
    // frame at a time, with the entry before read between frames, where asked.
    const auto read = [](Reader& reader, std::size_t i, const ReaderStop& stop, bool cursor) {
        std::vector<std::uint8_t> all;
        const auto add = [&](const RenderedFrame& frame) {
            all.insert(all.end(), frame.image.rgb.begin(), frame.image.rgb.end());
            all.insert(all.end(), frame.bytes.begin(), frame.bytes.end());
            all.push_back(static_cast<std::uint8_t>(frame.number));
        };
        switch (reader.entries()[i].kind) {
        case EntryKind::Animation:
            if (!cursor) {
                for (const RenderedFrame& frame : reader.Animation(i, stop)) add(frame);
                return all;
            }
            if (std::optional<FrameCursor> frames = reader.Cursor(i, stop)) {
                while (frames->Next([&](const FrameView& view) { add(RenderedOf(view)); }, stop))
                    if (i > 0) reader.Bytes(i - 1);
                if (!frames->finished()) return std::vector<std::uint8_t>{};
                reader.Finish(*frames);
            }
            return all;
        case EntryKind::Picture: {
            const RenderedPicture picture = reader.Picture(i, stop);
            return picture.action == PictureAction::Drawn ? picture.image.rgb : picture.bytes;
        }
        case EntryKind::Sound: return reader.Sound(i, stop).samples;
        default: return reader.Bytes(i);
        }
    };
    const std::shared_ptr<const orv::Input> aloneInput = OpenInput(path);
    ASSERT_NE(aloneInput, nullptr);
    Reader alone(aloneInput);
    alone.SetSettings(settings);
    const std::size_t count = alone.entries().size();
    std::vector<std::vector<std::uint8_t>> expected;
    for (std::size_t i = 0; i < count; ++i) expected.push_back(read(alone, i, {}, false));

    const auto readAll = [&](unsigned seed, std::vector<std::string>& mismatches) {
        const std::shared_ptr<const orv::Input> readerInput = OpenInput(path);
        if (readerInput == nullptr) return mismatches.push_back("not opened");
        Reader reader(readerInput);
        reader.SetSettings(settings);
        std::vector<std::size_t> order(count);
        for (std::size_t i = 0; i < count; ++i) order[i] = i;
        std::mt19937 shuffle(seed);
        for (int round = 0; round < 3; ++round) {
            if (round > 0) std::shuffle(order.begin(), order.end(), shuffle);
            for (const std::size_t i : order) {
                // Every third read is stopped at the first or second question asked, if it
                // asks that many.
                int asked = 0;
                const bool stopHere = shuffle() % 3 == 0;
                const int stopAt = 1 + static_cast<int>(shuffle() % 2);
                const ReaderStop stop = [&] { return stopHere && ++asked == stopAt; };
                const std::vector<std::uint8_t> got = read(reader, i, stop, shuffle() % 2 == 0);
                const bool stopped = stopHere && asked >= stopAt;
                if (stopped ? !got.empty() : got != expected[i]) mismatches.push_back(std::to_string(i));
            }
        }
    };
    std::vector<std::string> first, second;
    {
        std::jthread one(readAll, 1u, std::ref(first));
        std::jthread two(readAll, 2u, std::ref(second));
    }
    EXPECT_EQ(first, std::vector<std::string>{});
    EXPECT_EQ(second, std::vector<std::string>{});
}
