#include "platform/posix/posix_process_launcher.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace pln {

namespace {

// Words are separated by blanks, except inside double quotes, which are
// dropped: "--config "/home/ann/My eMule/config"" gives two words.
std::vector<std::string> splitAtBlanks(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (!word.empty())
                words.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty())
        words.push_back(std::move(word));
    return words;
}

// Runs in the grandchild: only async-signal-safe calls from here on.
[[noreturn]] void execProgram(const char* path, char* const* argv, int reportFd) {
    int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        if (null > STDERR_FILENO)
            ::close(null);
    }
    if (reportFd > STDERR_FILENO + 1)
        ::close_range(STDERR_FILENO + 1, static_cast<unsigned>(reportFd) - 1, 0);
    ::close_range(static_cast<unsigned>(reportFd) + 1, ~0U, 0);
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    for (int sig = 1; sig < NSIG; ++sig)
        ::sigaction(sig, &dfl, nullptr);
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::execv(path, argv);
    int error = errno;
    (void)!::write(reportFd, &error, sizeof error);
    ::_exit(127);
}

} // namespace

bool PosixProcessLauncher::runProgram(const std::string& path, const std::string& parameters) {
    std::vector<std::string> words = splitAtBlanks(parameters);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(path.c_str()));
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    // The grandchild reports a failed exec through this pipe; a successful
    // exec closes it, so the parent reads end of file.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return false;
    // Standard output may be closed in this process; the report must not
    // land where the grandchild puts /dev/null.
    if (report[1] <= STDERR_FILENO) {
        int moved = ::fcntl(report[1], F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
        ::close(report[1]);
        if (moved < 0) {
            ::close(report[0]);
            return false;
        }
        report[1] = moved;
    }
    pid_t intermediate = ::fork();
    if (intermediate == 0) {
        ::close(report[0]);
        ::setsid();
        pid_t program = ::fork();
        if (program == 0)
            execProgram(path.c_str(), argv.data(), report[1]);
        if (program < 0) {
            int error = errno;
            (void)!::write(report[1], &error, sizeof error);
        }
        ::_exit(0);
    }
    ::close(report[1]);
    if (intermediate < 0) {
        ::close(report[0]);
        return false;
    }
    while (::waitpid(intermediate, nullptr, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t n;
    while ((n = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    return n == 0;
}

} // namespace pln
