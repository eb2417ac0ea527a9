#pragma once

#include <csignal>
#include <sys/resource.h>

namespace pln::test {

// Runs the call while no file may grow beyond `limit` bytes, so a save
// larger than that fails in the middle of its write ("File too large"), as
// on a full disk.
template <class Call> void withFileSizeLimit(rlim_t limit, Call&& call) {
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    const rlimit limited{limit, previous.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limited);
    call();
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
}

} // namespace pln::test
