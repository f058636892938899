// orvpack --help as a terminal shows it.
#include <gtest/gtest.h>

#include <sstream>

#include "orvpack_fixture.h"

TEST_F(OrvpackTest, HelpStartsWithUsageFitsEightyColumnsAndShowsFolderAsAFolder)
{
    const Process::Result help = Pack({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.starts_with("Usage: orvpack [OPTIONS] FOLDER\n")) << help.out;
    std::istringstream lines(help.out);
    bool folderShown = false;
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(line.size(), 80u) << line;
        if (line.starts_with("  FOLDER")) {
            folderShown = true;
            EXPECT_EQ(line.find("FILE"), std::string::npos) << line;
        }
    }
    EXPECT_TRUE(folderShown) << help.out;
}
