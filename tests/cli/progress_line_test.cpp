// The progress line as a terminal shows it: orvconv-cli run with stderr on a
// pseudo-terminal, and every line it draws read back.
#include <gtest/gtest.h>

#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <regex>
#include <string>
#include <vector>

#include "build_paths.h"
#include "cli_fixture.h"

namespace {

using orv::tools::Bytes;

constexpr const char* kClearLine = "\r\x1b[K";

// orvconv-cli on a terminal 200 columns wide: what it wrote there, and how it ended.
class TerminalRun {
public:
    explicit TerminalRun(const std::vector<std::string>& args)
    {
        winsize size{};
        size.ws_col = 200;
        size.ws_row = 24;
        pid_ = ::forkpty(&terminal_, nullptr, nullptr, &size);
        if (pid_ == 0) {
            std::vector<char*> argv{const_cast<char*>(build_paths::kCli)};
            for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
            argv.push_back(nullptr);
            ::execv(build_paths::kCli, argv.data());
            ::_exit(127);
        }
    }
    ~TerminalRun()
    {
        if (terminal_ >= 0) ::close(terminal_);
    }
    TerminalRun(const TerminalRun&) = delete;
    TerminalRun& operator=(const TerminalRun&) = delete;

    pid_t pid() const { return pid_; }
    const std::string& output() const { return output_; }

    // Reads until the output holds text, or until the end when text is empty.
    bool ReadUntil(const std::string& text)
    {
        char buffer[4096];
        while (text.empty() || output_.find(text) == std::string::npos) {
            const ssize_t n = ::read(terminal_, buffer, sizeof buffer);
            if (n <= 0) return text.empty();
            output_.append(buffer, static_cast<std::size_t>(n));
        }
        return true;
    }
    // The exit status once all output is read.
    int Finish()
    {
        ReadUntil({});
        int status = 0;
        ::waitpid(pid_, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    // Each line drawn: the text between one clearing of the line and the next.
    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        for (std::size_t at = output_.find(kClearLine); at != std::string::npos;) {
            const std::size_t start = at + std::string(kClearLine).size();
            at = output_.find(kClearLine, start);
            lines.push_back(output_.substr(start, at == std::string::npos ? std::string::npos : at - start));
        }
        return lines;
    }

private:
    int terminal_ = -1;
    pid_t pid_ = -1;
    std::string output_;
};

// An archive of count raw entries of 16 KiB each: long enough to be drawn many times.
Bytes ManyEntries(std::size_t count)
{
    std::vector<orv::tools::PackItem> items;
    for (std::size_t i = 0; i < count; ++i) items.push_back({"e" + std::to_string(i) + ".bin", Bytes(16 * 1024, 1)});
    return orv::tools::BuildPack(items);
}

}  // namespace

TEST_F(CliTest, TheProgressLineShowsTheCounterAndPathOfOneInput)
{
    // Two inputs at once, told apart by their entry counts and their folders.
    const std::string small = Input("small.dat", ManyEntries(1500));
    const std::string large = Input("large.dat", ManyEntries(1700));
    TerminalRun run({"-j", "2", "-o", root().string(), small, large});
    EXPECT_EQ(run.Finish(), 0) << run.output();

    const std::regex drawn(R"(\[\d/2\] \[\d+/(\d+)\] (.*))");
    std::size_t checked = 0;
    for (const std::string& line : run.Lines()) {
        std::smatch parts;
        if (!std::regex_match(line, parts, drawn)) continue;
        const std::string folder = parts[1] == "1500" ? "/small/" : "/large/";
        EXPECT_NE(parts[2].str().find(folder), std::string::npos) << line;
        ++checked;
    }
    EXPECT_GT(checked, 2u) << run.output();
}

TEST_F(CliTest, ASecondSignalEndsTheProgressLineBeforeExiting)
{
    const std::string input = Input("long.dat", ManyEntries(4000));
    TerminalRun run({"-j", "1", "-o", root().string(), input});
    ASSERT_TRUE(run.ReadUntil("/4000] ")) << run.output();
    // Two different signals, so that the second is not merged into the first.
    ::kill(run.pid(), SIGINT);
    ::kill(run.pid(), SIGTERM);
    const int status = run.Finish();
    EXPECT_TRUE(status == 130 || status == 143) << status;
    // Nothing is left on the line the shell's prompt will take.
    ASSERT_FALSE(run.Lines().empty());
    EXPECT_EQ(run.Lines().back(), "") << run.output();
}
