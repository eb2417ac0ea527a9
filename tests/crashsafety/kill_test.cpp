#include "crash_prelude.h"
#include "emulefiles/core/known_met.h"
#include "platform/posix/posix_clock.h"

#include <csignal>
#include <functional>
#include <map>
#include <sys/inotify.h>
#include <sys/wait.h>

namespace pln::test {
namespace {

using Clock = std::chrono::steady_clock;

// 200 kills in all, fewer when the sanitizers slow every save down.
constexpr std::uint32_t knownFiles = 20'000 / slowdown;

// Runs a rewrite in a forked process of its own, which the test may kill. The
// files were read before, so the child only writes.
using Rewrite = std::function<bool()>;

pid_t startRewrite(const Rewrite& rewrite) {
    pid_t pid = ::fork();
    if (pid == 0) {
        bool ok = false;
        try {
            ok = rewrite();
        } catch (const std::exception&) {
        }
        ::_exit(ok ? 0 : 1);
    }
    return pid;
}

// 'S' the rewrite succeeded, 'K' it was killed, 'F' it failed.
char endOf(pid_t rewriter) {
    int status = 0;
    if (::waitpid(rewriter, &status, 0) != rewriter)
        return 0;
    return WIFSIGNALED(status) ? 'K' : WEXITSTATUS(status) == 0 ? 'S' : 'F';
}

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

