#include "platform/posix/posix_mutex_service.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace pln {
namespace {

const std::string viewerName =
    "/home/user/.local/share/eMule/config/dbed2574-6c42-4b54-8165-ddb3421b4d86_viewer";

// A second process that takes the name, reports the outcome and holds the
// name until told to end.
class OtherProcess {
public:
    OtherProcess(const std::string& folder, const std::string& name) {
        if (::pipe(toParent_) != 0 || ::pipe(toChild_) != 0)
            throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            PosixMutexService service(folder);
            auto result = service.create(name);
            char outcome = static_cast<char>(result.outcome);
            char go;
            if (::write(toParent_[1], &outcome, 1) != 1 || ::read(toChild_[0], &go, 1) < 0)
                ::_exit(2);
            ::_exit(0);
        }
    }
    ~OtherProcess() { end(); }
    MutexOutcome outcome() {
        char outcome = -1;
        EXPECT_EQ(::read(toParent_[0], &outcome, 1), 1);
        return static_cast<MutexOutcome>(outcome);
    }
    void end() {
        if (pid_ <= 0)
            return;
        EXPECT_EQ(::write(toChild_[1], "x", 1), 1);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        EXPECT_EQ(status, 0);
        pid_ = -1;
        for (int fd : {toParent_[0], toParent_[1], toChild_[0], toChild_[1]})
            ::close(fd);
    }

private:
    int toParent_[2] = {-1, -1};
    int toChild_[2] = {-1, -1};
    pid_t pid_ = -1;
};

TEST(PosixMutexServiceTest, NameHeldByAnotherProcessUntilItEnds) {
    test::TempDir dir;
    PosixMutexService mutexes(dir.path());
    OtherProcess other(dir.path(), viewerName);
    ASSERT_EQ(other.outcome(), MutexOutcome::Created);

    auto taken = mutexes.create(viewerName);
    EXPECT_EQ(taken.outcome, MutexOutcome::AlreadyExists);
    EXPECT_EQ(taken.handle, nullptr);
    EXPECT_TRUE(mutexes.isHeld(viewerName));
    auto recorder = mutexes.create(viewerName + "x");
    EXPECT_EQ(recorder.outcome, MutexOutcome::Created);

    other.end();
    auto mine = mutexes.create(viewerName);
    EXPECT_EQ(mine.outcome, MutexOutcome::Created);
    EXPECT_NE(mine.handle, nullptr);
}

TEST(PosixMutexServiceTest, HandleHoldsTheNameUntilReleased) {
    test::TempDir dir;
    PosixMutexService mutexes(dir.path());
    auto first = mutexes.create("a/b");
    ASSERT_EQ(first.outcome, MutexOutcome::Created);
    EXPECT_EQ(mutexes.create("a/b").outcome, MutexOutcome::AlreadyExists);
    EXPECT_EQ(mutexes.create("a%2Fb").outcome, MutexOutcome::Created);
    first.handle.reset();
    EXPECT_FALSE(mutexes.isHeld("a/b"));
}

TEST(PosixMutexServiceTest, UnusableLockFolderDeniesAccess) {
    test::TempDir dir;
    PosixMutexService mutexes(dir.write("plain file", "x") + "/locks");
    EXPECT_EQ(mutexes.create(viewerName).outcome, MutexOutcome::AccessDenied);

    dir.mkdir("locks/" + PosixMutexService::lockFileName("taken"));
    PosixMutexService inFolder(dir.file("locks"));
    EXPECT_EQ(inFolder.create("taken").outcome, MutexOutcome::AccessDenied);
    EXPECT_EQ(inFolder.create("free").outcome, MutexOutcome::Created);
}

TEST(PosixMutexServiceTest, LockFileNamesAreSafeShortAndDistinct) {
    std::string folder(300, 'f');
    std::set<std::string> files;
    for (const std::string& name :
         {viewerName, std::string("a/b"), std::string("a%2Fb"), std::string("."), std::string(".."),
          std::string(""), "/" + folder + "/x_viewer", "/" + folder + "/x_recorder",
          "/" + folder + "a/x_viewer", "/" + folder + "/" + std::string(200, '\xE9')}) {
        std::string file = PosixMutexService::lockFileName(name);
        EXPECT_LE(file.size(), 205u) << name;
        EXPECT_EQ(file.find('/'), std::string::npos) << name;
        EXPECT_NE(file, ".");
        EXPECT_NE(file, "..");
        files.insert(file);
    }
    EXPECT_EQ(files.size(), 10u);
    EXPECT_EQ(PosixMutexService::lockFileName("/x y_viewer"), "%2Fx%20y_viewer.lock");
}

} // namespace
} // namespace pln
