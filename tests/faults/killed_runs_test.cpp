// Runs stopped while a long sound entry is being written. A stop request (SIGTERM,
// SIGHUP, SIGINT) finishes that entry and starts no other; anything harder leaves the
// file that was there before untouched and no temporary file behind. The run is frozen
// with SIGSTOP once the entry is under way, so the signal lands at a known point.
#include <signal.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "fault_fixture.h"
#include "tools/sound_writer.h"

namespace faults {
namespace {

namespace fs = std::filesystem;
using orv::tools::BytesOf;

// Samples of the long entry: far above the 2,862,055 bytes read whole, so it is copied
// in chunks and takes many writes.
constexpr std::uint32_t kSampleBytes = 64u << 20;
constexpr std::uint64_t kWaveBytes = 44 + std::uint64_t{kSampleBytes};
// Written bytes past which the entry is surely under way.
constexpr std::uint64_t kUnderWay = 8u << 20;

const Bytes kOld = BytesOf("old");
const Bytes kAfter = BytesOf("written after the sound");

std::optional<std::uint64_t> WrittenBytes(pid_t pid)
{
    std::ifstream io("/proc/" + std::to_string(pid) + "/io");
    std::string key;
    std::uint64_t value = 0;
    while (io >> key >> value) {
        if (key == "wchar:") return value;
    }
    return std::nullopt;
}

// The state letter of /proc/<pid>/stat: 'T' stopped, 'Z' ended; 0 when unreadable.
char StateOf(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    const std::string line((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto paren = line.rfind(')');
    return paren == std::string::npos || paren + 2 >= line.size() ? 0 : line[paren + 2];
}

std::uint32_t Le32At(const Bytes& bytes, std::size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::string TextAt(const Bytes& bytes, std::size_t at, std::size_t n)
{
    return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                       bytes.begin() + static_cast<std::ptrdiff_t>(at + n));
}

// The whole WAVE file of the long entry: its size and its header, parsed by hand.
void ExpectCompleteWave(const fs::path& path)
{
    ASSERT_TRUE(fs::is_regular_file(path)) << path;
    EXPECT_EQ(fs::file_size(path), kWaveBytes);
    std::ifstream in(path, std::ios::binary);
    Bytes header(44);
    in.read(reinterpret_cast<char*>(header.data()), 44);
    ASSERT_EQ(in.gcount(), 44);
    EXPECT_EQ(TextAt(header, 0, 4), "RIFF");
    EXPECT_EQ(Le32At(header, 4), kWaveBytes - 8);
    EXPECT_EQ(TextAt(header, 8, 8), "WAVEfmt ");
    EXPECT_EQ(header[22], 2);  // channels
    EXPECT_EQ(Le32At(header, 24), 44100u);  // sample rate
    EXPECT_EQ(header[34], 16);  // bits per sample
    EXPECT_EQ(TextAt(header, 36, 4), "data");
    EXPECT_EQ(Le32At(header, 40), kSampleBytes);
}

class KilledRunTest : public FaultTest {
protected:
    fs::path folder() const { return root() / "long"; }
    fs::path wave() const { return folder() / "long.wav"; }

    // long.dat: the long sound entry, then (withAfter) a small raw one. The samples are
    // a hole in a sparse file, so the input takes almost no disk.
    std::string LongArchive(bool withAfter) const
    {
        const std::uint16_t count = withAfter ? 2 : 1;
        const std::uint32_t soundAt = 6 + 24 * count;
        const std::uint32_t soundBytes = 4 + kSampleBytes;
        Bytes head = orv::tools::PackHeader(count);
        orv::tools::AppendRecord(head, "long.pcm", soundAt, soundBytes);
        if (withAfter)
            orv::tools::AppendRecord(head, "after.txt", soundAt + soundBytes,
                                     static_cast<std::uint32_t>(kAfter.size()));
        head.insert(head.end(), {0, 0, 0, orv::kSoundStereo44100});
        const std::string path = Input("long.dat", head);
        fs::resize_file(path, soundAt + soundBytes);
        if (withAfter) {
            std::ofstream out(path, std::ios::binary | std::ios::app);
            out.write(reinterpret_cast<const char*>(kAfter.data()), static_cast<std::streamsize>(kAfter.size()));
        }
        return path;
    }

    void PlantOldWave() const
    {
        fs::remove_all(folder());
        fs::create_directory(folder());
        ASSERT_TRUE(orv::tools::WriteFileBytes(wave().string(), kOld));
    }

    // Waits until the run is writing the long entry, then freezes it with SIGSTOP.
    // False, with the run killed and the failure recorded, when it could not be caught
    // under way.
    static bool StopMidEntry(Process& process)
    {
        const pid_t pid = process.pid();
        const auto deadline = std::chrono::steady_clock::now() + kRunLimit;
        std::string failure;
        for (;;) {
            const std::optional<std::uint64_t> written = WrittenBytes(pid);
            if (!written || StateOf(pid) == 'Z') {
                failure = "the run ended before its entry was under way";
                break;
            }
            if (*written > kUnderWay) {
                ::kill(pid, SIGSTOP);
                while (StateOf(pid) != 'T' && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
                const std::optional<std::uint64_t> atStop = WrittenBytes(pid);
                if (StateOf(pid) != 'T') {
                    failure = "the run did not stop";
                } else if (!atStop || *atStop >= kWaveBytes) {
                    failure = "the entry was written before the stop landed";
                }
                break;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                failure = "the entry never got under way";
                break;
            }
        }
        if (failure.empty()) return true;
        ADD_FAILURE() << failure;
        ::kill(pid, SIGKILL);
        process.Wait(kRunLimit);
        return false;
    }
};

struct StopCase {
    const char* name;
    int signal;
    int exitCode;
};

TEST_F(KilledRunTest, AStopRequestFinishesTheEntryUnderWayAndNoOther)
{
    const std::string input = LongArchive(true);
    const std::vector<StopCase> cases{
        {"SIGTERM", SIGTERM, 128 + 15},
        {"SIGHUP", SIGHUP, 128 + 1},
        {"SIGINT", SIGINT, 128 + 2},
    };
    for (const StopCase& c : cases) {
        SCOPED_TRACE(c.name);
        PlantOldWave();
        Process process = Start({input});
        if (!StopMidEntry(process)) continue;
        ::kill(process.pid(), c.signal);
        ::kill(process.pid(), SIGCONT);
        const auto result = Finish(process);

        EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
        EXPECT_EQ(result.out, kCancelled);
        EXPECT_EQ(result.err, "");
        ExpectCompleteWave(wave());
        EXPECT_EQ(FilesIn(folder()), std::vector<std::string>{"long.wav"});
    }
    fs::remove_all(folder());
}

TEST_F(KilledRunTest, AKilledRunLeavesTheOldFileAndTheNextRunWritesEverything)
{
    const std::string input = LongArchive(true);
    PlantOldWave();
    Process process = Start({input});
    ASSERT_TRUE(StopMidEntry(process));
    ::kill(process.pid(), SIGKILL);
    Finish(process);
    EXPECT_EQ(ReadAll(wave()), kOld);
    EXPECT_EQ(FilesIn(folder()), std::vector<std::string>{"long.wav"});

    const auto result = Convert({input});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, kFinished);
    ExpectCompleteWave(wave());
    EXPECT_EQ(ReadAll(folder() / "after.txt"), kAfter);
    EXPECT_EQ(FilesIn(folder()), (std::vector<std::string>{"after.txt", "long.wav"}));
}

TEST_F(KilledRunTest, ASecondSignalWhileStoppingEndsTheRunAtOnce)
{
    const std::string input = LongArchive(true);
    PlantOldWave();
    Process process = Start({input});
    ASSERT_TRUE(StopMidEntry(process));
    // Both are pending when the run goes on: the first asks it to stop, the second
    // ends it.
    ::kill(process.pid(), SIGINT);
    ::kill(process.pid(), SIGTERM);
    ::kill(process.pid(), SIGCONT);
    const auto result = Finish(process);

    EXPECT_TRUE(result.exitCode == 128 + SIGINT || result.exitCode == 128 + SIGTERM)
        << result.exitCode << " " << result.err;
    EXPECT_EQ(ReadAll(wave()), kOld);
    EXPECT_EQ(FilesIn(folder()), std::vector<std::string>{"long.wav"});
}

TEST_F(KilledRunTest, CtrlCDuringTheLastEntryCutsNothingShort)
{
    const std::string input = LongArchive(false);
    PlantOldWave();
    Process process = Start({input});
    ASSERT_TRUE(StopMidEntry(process));
    ::kill(process.pid(), SIGINT);
    ::kill(process.pid(), SIGCONT);
    const auto result = Finish(process);

    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, kFinished);
    ExpectCompleteWave(wave());
    EXPECT_EQ(FilesIn(folder()), std::vector<std::string>{"long.wav"});
}

TEST_F(KilledRunTest, AnInputThatShrinksUnderTheRunIsTheReadError)
{
    const std::string input = LongArchive(true);
    PlantOldWave();
    Process process = Start({input});
    ASSERT_TRUE(StopMidEntry(process));
    fs::resize_file(input, 1u << 20);
    ::kill(process.pid(), SIGCONT);
    const auto result = Finish(process);

    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, CliError("ファイル読み込みエラー！", input));
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(ReadAll(wave()), kOld);
    EXPECT_EQ(FilesIn(folder()), std::vector<std::string>{"long.wav"});
}

TEST_F(KilledRunTest, TemporaryFilesOfAKilledRunAreRemovedByTheNext)
{
    const std::string input = Input("long.dat",
                                    orv::tools::BuildPack({
                                        {"long.pcm", orv::tools::BuildSoundEntry(orv::kSoundStereo44100, {1, 2, 3, 4})},
                                        {"after.txt", kAfter},
                                    }));
    fs::create_directory(folder());
    const std::string leftover = ".orvconv-0123456789abcdef.tmp";
    // Names like it but not of that form belong to someone else.
    const std::vector<std::string> others{".orvconv-notes.txt", "keep.tmp", ".orvconv-0123456789abcde.tmp"};
    ASSERT_TRUE(orv::tools::WriteFileBytes((folder() / leftover).string(), BytesOf("half a file")));
    for (const std::string& name : others)
        ASSERT_TRUE(orv::tools::WriteFileBytes((folder() / name).string(), BytesOf(name)));

    const auto result = Convert({input});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, kFinished);
    std::vector<std::string> expected = others;
    expected.insert(expected.end(), {"after.txt", "long.wav"});
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FilesIn(folder()), expected);
    for (const std::string& name : others) EXPECT_EQ(ReadAll(folder() / name), BytesOf(name)) << name;
}

}  // namespace
}  // namespace faults