    // Forgets what happened so far.
    void drain() {
        alignas(inotify_event) char events[4096];
        while (::read(fd_, events, sizeof events) > 0) {
        }
    }
    bool awaitWrite(std::chrono::milliseconds patience) {
        pollfd watched{fd_, POLLIN, 0};
        return ::poll(&watched, 1, static_cast<int>(patience.count())) == 1;
    }

private:
    int fd_;
};

const CalendarMs logStart = calendarDayOf(2026, 1, 1) * msPerDay;

// Records every 5 minutes over 20 days, some of them known-file logs.
std::map<std::string, Bytes> logsToCompress() {
    std::map<std::string, Bytes> logs;
    for (int n = 0; n < 12; ++n) {
        bool knownFile = n % 3 == 0;
        LogBytes log =
            knownFile ? LogBytes::known() : LogBytes::stats(valueTypeInteger, 0, 1, "units");
        for (std::uint32_t i = 0; i < 5'760; ++i) {
            dosDateTime stamp = calendarToDosDateTime(logStart + i * 300'000LL);
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
    LogBytes log = LogBytes::stats(valueTypeInteger, flagCumulative, 24, "Hours / day");
    for (std::int32_t i = 0; i < 57'600; ++i)
        log.int32Record(calendarToDosDateTime(logStart + i * 60'000LL),
                        (i < 38'400 ? i : i - 38'400) * 60);
    return log.bytes();
}

// Kills a rewrite of the files of a folder at random moments: afterwards
// every file holds its old or its new contents, whole.
class KillTest : public ::testing::Test {
protected:
    KillTest() {
        const char* fixed = std::getenv("PLN_KILL_SEED");
        unsigned seed = fixed ? static_cast<unsigned>(std::stoul(fixed)) : std::random_device()();
        std::cout << "PLN_KILL_SEED=" << seed << '\n';
        random.seed(seed);
    }

    void restore() {
        for (const auto& [name, bytes] : before)
            dir.write(name, bytes);
    }
    // Writes the logs and reads them as the viewer does before a rewrite.
    void scanLogs(std::map<std::string, Bytes> files) {
        before = std::move(files);
        restore();
        logs.scanLogs();
        ASSERT_EQ(prompter.errors(), std::vector<std::string>{});
    }
    // One undisturbed run gives the new contents and the length of the
    // rewrite; new logs are logs the viewer reads without complaint.
    void calibrate(const Rewrite& rewrite) {
        restore();
        auto start = Clock::now();
        ASSERT_EQ(endOf(startRewrite(rewrite)), 'S');
        window = Clock::now() - start;
        for (const auto& [name, bytes] : before) {
            after[name] = readBytes(dir.file(name));
            ASSERT_NE(after[name], bytes) << name << " is not changed by the rewrite";
        }
        ASSERT_EQ(dir.entryCount(), before.size());
        if (logs.count() == 0)
            return;
        RecordingPrompter reader;
        tLogFiles loaded({dir.path(), reader, detached});
        loaded.scanLogs();
        ASSERT_EQ(loaded.count(), before.size());
        for (const auto& log : loaded.logs()) {
            log->loadValues();
            EXPECT_GT(log->recordCount(), 1) << log->name();
        }
        EXPECT_EQ(reader.errors(), std::vector<std::string>{});
    }
    void killRepeatedly(const Rewrite& rewrite, int iterations) {
        calibrate(rewrite);
        auto windowUs = std::chrono::duration_cast<std::chrono::microseconds>(window);
        std::uniform_int_distribution<std::int64_t> delay(0, windowUs.count() * 5 / 4);
        std::uniform_int_distribution<std::int64_t> delayAfterWrite(0, 3000);
        FolderWatch watch(dir.path());
        int killed = 0, oldFiles = 0, newFiles = 0, strayFiles = 0;
        for (int i = 0; i < iterations / slowdown && !HasFailure(); ++i) {
            restore();
            watch.drain();
            pid_t rewriter = startRewrite(rewrite);
            ASSERT_GT(rewriter, 0);
            bool aimed = i % 2 == 1 &&
                         watch.awaitWrite(std::chrono::duration_cast<std::chrono::milliseconds>(
                             2 * window + std::chrono::seconds(1)));
            std::this_thread::sleep_for(
                std::chrono::microseconds(aimed ? delayAfterWrite(random) : delay(random)));
            ::kill(rewriter, SIGKILL);
            char status = endOf(rewriter);
            ASSERT_TRUE(status == 'K' || status == 'S') << status;
            killed += status == 'K';
            for (const auto& [name, bytes] : before) {
                Bytes now = readBytes(dir.file(name));
                bool isOld = now == bytes;
                EXPECT_TRUE(isOld || now == after[name])
                    << name << " holds " << now.size() << " bytes after kill " << i;
                ++(isOld ? oldFiles : newFiles);
            }
            int strays = 0;
            for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
                strays += !before.contains(entry.path().filename().string()) &&
                          std::filesystem::remove(entry.path());
            EXPECT_TRUE(status == 'K' || strays == 0) << "a finished rewrite left files behind";
            strayFiles += strays;
        }
        std::cout << "kills: " << iterations / slowdown << ", killed: " << killed
                  << ", files old: " << oldFiles << ", new: " << newFiles
                  << ", temporary files left: " << strayFiles << ", rewrite took "
                  << window.count() / 1000 << " us\n";
    }

    std::mt19937 random;
    ScopedEnv memory{"TMPDIR", memoryTempFolder()};
    TempDir dir;
    std::map<std::string, Bytes> before;
    std::map<std::string, Bytes> after;
    Clock::duration window{};
    RecordingPrompter prompter;
    tDetachedRecorderLink detached;
    tLogFiles logs{{dir.path(), prompter, detached}};
};

TEST_F(KillTest, KnownMetIsOldOrNewWhereverTheSaveIsKilled) {
    std::vector<KnownFile> files;
    for (std::uint32_t i = 0; i < knownFiles; ++i)
        files.push_back({"file " + std::to_string(i) + ".avi", hashText(i), i * 1000ull, i % 97,
                         i % 13, 700'000ull + i});
    before["known.met"] = knownMetOf(files);
    restore();
    PosixFileSystem fileSystem;
    PosixClock clock;
    tKnownMet knownMet(dir.file("known.met"), fileSystem, clock);
    knownMet.load();
    for (std::size_t i = 0; i < knownMet.list()->count(); ++i) {
        tKnownMetRecord& record = knownMet.list()->record(i);
        record.setTransferred(record.getTransferred() + 1);
    }
    killRepeatedly([&] { return knownMet.save(), true; }, 50);
    EXPECT_EQ(readKnownMet(after["known.met"]).list.count(), knownFiles);
}

TEST_F(KillTest, LogsAreOldOrNewWhereverCompressionIsKilled) {
    std::map<std::string, Bytes> files = logsToCompress();
    files["statistics.ini-statistics,ConnRunTime.pln"] = connRunTimeLog();
    scanLogs(std::move(files));
    Rewrite compress = [&] {
        return compressLogs(logs, 2, logStart + 25 * msPerDay).failures.empty() &&
               prompter.shown.empty();
    };
    killRepeatedly(compress, 75);
}

TEST_F(KillTest, ConnRunTimeLogIsOldOrNewWhereverItsWriteBackIsKilled) {
    scanLogs({{"statistics.ini-statistics,ConnRunTime.pln", connRunTimeLog()}});
    killRepeatedly([&] { return writeBackConnRunTime(logs) && prompter.shown.empty(); }, 75);
}

} // namespace
} // namespace pln::test
