#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_mutex_service.h"
#include "platform/posix/posix_port_probe.h"
#include "platform/posix/posix_process_launcher.h"
#include "platform/posix/posix_system_info.h"
#include "support/other_process.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <set>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace pln::test {
namespace {

using namespace std::chrono_literals;
using std::chrono::file_clock;

TEST(PosixFileSystemTest, AnswersForFilesFoldersAndStamps) {
    TempDir dir;
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
    std::filesystem::last_write_time(
        file, file_clock::from_sys(std::chrono::sys_seconds(1'600'000'000s)) + 123'999'999ns);
    EXPECT_EQ(files.modificationStamp(file), 1'600'000'000'123);
    dir.write("known.met", "y");
    std::filesystem::last_write_time(
        file, file_clock::from_sys(std::chrono::sys_seconds(1'600'000'002s)));
    EXPECT_EQ(files.modificationStamp(file), 1'600'000'002'000);
    EXPECT_EQ(files.modificationStamp(dir.file("absent")), std::nullopt);
}

TEST(PosixSystemInfoTest, FoldersFollowHomeAndXdgVariables) {
    ScopedEnv home("HOME", "/home/tester/");
    ScopedEnv data("XDG_DATA_HOME", "/data/share/");
    ScopedEnv config("XDG_CONFIG_HOME", "relative");
    PosixSystemInfo system;
    EXPECT_EQ(system.knownFolder(KnownFolder::LocalAppData), "/data/share");
    EXPECT_EQ(system.knownFolder(KnownFolder::Downloads), "/home/tester/Downloads");
    EXPECT_EQ(system.knownFolder(KnownFolder::PublicDownloads), "/home/tester/Public");
    EXPECT_EQ(system.knownFolder(KnownFolder::ProgramData), "/var/lib");
    EXPECT_EQ(system.shellFolder(ShellFolder::AppData), "/home/tester/.config");
    EXPECT_EQ(system.shellFolder(ShellFolder::Personal), "/home/tester/Documents");
    {
        ScopedEnv noData("XDG_DATA_HOME", std::nullopt);
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
        ScopedEnv tz("TZ", row.zone);
        EXPECT_EQ(clock.toLocalCalendar(row.unixMs), row.local) << row.zone << ' ' << row.unixMs;
    }
    EXPECT_GT(clock.nowUnixMs(), 1'700'000'000'000);
}

// The program runs detached, in a session of its own, with its arguments
// split at blanks; while it still runs, a mutex its starter held is free
// again once the starter lets it go.
TEST(PosixProcessLauncherTest, StartsAnExecutableDetachedWithBlankSeparatedArguments) {
    TempDir dir;
    PosixProcessLauncher launcher;
    EXPECT_FALSE(launcher.runProgram(dir.file("PLN"), ""));
    EXPECT_FALSE(launcher.runProgram(dir.write("PLN", "#!/bin/sh\n"), ""));
    EXPECT_FALSE(launcher.runProgram("", ""));

    PosixMutexService mutexes(dir.mkdir("locks"));
    auto held = mutexes.create("recorder");
    ASSERT_EQ(held.outcome, MutexOutcome::Created);
    std::string out = dir.file("out");
    std::string script = dir.write("report.sh", "#!/bin/sh\n{ printf '%s|' \"$@\"; readlink "
                                                "/proc/self/fd/0; cut -d' ' -f6 /proc/$$/stat; } "
                                                "> \"$1.tmp\"\nmv \"$1.tmp\" \"$1\"\nsleep 2\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    ASSERT_TRUE(launcher.runProgram(script, "  " + out + "  alpha\tbeta "));
    // The script moves its report into place whole.
    for (int i = 0; i < 500 && !std::filesystem::exists(out); ++i)
        std::this_thread::sleep_for(10ms);
    std::string report = readText(out);
    std::string firstLine = out + "|alpha|beta|/dev/null\n";
    ASSERT_EQ(report.substr(0, firstLine.size()), firstLine);
    std::string session = report.substr(firstLine.size());
    EXPECT_FALSE(session.empty());
    EXPECT_NE(session, std::to_string(::getsid(0)) + "\n") << "a session of its own";
    held.handle.reset();
    EXPECT_EQ(mutexes.create("recorder").outcome, MutexOutcome::Created);
}

const std::string viewerName =
    "/home/user/.local/share/eMule/config/dbed2574-6c42-4b54-8165-ddb3421b4d86_viewer";

// A recorder that starts again and again while a viewer probes its mark:
// the probe takes nothing, so no start ever finds the name held. The name
// the recorder then keeps is held until its process ends.
TEST(PosixMutexServiceTest, ProbesNeverKeepAStartingProgramFromTheName) {
    TempDir dir;
    PosixMutexService mutexes(dir.path());
    OtherProcess recorder([&](const OtherProcess::Hold& hold) {
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

TEST(PosixMutexServiceTest, LockFileNamesAreSafeAndDistinctAndUnusableLocksDenyAccess) {
    const std::string folder = "/" + std::string(300, 'f');
    std::set<std::string> files;
    for (const std::string& name :
         std::vector<std::string>{viewerName, "a/b", "a%2Fb", ".", "..", "", folder + "/x_viewer",
                                  folder + "/x_recorder", folder + "a/x_viewer",
                                  folder + "/" + std::string(200, '\xE9')}) {
        std::string file = PosixMutexService::lockFileName(name);
        EXPECT_TRUE(file.size() <= 205 && file.find('/') == std::string::npos && file != "." &&
                    file != "..")
            << name << ": " << file;
        files.insert(file);
    }
    EXPECT_EQ(files.size(), 10u);
    EXPECT_EQ(PosixMutexService::lockFileName("/x y_viewer"), "%2Fx%20y_viewer.lock");

    TempDir dir;
    PosixMutexService unusable(dir.write("plain file", "x") + "/locks");
    EXPECT_EQ(unusable.create(viewerName).outcome, MutexOutcome::AccessDenied);
    dir.mkdir("locks/" + PosixMutexService::lockFileName("taken"));
    PosixMutexService inFolder(dir.file("locks"));
    EXPECT_EQ(inFolder.create("taken").outcome, MutexOutcome::AccessDenied);
    EXPECT_EQ(inFolder.create("free").outcome, MutexOutcome::Created);
}

// A socket on the given port (0: one the system picks), listening or only
// bound; closed with the object. The family's port field lies at the same
// place for both.
struct Socket {
    Socket(int family, bool listening, std::uint16_t wanted = 0) {
        fd = ::socket(family, SOCK_STREAM, 0);
        sockaddr_in6 address{};
        address.sin6_family = static_cast<sa_family_t>(family);
        address.sin6_port = htons(wanted);
        socklen_t length = family == AF_INET6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in);
        auto* raw = reinterpret_cast<sockaddr*>(&address);
        ok = fd >= 0 && ::bind(fd, raw, length) == 0 && (!listening || ::listen(fd, 1) == 0) &&
             ::getsockname(fd, raw, &length) == 0;
        port = ntohs(address.sin6_port);
    }
    ~Socket() { ::close(fd); }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    int fd = -1;
    bool ok = false;
    std::uint16_t port = 0;
};

class PosixPortProbeTest : public ::testing::TestWithParam<int> {};

// Only a listening socket counts, and the probe binds nothing: once the
// listener is gone another program listens on the port at once.
TEST_P(PosixPortProbeTest, OnlyAListenerTakesThePortAndTheProbeLeavesItFree) {
    PosixPortProbe probe;
    std::uint16_t port = 0;
    {
        Socket bound(GetParam(), false);
        ASSERT_TRUE(bound.ok) << "no socket of family " << GetParam();
        EXPECT_FALSE(probe.tcpPortInUse(bound.port));
        Socket listener(GetParam(), true);
        ASSERT_TRUE(listener.ok);
        port = listener.port;
        EXPECT_TRUE(probe.tcpPortInUse(port));
    }
    EXPECT_FALSE(probe.tcpPortInUse(port));
    OtherProcess eMule([&](const OtherProcess::Hold& hold) {
        Socket again(AF_INET, true, port);
        hold(again.ok ? 'k' : 'x');
    });
    EXPECT_EQ(eMule.report(), 'k');
    EXPECT_TRUE(probe.tcpPortInUse(port));
    EXPECT_TRUE(eMule.end());
}

INSTANTIATE_TEST_SUITE_P(Families, PosixPortProbeTest, ::testing::Values(AF_INET, AF_INET6));

} // namespace
} // namespace pln::test
