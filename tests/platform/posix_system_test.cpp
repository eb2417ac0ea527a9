#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_mutex_service.h"
#include "platform/posix/posix_process_launcher.h"
#include "platform/posix/posix_system_info.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace pln {
namespace {

void setModificationTime(const std::string& path, std::int64_t seconds, long nanoseconds) {
    timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(PosixFileSystemTest, AnswersForFilesFoldersAndStamps) {
    test::TempDir dir;
    PosixFileSystem files;
    const std::string file = dir.write("known.met", "x");
    EXPECT_TRUE(files.fileExists(file));
    EXPECT_FALSE(files.folderExists(file));
    EXPECT_FALSE(files.fileExists(dir.path()));
    EXPECT_TRUE(files.folderExists(dir.path()));
    EXPECT_FALSE(files.fileExists(dir.file("absent")));

    EXPECT_TRUE(files.createFolder(dir.file("PLN/")));
    EXPECT_TRUE(files.createFolder(dir.file("PLN/")));
    EXPECT_TRUE(files.folderExists(dir.file("PLN")));
    EXPECT_FALSE(files.createFolder(dir.file("a/b")));
    EXPECT_FALSE(files.folderExists(dir.file("a")));
    EXPECT_FALSE(files.createFolder(file));

    // The stamp follows the modification time, to the millisecond.
    setModificationTime(file, 1'600'000'000, 123'999'999);
    EXPECT_EQ(files.modificationStamp(file), 1'600'000'000'123);
    dir.write("known.met", "y");
    setModificationTime(file, 1'600'000'002, 0);
    EXPECT_EQ(files.modificationStamp(file), 1'600'000'002'000);
    EXPECT_EQ(files.modificationStamp(dir.file("absent")), std::nullopt);
}

TEST(PosixSystemInfoTest, FoldersFollowHomeAndXdgVariables) {
    test::ScopedEnv home("HOME", "/home/tester/");
    test::ScopedEnv data("XDG_DATA_HOME", "/data/share/");
    test::ScopedEnv config("XDG_CONFIG_HOME", "relative");
    PosixSystemInfo system;
    EXPECT_EQ(system.knownFolder(KnownFolder::LocalAppData), "/data/share");
    EXPECT_EQ(system.knownFolder(KnownFolder::Downloads), "/home/tester/Downloads");
    EXPECT_EQ(system.knownFolder(KnownFolder::PublicDownloads), "/home/tester/Public");
    EXPECT_EQ(system.knownFolder(KnownFolder::ProgramData), "/var/lib");
    EXPECT_EQ(system.shellFolder(ShellFolder::AppData), "/home/tester/.config");
    EXPECT_EQ(system.shellFolder(ShellFolder::Personal), "/home/tester/Documents");
    {
        test::ScopedEnv noData("XDG_DATA_HOME", std::nullopt);
        EXPECT_EQ(system.knownFolder(KnownFolder::LocalAppData), "/home/tester/.local/share");
    }
    std::string exe = system.executablePath();
    EXPECT_EQ(exe.front(), '/');
    EXPECT_EQ(exe.substr(exe.rfind('/') + 1), "platform_tests");
}

// Local calendars of known instants across zones and summer time; the
// calendar counts days from 1899-12-30, so day 45244 is 2023-11-14.
TEST(PosixClockTest, LocalCalendarOfKnownInstants) {
    constexpr std::int64_t hourMs = 3'600'000;
    const std::int64_t instant = 1'700'004'600'123; // 2023-11-14 23:30:00.123 UTC
    const CalendarMs utc = 45'244 * msPerDay + 23 * hourMs + 1'800'123;
    const struct {
        const char* zone;
        std::int64_t unixMs;
        CalendarMs local;
    } rows[] = {
        {"UTC0", 0, unixEpochCalendarMs},
        {"UTC0", -1, unixEpochCalendarMs - 1},
        {"UTC0", instant, utc},
        {"CET-1CEST,M3.5.0,M10.5.0/3", instant, utc + hourMs},
        {"CET-1CEST,M3.5.0,M10.5.0/3", 1'688'212'800'000, 45'108 * msPerDay + 14 * hourMs},
        {"EST5", instant, utc - 5 * hourMs},
    };
    PosixClock clock;
    for (const auto& row : rows) {
        test::ScopedEnv tz("TZ", row.zone);
        EXPECT_EQ(clock.toLocalCalendar(row.unixMs), row.local) << row.zone << ' ' << row.unixMs;
    }
    EXPECT_GT(clock.nowUnixMs(), 1'700'000'000'000);
}

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
