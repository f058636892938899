// Files put in place in the order they were queued, whatever order their writers end in.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "engine/output/output_queue.h"
#include "engine/output/task_runner.h"
#include "temp_dir.h"

using orv::FatalError;
using orv::OutputFile;
using orv::OutputQueue;

namespace {

// Holds every task until a waiting queue asks for one, then runs the newest first: the
// files are written in the reverse of their order.
class NewestFirstRunner : public orv::TaskRunner {
public:
    void Submit(orv::Task& task) override { tasks_.push_back(&task); }
    bool RunOne() override
    {
        if (tasks_.empty()) return false;
        orv::Task* task = tasks_.back();
        tasks_.pop_back();
        task->Run();
        return true;
    }

private:
    std::vector<orv::Task*> tasks_;
};

class OutputQueueTest : public ::testing::Test {
protected:
    OutputQueueTest() : folder_(::open(dir_.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) { }
    ~OutputQueueTest() override { ::close(folder_); }

    // Queues a picture of one byte, value, under name; the writer fails for a name of "".
    void AddPicture(OutputQueue& queue, const std::string& name, std::uint8_t value)
    {
        *queue.PictureBlock(1) = value;
        const int folder = folder_;
        const std::string path = dir_.slashed() + name;
        queue.AddPicture(
            [folder, name, path](const std::uint8_t* rows) {
                if (name.empty()) throw FatalError("cannot write");
                OutputFile out(folder, name, path);
                if (!out.Write(rows, 1)) throw FatalError("short write");
                return out;
            },
            &FatalError::CannotWrite);
    }

    TempDir dir_;
    const int folder_;
    NewestFirstRunner runner_;
};

}  // namespace

TEST_F(OutputQueueTest, FilesWrittenOutOfOrderArePutInPlaceInOrder)
{
    OutputQueue queue;
    queue.SetRunner(&runner_);
    std::vector<std::string> marks;
    for (int i = 0; i < 8; ++i) {
        // Two pictures of the same name: the later one is what stays.
        AddPicture(queue, i % 3 == 2 ? "same" : "p" + std::to_string(i), static_cast<std::uint8_t>(i));
        queue.AddMark([&, i] {
            marks.push_back(std::to_string(i));
            // Everything queued before the mark is in place when it runs.
            const std::string own = i % 3 == 2 ? "same" : "p" + std::to_string(i);
            EXPECT_EQ(ReadAll(dir_.path() / own), std::vector<std::uint8_t>{static_cast<std::uint8_t>(i)});
        });
    }
    queue.Flush();
    EXPECT_EQ(marks, (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6", "7"}));
    EXPECT_EQ(FilesIn(dir_.path()), (std::vector<std::string>{"p0", "p1", "p3", "p4", "p6", "p7", "same"}));
    EXPECT_EQ(ReadAll(dir_.path() / "same"), std::vector<std::uint8_t>{5});
}

TEST_F(OutputQueueTest, TheFirstFailureInOrderIsRaisedAndNothingAfterItIsPutInPlace)
{
    for (orv::TaskRunner* runner : {static_cast<orv::TaskRunner*>(&runner_), static_cast<orv::TaskRunner*>(nullptr)}) {
        std::filesystem::remove_all(dir_.path() / "p0");
        OutputQueue queue;
        queue.SetRunner(runner);
        std::string raised;
        try {
            AddPicture(queue, "p0", 0);
            AddPicture(queue, "", 1);
            // Written before the failure above is seen, when the runner runs newest first.
            AddPicture(queue, "p2", 2);
            queue.Add(OutputFile(folder_, "p3", dir_.slashed() + "p3"), &FatalError::CannotWrite);
            AddPicture(queue, "p4", 4);
            queue.Flush();
        } catch (const FatalError& error) {
            raised = error.what();
        }
        EXPECT_EQ(raised, "cannot write");
        EXPECT_EQ(FilesIn(dir_.path()), std::vector<std::string>{"p0"});
    }
}
