// Inputs that are no regular files, named like archives and animations: a folder is
// passed over, anything else reported as a file that cannot be opened; nothing waits on
// them, and the batch goes on.
#include <sys/stat.h>

#include "fault_fixture.h"

namespace faults {
namespace {

using orv::tools::BytesOf;

TEST_F(FaultTest, InputsThatAreNoRegularFilesAreReportedAndPassedOver)
{
    const std::string fifo = (in() / "pipe.dat").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);  // no writer: reading it would wait forever
    std::filesystem::create_directory(in() / "folder.ani");
    std::filesystem::create_symlink("/dev/zero", in() / "zero.dat");  // reading it would never end
    const std::string good = Input("good.dat", orv::tools::BuildPack({{"a.txt", BytesOf("a")}}));

    const auto result = Convert({fifo, (in() / "folder.ani").string(), (in() / "zero.dat").string(), good});
    EXPECT_EQ(result.exitCode, 3);  // the batch went on, but not every input was read
    // Reported in command-line order, whatever order they were taken up in.
    const auto notRegular = [](const std::string& path) {
        return "orvconv-cli: ファイルを開けません！\n" + path + ": not a regular file\n";
    };
    EXPECT_EQ(result.err,
              notRegular(fifo) + PassedOverLine((in() / "folder.ani").string(), kAFolder)
                  + notRegular((in() / "zero.dat").string()));
    EXPECT_EQ(result.out, kFinished);
    EXPECT_EQ(FilesIn(root()), std::vector<std::string>{"good"});
    EXPECT_EQ(ReadAll(root() / "good" / "a.txt"), BytesOf("a"));
}

}  // namespace
}  // namespace faults
