#include "common/byte_writer.h"
#include "emulefiles/core/known_met_codec.h"
#include "logstore/core/dos_date_time.h"
#include "logstore/core/log_files.h"
#include "logstore/core/log_types.h"
#include "logstore/log_fixture.h"
#include "memory_folder.h"
#include "support/recording_prompter.h"
#include "support/temp_dir.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <poll.h>
#include <random>
#include <set>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace pln {
namespace {

using test::LogBytes;
using test::TempDir;
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

// 200 kills in all, fewer when the sanitizers slow every save down.
#ifdef PLN_SANITIZED
constexpr int scale = 2;
#else
constexpr int scale = 1;
#endif
constexpr std::size_t knownFiles = 20'000 / scale;

// The rewrite program: it reads the files once and then runs each rewrite in
// a process of its own, which the test may kill.
class RewriteServer {
public:
    explicit RewriteServer(std::vector<std::string> args) {
        int toServer[2], fromServer[2];
        if (::pipe(toServer) != 0 || ::pipe(fromServer) != 0)
            throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, toServer[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, fromServer[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, toServer[1]);
        posix_spawn_file_actions_addclose(&actions, fromServer[0]);
        args.insert(args.begin(), PLN_SAVE_CHILD);
        std::vector<char*> argv;
        for (auto& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        int error = ::posix_spawn(&pid_, PLN_SAVE_CHILD, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(toServer[0]);
        ::close(fromServer[1]);
        toServer_ = toServer[1];
        fromServer_ = fromServer[0];
        char ready = 0;
        if (error != 0 || ::read(fromServer_, &ready, 1) != 1 || ready != 'R')
            throw std::runtime_error("the rewrite program did not start");
    }
    ~RewriteServer() {
        ::close(toServer_);
        ::close(fromServer_);
        ::waitpid(pid_, nullptr, 0);
    }
    RewriteServer(const RewriteServer&) = delete;
    RewriteServer& operator=(const RewriteServer&) = delete;

    // Starts a rewrite; the id of its process, -1 when the server failed.
    pid_t start() {
        pid_t rewriter = -1;
        if (!send() || ::read(fromServer_, &rewriter, sizeof rewriter) != sizeof rewriter)
            return -1;
        return rewriter;
    }
    // Waits for the rewrite to end: 'S' succeeded, 'K' killed, 'F' failed.
    char end() {
        char status = 0;
        return send() && ::read(fromServer_, &status, 1) == 1 ? status : 0;
    }

private:
    bool send() { return ::write(toServer_, "G", 1) == 1; }

    pid_t pid_ = -1;
    int toServer_ = -1;
    int fromServer_ = -1;
};

// Notices the first write into a folder, so that half of the kills can be
// aimed at the moment the bytes go to disk.
class FolderWatch {
public:
    explicit FolderWatch(const std::string& folder)
        : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        ::inotify_add_watch(fd_, folder.c_str(), IN_CREATE | IN_MODIFY | IN_MOVED_TO);
    }
    ~FolderWatch() { ::close(fd_); }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Forgets what happened so far; true when anything had.
    bool drain() {
        alignas(inotify_event) char events[4096];
        bool any = false;
        while (::read(fd_, events, sizeof events) > 0)
            any = true;
        return any;
    }
    bool awaitWrite(std::chrono::milliseconds patience) {
        pollfd watched{fd_, POLLIN, 0};
        return ::poll(&watched, 1, static_cast<int>(patience.count())) == 1 && drain();
    }

private:
    int fd_;
};

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

std::set<std::string> entriesOf(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

std::string hashText(std::size_t i) {
    char text[33];
    std::snprintf(text, sizeof text, "%016zX%016zX", i * 0x9E3779B97F4A7C15u, i);
    return text;
}

Bytes knownMetOf(std::size_t count) {
    tKnownMetList list;
    for (std::size_t i = 0; i < count; ++i) {
        std::string name = "file " + std::to_string(i) + ".avi";
        list.append(name, tKnownMetRecord::createFromValues(name, hashText(i), i * 1000, i % 97,
                                                            i % 13, 700'000 + i, ""));
    }
    ByteWriter out;
    writeKnownMet(list, out);
    return out.buffer();
}

CalendarMs logStart() {
    return calendarDayOf(2026, 1, 1) * msPerDay;
}

// Records every 5 minutes over 20 days, some of them known-file logs.
std::map<std::string, Bytes> logsToCompress() {
    std::map<std::string, Bytes> logs;
    for (int n = 0; n < 12; ++n) {
        bool knownFile = n % 3 == 0;
        LogBytes log;
        if (knownFile)
            log.prefix(0);
        else
            log.prefix(1).header(valueTypeInteger, 0, 1, "units");
        for (std::uint32_t i = 0; i < 5'760; ++i) {
            dosDateTime stamp = calendarToDosDateTime(logStart() + i * 300'000LL);
            if (knownFile)
                log.knownFileRecord(stamp, i, i / 2, i * 10ull);
            else
                log.int32Record(stamp, static_cast<std::int32_t>(i * n));
        }
        std::string name =
            knownFile ? hashText(n) : "statistics.ini-statistics,Key" + std::to_string(n);
        logs[name + (knownFile ? ".pln_on" : ".pln_off")] = log.bytes();
    }
    return logs;
}

// eMule's run time over 40 days, restarting from zero two thirds of the way.
Bytes connRunTimeLog() {
    LogBytes log;
    log.prefix(1).header(valueTypeInteger, flagCumulative, 24, "Hours / day");
    for (std::int32_t i = 0; i < 57'600; ++i)
        log.int32Record(calendarToDosDateTime(logStart() + i * 60'000LL),
                        (i < 38'400 ? i : i - 38'400) * 60);
    return log.bytes();
}

struct Outcomes {
    int killed = 0;
    int completed = 0;
    int oldContents = 0;
    int newContents = 0;
    int strayFiles = 0;
};

// Kills a rewrite of the files of a folder at random moments: afterwards
// every file holds its old or its new contents, whole.
class KillTest : public ::testing::Test {
protected:
    KillTest() {
        std::signal(SIGPIPE, SIG_IGN);
        const char* fixed = std::getenv("PLN_KILL_SEED");
        seed = fixed ? static_cast<unsigned>(std::stoul(fixed)) : std::random_device()();
        std::cout << "PLN_KILL_SEED=" << seed << '\n';
        random.seed(seed);
    }

    void restore() {
        for (const auto& [name, bytes] : before)
            writeFile(dir.file(name), bytes);
    }
    // One undisturbed run gives the new contents and the length of the rewrite.
    void calibrate(RewriteServer& server) {
        restore();
        auto start = Clock::now();
        ASSERT_GT(server.start(), 0);
        ASSERT_EQ(server.end(), 'S');
        window = Clock::now() - start;
        for (const auto& [name, bytes] : before) {
            after[name] = test::readBytes(dir.file(name));
            ASSERT_NE(after[name], bytes) << name << " is not changed by the rewrite";
        }
        ASSERT_EQ(entriesOf(dir.path()).size(), before.size());
    }
    // The new contents of the logs are logs the viewer reads without complaint.
    void expectNewLogsLoad() {
        test::RecordingPrompter prompter;
        tDetachedRecorderLink detached;
        tLogFiles logs({dir.path(), prompter, detached});
        logs.scanLogs();
        ASSERT_EQ(logs.count(), before.size());
        for (const auto& log : logs.logs()) {
            log->loadValues();
            EXPECT_GT(log->recordCount(), 1) << log->name();
        }
        EXPECT_EQ(prompter.errors(), std::vector<std::string>{});
    }
    void killRepeatedly(RewriteServer& server, int iterations) {
        auto windowUs = std::chrono::duration_cast<std::chrono::microseconds>(window);
        std::uniform_int_distribution<std::int64_t> delay(0, windowUs.count() * 5 / 4);
        std::uniform_int_distribution<std::int64_t> delayAfterWrite(0, 3000);
        FolderWatch watch(dir.path());
        for (int i = 0; i < iterations / scale && !HasFailure(); ++i) {
            restore();
            watch.drain();
            pid_t rewriter = server.start();
            ASSERT_GT(rewriter, 0);
            bool aimed = i % 2 == 1 &&
                         watch.awaitWrite(std::chrono::duration_cast<std::chrono::milliseconds>(
                             2 * window + std::chrono::seconds(1)));
            std::this_thread::sleep_for(
                std::chrono::microseconds(aimed ? delayAfterWrite(random) : delay(random)));
            ::kill(rewriter, SIGKILL);
            char status = server.end();
            ASSERT_TRUE(status == 'K' || status == 'S') << status;
            ++(status == 'K' ? seen.killed : seen.completed);
            for (const auto& [name, bytes] : before) {
                Bytes now = test::readBytes(dir.file(name));
                bool isOld = now == bytes;
                EXPECT_TRUE(isOld || now == after[name])
                    << name << " holds " << now.size() << " bytes after kill " << i;
                ++(isOld ? seen.oldContents : seen.newContents);
            }
            int strays = 0;
            for (const std::string& name : entriesOf(dir.path())) {
                if (!before.contains(name)) {
                    ++strays;
                    std::filesystem::remove(dir.file(name));
                }
            }
            EXPECT_TRUE(status == 'K' || strays == 0) << "a finished rewrite left files behind";
            seen.strayFiles += strays;
        }
        std::cout << "kills: " << seen.killed + seen.completed << ", killed: " << seen.killed
                  << ", completed: " << seen.completed << ", files old: " << seen.oldContents
                  << ", new: " << seen.newContents << ", temporary files left: " << seen.strayFiles
                  << ", rewrite took " << window.count() / 1000 << " us\n";
    }

    unsigned seed = 0;
    std::mt19937 random;
    test::MemoryTempFolder memory;
    TempDir dir;
    std::map<std::string, Bytes> before;
    std::map<std::string, Bytes> after;
    Clock::duration window{};
    Outcomes seen;
};

TEST_F(KillTest, KnownMetIsOldOrNewWhereverTheSaveIsKilled) {
    before["known.met"] = knownMetOf(knownFiles);
    restore();
    RewriteServer server({"known", dir.file("known.met")});
    calibrate(server);
    ASSERT_EQ(readKnownMet(after["known.met"]).list.count(), knownFiles);
    killRepeatedly(server, 50);
}

TEST_F(KillTest, LogsAreOldOrNewWhereverCompressionIsKilled) {
    before = logsToCompress();
    before["statistics.ini-statistics,ConnRunTime.pln"] = connRunTimeLog();
    restore();
    RewriteServer server(
        {"compress", dir.path(), formatIsoDateTime(logStart() + 25 * msPerDay), "2"});
    calibrate(server);
    expectNewLogsLoad();
    killRepeatedly(server, 75);
}

TEST_F(KillTest, ConnRunTimeLogIsOldOrNewWhereverItsWriteBackIsKilled) {
    before["statistics.ini-statistics,ConnRunTime.pln"] = connRunTimeLog();
    restore();
    RewriteServer server({"connruntime", dir.path()});
    calibrate(server);
    expectNewLogsLoad();
    killRepeatedly(server, 75);
}

} // namespace
} // namespace pln
