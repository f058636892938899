#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "engine/base/fatal_error.h"
#include "engine/base/text.h"
#include "engine/read/reader.h"
#include "engine_fixture.h"
#include "animation_bytes.h"
#include "bmp_header.h"
#include "picture_bytes.h"
#include "random_archive.h"
#include "settings/settings_file.h"

using namespace orv;
using orv::tools::Bytes;

namespace {

// Bytes read through a callback, counting what is read.
struct CountedBytes {
    Bytes bytes;
    std::uint64_t read = 0;

    std::shared_ptr<ByteSource> Source()
    {
        return CallbackSource(bytes.size(), [this](std::uint64_t offset, void* destination, std::uint32_t n) {
            std::memcpy(destination, bytes.data() + offset, n);
            read += n;
            return true;
        });
    }
};

// Everything a reader gives for every entry, read in entry order: pixels, frames, samples, bytes.
std::vector<Bytes> EveryEntry(Reader& reader)
{
    std::vector<Bytes> all;
    for (const InputEntry& entry : reader.entries()) {
        Bytes got;
        try {
            switch (entry.kind) {
            case EntryKind::Animation:
                for (const RenderedFrame& frame : reader.Animation(entry.index)) {
                    got.insert(got.end(), frame.image.rgb.begin(), frame.image.rgb.end());
                    got.insert(got.end(), frame.bytes.begin(), frame.bytes.end());
                    got.push_back(static_cast<std::uint8_t>(frame.number));
                }
                break;
            case EntryKind::Picture: {
                const RenderedPicture picture = reader.Picture(entry.index);
                got = picture.action == PictureAction::Drawn ? picture.image.rgb : picture.bytes;
                break;
            }
            case EntryKind::Sound: got = reader.Sound(entry.index).samples; break;
            case EntryKind::Other: got = reader.Bytes(entry.index); break;
            }
        } catch (const FatalError& error) {
            const std::string text = error.what();
            got.assign(text.begin(), text.end());
        }
        all.push_back(std::move(got));
    }
    return all;
}

void ExpectSameInput(const orv::Input& a, const orv::Input& b)
{
    EXPECT_EQ(a.kind(), b.kind());
    EXPECT_EQ(a.name(), b.name());
    EXPECT_EQ(a.pastEnd(), b.pastEnd());
    EXPECT_EQ(a.tablePastEnd(), b.tablePastEnd());
    ASSERT_EQ(a.entries().size(), b.entries().size());
    for (std::size_t i = 0; i < a.entries().size(); ++i) {
        const InputEntry& x = a.entries()[i];
        const InputEntry& y = b.entries()[i];
        EXPECT_EQ(std::memcmp(&x.stored, &y.stored, sizeof x.stored), 0) << i;
        EXPECT_EQ(std::tie(x.index, x.size, x.shown, x.kind, x.pastEnd),
                  std::tie(y.index, y.size, y.shown, y.kind, y.pastEnd))
            << i;
    }
}

}  // namespace

class InputTest : public EngineTest { };

