#pragma once

#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <thread>
#include <sstream>
#include <string>
#include <vector>

// A real process of the program under test, its stdout and stderr caught in files.
class Process {
public:
    struct Result {
        int exitCode = -1;  // -1 when it did not exit normally
        int signal = 0;  // the signal that ended it, when one did
        std::string out;
        std::string err;
        bool timedOut = false;  // killed when the time given to Wait ran out
        long peakKb = 0;  // the largest resident set it had, in KiB
    };

    // Runs in the child before the program starts; a result other than 0 ends the
    // child at once with that exit code.
    using ChildSetup = std::function<int()>;

    // Starts program with args; a file-size limit in bytes applies to it alone.
    Process(const std::string& program, const std::vector<std::string>& args, const std::filesystem::path& captureDir,
            std::optional<rlim_t> fileSizeLimit = {}, const ChildSetup& setup = {}) :
        outPath_(captureDir / "stdout.txt"), errPath_(captureDir / "stderr.txt")
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
        if (setup) {
            if (const int code = setup()) ::_exit(code);
        }
        std::vector<char*> cargs;
        for (std::string& arg : argv) cargs.push_back(arg.data());
        cargs.push_back(nullptr);
        ::execv(program.c_str(), cargs.data());
        ::_exit(127);
    }

    pid_t pid() const { return pid_; }

    // Waits for the end of the program; one still running after limit is killed.
    Result Wait(std::optional<std::chrono::milliseconds> limit = {})
    {
        int status = 0;
        rusage usage{};
        Result result;
        if (limit) {
            const auto deadline = std::chrono::steady_clock::now() + *limit;
            while (::wait4(pid_, &status, WNOHANG, &usage) == 0) {
                if (std::chrono::steady_clock::now() >= deadline) {
                    ::kill(pid_, SIGKILL);
                    ::wait4(pid_, &status, 0, &usage);
                    result.timedOut = true;
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        } else {
            ::wait4(pid_, &status, 0, &usage);
        }
        result.peakKb = usage.ru_maxrss;
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
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
