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

// A recorder that starts again and again while a viewer probes its mark:
// the probe takes nothing, so no start ever finds the name held. The name
// the recorder then keeps is held until its process ends.
TEST(PosixMutexServiceTest, ProbesNeverKeepAStartingProgramFromTheName) {
    test::TempDir dir;
    PosixMutexService mutexes(dir.path());
    test::OtherProcess recorder([&](const test::OtherProcess::Hold& hold) {
        PosixMutexService service(dir.path());
        for (int start = 0; start < 20000; ++start)
            if (service.create(viewerName).outcome != MutexOutcome::Created)
                return hold('x');
        auto kept = service.create(viewerName);
        hold(kept.outcome == MutexOutcome::Created ? 'k' : 'x');
    });
    std::atomic<bool> stop = false;
    std::thread viewer([&] {
        while (!stop)
            (void)mutexes.isHeld(viewerName);
    });
    const char report = recorder.report();
    stop = true;
    viewer.join();
    ASSERT_EQ(report, 'k');

    auto taken = mutexes.create(viewerName);
    EXPECT_EQ(taken.outcome, MutexOutcome::AlreadyExists);
    EXPECT_EQ(taken.handle, nullptr);
    EXPECT_TRUE(mutexes.isHeld(viewerName));
    EXPECT_FALSE(mutexes.isHeld(viewerName + "x"));
    EXPECT_EQ(mutexes.create(viewerName + "x").outcome, MutexOutcome::Created);

    EXPECT_TRUE(recorder.end());
    EXPECT_FALSE(mutexes.isHeld(viewerName));
    auto mine = mutexes.create(viewerName);
    EXPECT_EQ(mine.outcome, MutexOutcome::Created);
    EXPECT_NE(mine.handle, nullptr);
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
