#include "platform/posix/posix_mutex_service.h"
#include "platform/posix/posix_process_launcher.h"
#include "support/temp_dir.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace pln {
namespace {

struct PosixProcessLauncherTest : testing::Test {
    test::TempDir dir;
    PosixProcessLauncher launcher;
};

std::optional<std::string> waitForFile(const std::string& path) {
    for (int i = 0; i < 500; ++i) {
        if (std::filesystem::exists(path))
            return test::readText(path);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::nullopt;
}

// The program runs detached, in a session of its own, with its arguments
// split at blanks; while it still runs, a mutex its starter held is free
// again once the starter lets it go.
TEST_F(PosixProcessLauncherTest, StartsProgramDetachedWithBlankSeparatedArguments) {
    PosixMutexService mutexes(dir.mkdir("locks"));
    auto held = mutexes.create("recorder");
    ASSERT_EQ(held.outcome, MutexOutcome::Created);
    std::string out = dir.file("out");
    std::string script = dir.write("report.sh", "#!/bin/sh\n{ printf '%s|' \"$@\"; readlink "
                                                "/proc/self/fd/0; cut -d' ' -f6 /proc/$$/stat; } "
                                                "> \"$1.tmp\"\nmv \"$1.tmp\" \"$1\"\nsleep 2\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    ASSERT_TRUE(launcher.runProgram(script, "  " + out + "  alpha\tbeta "));
    auto report = waitForFile(out);
    ASSERT_TRUE(report);
    std::string firstLine = out + "|alpha|beta|/dev/null\n";
    ASSERT_EQ(report->substr(0, firstLine.size()), firstLine);
    std::string session = report->substr(firstLine.size());
    EXPECT_FALSE(session.empty());
    EXPECT_NE(session, std::to_string(::getsid(0)) + "\n") << "a session of its own";
    held.handle.reset();
    EXPECT_EQ(mutexes.create("recorder").outcome, MutexOutcome::Created);
}

TEST_F(PosixProcessLauncherTest, FailsForMissingOrNonExecutableProgram) {
    EXPECT_FALSE(launcher.runProgram(dir.file("PLN"), ""));
    EXPECT_FALSE(launcher.runProgram(dir.write("PLN", "#!/bin/sh\n"), ""));
    EXPECT_FALSE(launcher.runProgram("", ""));
}

} // namespace
} // namespace pln
