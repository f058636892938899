// Runs short of what a process usually has: no standard streams, little memory for many
// workers, a listing whose table claims gigabytes. Each ends with its documented exit
// status; none crashes, and no message lands in an output file.
#include <fstream>

#include "bmp_header.h"
#include "fault_fixture.h"

namespace faults {
namespace {

namespace fs = std::filesystem;
using orv::tools::BuildPack;
using orv::tools::BytesOf;

bool Contains(const Bytes& haystack, const std::string& needle)
{
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
}

TEST_F(FaultTest, ClosedStandardStreamsNeverLandInOutputFiles)
{
    // Enough entries that output files are open while the messages are due.
    std::vector<orv::tools::PackItem> a;
    std::vector<orv::tools::PackItem> b;
    for (int i = 1; i <= 12; ++i) {
        a.push_back({"a" + std::to_string(i) + ".txt", BytesOf("entry a" + std::to_string(i))});
        b.push_back({"b" + std::to_string(i) + ".txt", BytesOf("entry b" + std::to_string(i))});
    }
    const std::string inputA = Input("a.dat", BuildPack(a));
    const std::string inputB = Input("b.dat", BuildPack(b));
    const std::string missing = (in() / "missing.dat").string();

    Limits limits;
    limits.setup = ClosedStandardStreams();
    const auto result = Convert({"-j", "2", inputA, missing, inputB}, limits);
    EXPECT_EQ(result.exitCode, 3);

    for (const auto& item : fs::recursive_directory_iterator(root())) {
        if (!item.is_regular_file()) continue;
        const Bytes bytes = ReadAll(item.path());
        EXPECT_FALSE(Contains(bytes, "ファイルを開けません")) << item.path();
        EXPECT_FALSE(Contains(bytes, "変換")) << item.path();
    }
    for (const auto& [folder, items] : {std::pair{"a", a}, std::pair{"b", b}}) {
        std::vector<std::string> names;
        for (const auto& item : items) {
            names.push_back(item.name);
            EXPECT_EQ(ReadAll(root() / folder / item.name), item.bytes) << folder << "/" << item.name;
        }
        std::sort(names.begin(), names.end());
        EXPECT_EQ(FilesIn(root() / folder), names) << folder;
    }
    EXPECT_EQ(WrittenOutside({"a", "b"}), std::vector<std::string>{});
}

// The child's stderr, and stdout too when asked, on a pipe nobody reads any more, as
// after `2>&1 | head -n 1`.
Process::ChildSetup OnAPipeWithoutReader(bool stdoutToo)
{
    return [stdoutToo] {
        int ends[2];
        if (::pipe(ends) != 0) return 126;
        ::close(ends[0]);
        if (::dup2(ends[1], STDERR_FILENO) < 0 || (stdoutToo && ::dup2(ends[1], STDOUT_FILENO) < 0)) return 126;
        ::close(ends[1]);
        return 0;
    };
}

TEST_F(FaultTest, AReaderOfTheMessagesThatGoesAwayEndsNothing)
{
    // Every converted input follows a message; the last one ends with the final message.
    std::vector<std::string> inputs;
    for (int i = 1; i <= 4; ++i) {
        const std::string name = "f" + std::to_string(i);
        inputs.push_back((in() / ("missing" + std::to_string(i) + ".dat")).string());
        inputs.push_back(Input(name + ".dat", BuildPack({{"x.txt", BytesOf(name)}})));
    }
    for (const bool stdoutToo : {false, true}) {
        SCOPED_TRACE(stdoutToo ? "stdout and stderr" : "stderr");
        fs::remove_all(root());
        Limits limits;
        limits.setup = OnAPipeWithoutReader(stdoutToo);
        const auto result = Convert(inputs, limits);
        // The statuses of the table: an input not opened, or stdout that cannot be written.
        EXPECT_EQ(result.exitCode, stdoutToo ? 1 : 3);
        for (int i = 1; i <= 4; ++i) {
            const std::string name = "f" + std::to_string(i);
            EXPECT_EQ(ReadAll(root() / name / "x.txt"), BytesOf(name)) << name;
        }
    }
}

// The child may open at most soft descriptors, up to hard once it raises its limit
// (none: the hard limit it had).
Process::ChildSetup DescriptorLimit(rlim_t soft, std::optional<rlim_t> hard)
{
    return [soft, hard] {
        rlimit limit{};
        ::getrlimit(RLIMIT_NOFILE, &limit);
        limit.rlim_cur = soft;
        if (hard) limit.rlim_max = *hard;
        return ::setrlimit(RLIMIT_NOFILE, &limit) == 0 ? 0 : 126;
    };
}

// Many threads asked for, few descriptors to be had: the threads are bounded by what
// the process may open, and every file is written, PNG pictures among them.
TEST_F(FaultTest, FewDescriptorsBoundTheThreadsInsteadOfFailingFiles)
{
    std::vector<std::string> inputs;
    for (int k = 0; k < 6; ++k) {
        std::vector<orv::tools::PackItem> items;
        for (int i = 0; i < 30; ++i) {
            const std::string stem = "e" + std::to_string(i);
            items.push_back(i % 2 == 0 ? orv::tools::PackItem{stem + ".cg", OnePixelPicture()}
                                       : orv::tools::PackItem{stem + ".txt", BytesOf(stem)});
        }
        inputs.push_back(Input("in" + std::to_string(k) + ".dat", BuildPack(items)));
    }
    // As `ulimit -n 64` leaves it, with -j 200; and a soft limit of 16 below a hard one
    // that allows more, with -j 4 (more threads would run into the fixture's memory bound).
    struct DescriptorCase {
        rlim_t soft;
        std::optional<rlim_t> hard;
        const char* jobs;
    };
    for (const DescriptorCase& c : {DescriptorCase{64, 64, "200"}, DescriptorCase{16, std::nullopt, "4"}}) {
        SCOPED_TRACE("soft limit " + std::to_string(c.soft));
        fs::remove_all(root());
        std::vector<std::string> args{"-f", "png", "-j", c.jobs};
        args.insert(args.end(), inputs.begin(), inputs.end());
        Limits limits;
        limits.setup = DescriptorLimit(c.soft, c.hard);
        const auto result = Convert(args, limits);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.err, "");
        for (int k = 0; k < 6; ++k) EXPECT_EQ(FilesIn(root() / ("in" + std::to_string(k))).size(), 30u) << k;
    }
}

// A picture of 3000 x 3000 pixels with a zero palette and one literal token: a few
// hundred bytes that need a canvas and a bitmap of 27 MB each.
Bytes LargeCanvasPicture()
{
    Bytes picture{0, 0xB8, 0x0B, 0xB8, 0x0B};
    picture.resize(picture.size() + 384, 0);
    picture.push_back(0x80);
    return picture;
}

TEST_F(FaultTest, ManyWorkersShortOfMemoryEndWithTheMemoryError)
{
    constexpr int kInputs = 8;
    constexpr std::uintmax_t kBmpBytes = 54 + 3000u * 3000u * 3u;  // rows of 9000 bytes need no padding
    std::vector<std::string> args{"-j", std::to_string(kInputs)};
    for (int i = 1; i <= kInputs; ++i)
        args.push_back(Input("big" + std::to_string(i) + ".dat", BuildPack({{"canvas.cg", LargeCanvasPicture()}})));

    // Under the sanitizer a limit bounds each block rather than their sum: only a
    // limit below one block can fail there. The largest leaves room for all eight.
    std::vector<rlim_t> mebibytes{64, 96, 128, 192, 256, 1024};
    if (kSanitized) mebibytes.front() = 16;
    for (const rlim_t limit : mebibytes) {
        SCOPED_TRACE(std::to_string(limit) + " MiB");
        Limits limits;
        limits.memory = limit << 20;
        const auto result = Convert(args, limits);
        EXPECT_TRUE(result.exitCode == 0 || result.exitCode == 1) << result.exitCode << "\n" << result.err;
        if (limit == mebibytes.front()) {
            EXPECT_EQ(result.exitCode, 1);
        }
        if (result.exitCode == 1) {
            EXPECT_TRUE(result.err.ends_with(kMemoryError)) << result.err;
        }
        if (result.exitCode == 0) {
            EXPECT_EQ(result.out, kFinished);
            for (int i = 1; i <= kInputs; ++i) {
                const fs::path bmp = root() / ("big" + std::to_string(i)) / "canvas.bmp";
                std::ifstream file(bmp, std::ios::binary);
                Bytes header(54);
                file.read(reinterpret_cast<char*>(header.data()), 54);
                const BmpHeader parsed = ParseBmpHeader(header);
                EXPECT_EQ(parsed.width, 3000) << bmp;
                EXPECT_EQ(parsed.height, 3000) << bmp;
                std::error_code missing;
                EXPECT_EQ(fs::file_size(bmp, missing), kBmpBytes) << bmp;
            }
        }
        for (int i = 1; i <= kInputs; ++i) fs::remove_all(root() / ("big" + std::to_string(i)));
    }
}

TEST_F(FaultTest, ListingATableClaimingGigabytesIsTheMemoryError)
{
    // 3 GiB, all but the first four bytes a hole: a frame table reaching to the end.
    const std::string input = Input("huge.ani", Bytes{0xFF, 0xFF, 0xFF, 0xFF});
    fs::resize_file(input, std::uintmax_t{3} << 30);
    const auto result = Convert({"--list", input});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, kMemoryError);
    EXPECT_EQ(result.out, "");
}

