#pragma once

#include "support/scoped_env.h"

#include <unistd.h>

namespace pln::test {

// The temporary folder for a test: a memory file system where there is one.
// A killed process leaves what it wrote in the page cache whatever the
// medium, so nothing is lost to the test, and the run's length no longer
// depends on other programs' disk traffic.
inline std::optional<std::string> memoryTempFolder() {
    if (::access("/dev/shm", W_OK | X_OK) == 0)
        return "/dev/shm";
    const char* current = std::getenv("TMPDIR");
    return current ? std::optional<std::string>(current) : std::nullopt;
}

} // namespace pln::test