// Generated archives (whole, cut short, with hostile records) and animation files, each
// opened from its path, a descriptor, memory and a read callback: the same entries, the
// same renderings, and conversion writes the same files.
TEST_F(InputTest, BytesDescriptorsAndCallbacksReadAsThePathDoes)
{
    for (unsigned seed = 1; seed <= 30; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        RandomArchive random(seed);
        std::string settingsText;
        const bool animationFile = seed % 5 == 0;
        const std::string name
            = (animationFile ? "Walk" : "Data") + std::to_string(seed) + (animationFile ? ".ANI" : ".DAT");
        Bytes bytes;
        if (animationFile) {
            const int frames = random.Int(1, 6);
            bytes = random.Animation(12, frames);
            settingsText = random.Settings(AsciiLower(name), frames);
        } else {
            bytes = random.Archive(random.Int(1, 20), 10, settingsText);
        }
        if (seed % 3 == 0) bytes.resize(static_cast<std::size_t>(random.Int(4, static_cast<int>(bytes.size()))));
        if (seed % 7 == 0 && !animationFile) {
            for (int b = 16; b < 24; ++b) bytes[6 + b] = random.Byte();
        }
        const std::string path = Input(name, bytes);
        const std::shared_ptr<const SettingsFile> settings = SettingsFile::FromBytes(settingsText);
        const InputKind kind = animationFile ? InputKind::Animation : InputKind::Archive;

        auto fromPath = std::make_shared<orv::Input>();
        ASSERT_EQ(fromPath->Open(path), orv::Input::Opened::Yes);
        auto fromDescriptor = std::make_shared<orv::Input>();
        ASSERT_EQ(fromDescriptor->Open(::open(path.c_str(), O_RDONLY | O_CLOEXEC), path, kind),
                  orv::Input::Opened::Yes);
        auto held = std::make_shared<const Bytes>(bytes);
        auto fromMemory = std::make_shared<orv::Input>();
        ASSERT_EQ(fromMemory->Open(MemorySource(held, held->data(), held->size()), path, kind),
                  orv::Input::Opened::Yes);
        CountedBytes counted{bytes};
        auto fromCallback = std::make_shared<orv::Input>();
        ASSERT_EQ(fromCallback->Open(counted.Source(), path, kind), orv::Input::Opened::Yes);

        Reader reference(fromPath);
        reference.SetSettings(settings);
        const std::vector<Bytes> expected = EveryEntry(reference);
        for (const auto& other : {fromDescriptor, fromMemory, fromCallback}) {
            ExpectSameInput(*fromPath, *other);
            Reader reader(other);
            reader.SetSettings(settings);
            EXPECT_EQ(EveryEntry(reader), expected);
        }

        // What conversion into a folder of its own writes, and the text it ended with (the
        // folder named OUT in it).
        converter.options.iniFile = settings.get();
        const auto convert = [&](const orv::Input& input, const std::string& folder) {
            converter.options.exeDir = (dir.path() / folder).string() + "/";
            try {
                converter.ConvertInput(input);
            } catch (const FatalError& error) {
                std::string text = error.what();
                const std::size_t at = text.find(converter.options.exeDir);
                if (at != std::string::npos) text.replace(at, converter.options.exeDir.size(), "OUT/");
                return text;
            }
            return std::string();
        };
        EXPECT_EQ(convert(*fromMemory, "memory"), convert(*fromPath, "path"));
        EXPECT_EQ(TreeOf(dir.path() / "memory"), TreeOf(dir.path() / "path"));
        std::filesystem::remove_all(dir.path() / "path");
        std::filesystem::remove_all(dir.path() / "memory");
    }
}

// Entries read in order, with the settings given once, read each entry's bytes as often
// as conversion does; an input given to the reader is never read whole again.
TEST_F(InputTest, ReadingInOrderWithSettingsReadsWhatConversionReads)
{
    RandomArchive random(5);
    std::vector<tools::PackItem> items;
    std::string settingsText;
    for (int i = 0; i < 200; ++i) {
        const int frames = random.Int(2, 5);
        const std::string name = "a" + std::to_string(i) + ".ani";
        items.push_back({name, random.Animation(12, frames)});
        settingsText += random.Settings(name, frames);
    }
    const std::shared_ptr<const SettingsFile> settings = SettingsFile::FromBytes(settingsText);
    CountedBytes converted{tools::BuildPack(items)};
    CountedBytes read{converted.bytes};

    orv::Input input;
    ASSERT_EQ(input.Open(converted.Source(), "many.dat", InputKind::Archive), orv::Input::Opened::Yes);
    converted.read = 0;
    converter.options.iniFile = settings.get();
    converter.ConvertInput(input);

    auto opened = std::make_shared<orv::Input>();
    ASSERT_EQ(opened->Open(read.Source(), "many.dat", InputKind::Archive), orv::Input::Opened::Yes);
    read.read = 0;
    Reader reader(opened);
    std::size_t frames = 0;
    for (std::size_t i = 0; i < reader.entries().size(); ++i) {
        reader.SetSettings(settings);
        frames += reader.Animation(i).size();
    }
    EXPECT_GT(frames, reader.entries().size());
    EXPECT_GT(converted.read, converted.bytes.size() / 2);
    EXPECT_EQ(read.read, converted.read);
}

