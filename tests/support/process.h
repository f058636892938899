#pragma once

#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

// A real process of the program under test, its stdout and stderr caught in files.
class Process {
public:
    struct Result {
        int exitCode = -1;  // -1 when it did not exit normally
        std::string out;
        std::string err;
    };

    // Starts program with args; a file-size limit in bytes applies to it alone.
    Process(const std::string& program, const std::vector<std::string>& args,
            const std::filesystem::path& captureDir, std::optional<rlim_t> fileSizeLimit = {})
        : outPath_(captureDir / "stdout.txt"), errPath_(captureDir / "stderr.txt")
    {
        std::vector<std::string> argv{program};
        argv.insert(argv.end(), args.begin(), args.end());
        pid_ = ::fork();
        if (pid_ != 0) return;
        Redirect(outPath_, STDOUT_FILENO);
        Redirect(errPath_, STDERR_FILENO);
        if (fileSizeLimit) {
            const rlimit limit{*fileSizeLimit, *fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        std::vector<char*> cargs;
        for (std::string& arg : argv) cargs.push_back(arg.data());
        cargs.push_back(nullptr);
        ::execv(program.c_str(), cargs.data());
        ::_exit(127);
    }

    pid_t pid() const { return pid_; }

    Result Wait()
    {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        Result result;
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = Slurp(outPath_);
        result.err = Slurp(errPath_);
        return result;
    }

private:
    static void Redirect(const std::filesystem::path& path, int target)
    {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(fd, target);
        ::close(fd);
    }

    static std::string Slurp(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path outPath_;
    std::filesystem::path errPath_;
    pid_t pid_ = -1;
};
