// Inputs that are no regular files, named like archives and animations: each is
// reported as a file that cannot be opened, nothing waits on it, and the batch goes on.
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
    // Inputs may be converted side by side, so the reports may come in any order.
    std::size_t reported = 0;
    for (const std::string name : {"pipe.dat", "folder.ani", "zero.dat"}) {
        const std::string report = "ファイルを開けません！\n" + name + "\n";
        EXPECT_NE(result.err.find(report), std::string::npos) << result.err;
        reported += report.size();
    }
    EXPECT_EQ(result.err.size(), reported) << result.err;
    EXPECT_EQ(result.out, kFinished);
    EXPECT_EQ(FilesIn(root()), std::vector<std::string>{"good"});
    EXPECT_EQ(ReadAll(root() / "good" / "a.txt"), BytesOf("a"));
}

}  // namespace
}  // namespace faults
