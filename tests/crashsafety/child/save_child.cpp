// A program that rewrites files through the viewer's own code, for the tests
// that kill the rewrite in the middle. It reads everything once and writes
// 'R' to its standard output, then serves
// one rewrite for each byte on its standard input, each in a process of its
// own so that it can be killed: it writes that process's id (a native int)
// to its standard output, and, after the next byte, the process's end: 'S'
// when the rewrite succeeded, 'K' when it was killed, 'F' when it failed.
//
//   pln_save_child known KNOWN_MET           every file's counters go up by one
//   pln_save_child compress FOLDER NOW DAYS  compresses the logs of FOLDER
//   pln_save_child connruntime FOLDER        writes the ConnRunTime correction back

#include "common/error.h"
#include "common/prompter.h"
#include "emulefiles/core/known_met.h"
#include "logstore/core/compress.h"
#include "logstore/core/conn_run_time.h"
#include "logstore/core/dos_date_time.h"
#include "logstore/core/log_files.h"
#include "platform/platform.h"

#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace pln;

struct FailingPrompter : Prompter {
    void showError(const std::string& text) override {
        std::cerr << text << '\n';
        failed = true;
    }
    void showWarning(const std::string& text) override { showError(text); }
    void showInformation(const std::string&) override {}
    bool confirm(const std::string&) override { return false; }
    bool failed = false;
};

using Rewrite = std::function<bool()>;

int serve(const Rewrite& rewrite) {
    char request = 'R';
    if (::write(STDOUT_FILENO, &request, 1) != 1)
        return 1;
    while (::read(STDIN_FILENO, &request, 1) == 1) {
        pid_t pid = ::fork();
        if (pid == 0) {
            bool ok = false;
            try {
                ok = rewrite();
            } catch (const std::exception& e) {
                std::cerr << e.what() << '\n';
            }
            ::_exit(ok ? 0 : 1);
        }
        if (pid < 0 || ::write(STDOUT_FILENO, &pid, sizeof pid) != sizeof pid)
            return 1;
        // The process stays unreaped until asked, so its id cannot be reused
        // by another process while the test may still kill it.
        int status = 0;
        if (::read(STDIN_FILENO, &request, 1) != 1 || ::waitpid(pid, &status, 0) != pid)
            return 1;
        char end = WIFSIGNALED(status) ? 'K' : WEXITSTATUS(status) == 0 ? 'S' : 'F';
        if (::write(STDOUT_FILENO, &end, 1) != 1)
            return 1;
    }
    return 0;
}

int serveKnownMet(const std::string& path) {
    NativePlatform platform;
    tKnownMet knownMet(path, platform.services().files, platform.services().clock);
    knownMet.load();
    tKnownMetList& list = *knownMet.list();
    for (std::size_t i = 0; i < list.count(); ++i) {
        tKnownMetRecord& record = list.record(i);
        record.setRequested(record.getRequested() + 1);
        record.setAccepted(record.getAccepted() + 1);
        record.setTransferred(record.getTransferred() + 1);
    }
    return serve([&] {
        knownMet.save();
        return true;
    });
}

int serveLogs(const std::vector<std::string>& args) {
    FailingPrompter prompter;
    tDetachedRecorderLink detached;
    tLogFiles logs({args[1], prompter, detached});
    logs.scanLogs();
    if (args[0] == "connruntime")
        return serve([&] { return writeBackConnRunTime(logs) && !prompter.failed; });
    std::optional<CalendarMs> now = parseIsoDateTime(args[2]);
    if (!now)
        throw Error("bad date: " + args[2]);
    int days = std::stoi(args[3]);
    return serve(
        [&] { return compressLogs(logs, days, *now).failures.empty() && !prompter.failed; });
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 2 && args[0] == "known")
            return serveKnownMet(args[1]);
        if ((args.size() == 4 && args[0] == "compress") ||
            (args.size() == 2 && args[0] == "connruntime"))
            return serveLogs(args);
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    std::cerr << "usage: pln_save_child known KNOWN_MET | compress FOLDER NOW DAYS | "
                 "connruntime FOLDER\n";
    return 2;
}