// Limits below conversion's refuse what lies beyond them with the memory error, and read
// what lies within them as before.
TEST_F(InputTest, LimitsRefuseWhatLiesBeyondThem)
{
    // Every pixel a token of its own: the larger picture is the larger entry.
    Bytes big = PictureBytes::Full(40, 30, {{0, 1, 2, 3}}, {0x80});
    big.insert(big.end(), 40 * 30 - 1, 0x80);
    const Bytes small = PictureBytes::Full(2, 2, {{0, 1, 2, 3}}, {0x80});
    const Bytes walk = AnimationOf({small, big});
    const std::string path
        = Input("limits.dat", tools::BuildPack({{"big.cg", big}, {"small.cg", small}, {"walk.ani", walk}}));
    const auto readWith = [&](const ReadLimits& limits, std::size_t i) {
        auto input = std::make_shared<orv::Input>();
        EXPECT_EQ(input->Open(path), orv::Input::Opened::Yes);
        input->SetLimits(limits);
        Reader reader(input);
        try {
            return i == 2 ? std::to_string(reader.Animation(i).size()) : std::to_string(reader.Picture(i).image.width);
        } catch (const FatalError& error) {
            return std::string(error.what());
        }
    };
    const std::string memoryError = FatalError::OutOfMemory().what();
    EXPECT_EQ(readWith({}, 0), "40");
    EXPECT_EQ(readWith({.entryBytes = small.size()}, 0), memoryError);
    EXPECT_EQ(readWith({.entryBytes = small.size()}, 1), "2");
    EXPECT_EQ(readWith({.pictureBytes = 40 * 30 * 3 - 1}, 0), memoryError);
    EXPECT_EQ(readWith({.pictureBytes = 40 * 30 * 3 - 1}, 1), "2");
    EXPECT_EQ(readWith({.pictureBytes = 40 * 30 * 3 - 1}, 2), memoryError);
    EXPECT_EQ(readWith({.heldBytes = 40 * 30 * 3}, 2), memoryError);
    EXPECT_EQ(readWith({.heldBytes = 40 * 30 * 3 + 2 * 2 * 3}, 2), "2");
}

// What is no input, opened from a descriptor or from bytes, is told as a path tells it.
TEST_F(InputTest, DescriptorsOfOtherThingsAreRefusedAsPathsAre)
{
    const std::string path = Input("data.dat", tools::BuildPack({{"a.txt", tools::BytesOf("a")}}));
    orv::Input input;
    EXPECT_EQ(input.Open(::open(inDir().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC), "in.dat", InputKind::Archive),
              orv::Input::Opened::NotAnInput);
    EXPECT_EQ(input.passedOver(), PassedOver::Folder);
    EXPECT_EQ(input.Open(::open(path.c_str(), O_WRONLY | O_CLOEXEC), path, InputKind::Archive),
              orv::Input::Opened::CannotOpen);
    const std::string fifo = (inDir() / "pipe.dat").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(input.Open(::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC), fifo, InputKind::Archive),
              orv::Input::Opened::CannotOpen);
    EXPECT_EQ(input.openError(), 0);
    const auto text = std::make_shared<const Bytes>(tools::BytesOf("not an archive"));
    EXPECT_EQ(input.Open(MemorySource(text, text->data(), text->size()), "text.dat", InputKind::Archive),
              orv::Input::Opened::NotAnInput);
    EXPECT_EQ(input.passedOver(), PassedOver::NotAPackArchive);
    EXPECT_EQ(input.Open(MemorySource(text, text->data(), text->size()), "text.txt", InputKindOf("text.txt")),
              orv::Input::Opened::NotAnInput);
    EXPECT_EQ(input.passedOver(), PassedOver::NotAnInputName);
    EXPECT_TRUE(input.entries().empty());
}
