#include "platform/posix/posix_mutex_service.h"
#include "support/other_process.h"
#include "support/temp_dir.h"

#include <atomic>
#include <gtest/gtest.h>
#include <set>
#include <thread>

namespace pln {
namespace {

const std::string viewerName =
    "/home/user/.local/share/eMule/config/dbed2574-6c42-4b54-8165-ddb3421b4d86_viewer";

TEST(PosixMutexServiceTest, NameHeldByAnotherProcessUntilItEnds) {
    test::TempDir dir;
    PosixMutexService mutexes(dir.path());
    test::OtherProcess other([&](const test::OtherProcess::Hold& hold) {
        PosixMutexService service(dir.path());
        hold(static_cast<char>(service.create(viewerName).outcome));
    });
    ASSERT_EQ(static_cast<MutexOutcome>(other.report()), MutexOutcome::Created);

    auto taken = mutexes.create(viewerName);
    EXPECT_EQ(taken.outcome, MutexOutcome::AlreadyExists);
    EXPECT_EQ(taken.handle, nullptr);
    EXPECT_TRUE(mutexes.isHeld(viewerName));
    auto recorder = mutexes.create(viewerName + "x");
    EXPECT_EQ(recorder.outcome, MutexOutcome::Created);

    EXPECT_TRUE(other.end());
    auto mine = mutexes.create(viewerName);
    EXPECT_EQ(mine.outcome, MutexOutcome::Created);
    EXPECT_NE(mine.handle, nullptr);
}

// A recorder that starts again and again while a viewer probes its mark:
// the probe takes nothing, so no start ever finds the name held.
TEST(PosixMutexServiceTest, ProbingNeverKeepsAStartingProgramFromTheName) {
    test::TempDir dir;
    PosixMutexService mutexes(dir.path());
    test::OtherProcess recorder([&](const test::OtherProcess::Hold& hold) {
        PosixMutexService service(dir.path());
        for (int start = 0; start < 20000; ++start)
            if (service.create(viewerName).outcome != MutexOutcome::Created)
                return hold('x');
        hold('k');
    });
    std::atomic<bool> stop = false;
    std::thread viewer([&] {
        while (!stop)
            (void)mutexes.isHeld(viewerName);
    });
    const char report = recorder.report();
    stop = true;
    viewer.join();
    EXPECT_EQ(report, 'k');
    EXPECT_TRUE(recorder.end());
    EXPECT_FALSE(mutexes.isHeld(viewerName));
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