TEST_F(FaultTest, FilesWrittenBehindASlowPictureNeverRunOutOfDescriptors)
{
    // Noise in 128 colours: slow to compress, while hundreds of small entries after it
    // are written and wait to be put in place.
    orv::tools::CgPicture noise;
    noise.width = 1024;
    noise.height = 768;
    std::uint32_t state = 1;
    for (std::uint8_t& value : noise.palette) value = static_cast<std::uint8_t>(state = state * 1103515245 + 12345);
    noise.pixels.resize(std::size_t{noise.width} * noise.height);
    for (std::uint8_t& pixel : noise.pixels) pixel = (state = state * 1103515245 + 12345) >> 25;
    std::vector<orv::tools::PackItem> items;
    for (int round = 0; round < 2; ++round) {
        items.push_back({"noise" + std::to_string(round) + ".cg", orv::tools::EncodeCg(noise)});
        for (int i = 0; i < 600; ++i)
            items.push_back({std::to_string(round) + "_" + std::to_string(i) + ".txt", BytesOf(std::to_string(i))});
    }
    const std::string archive = Input("many.dat", BuildPack(items));

    Limits limits;
    limits.setup = [] {
        const rlimit few{32, 32};
        return ::setrlimit(RLIMIT_NOFILE, &few);
    };
    const auto result = Convert({"-q", "-f", "png", "-j", "2", archive}, limits);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(FilesIn(root() / "many").size(), items.size());
}

}  // namespace
}  // namespace faults
