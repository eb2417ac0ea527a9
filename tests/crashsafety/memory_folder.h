#pragma once

#include "support/scoped_env.h"

#include <optional>
#include <string>
#include <unistd.h>

namespace pln::test {

// Points the temporary folders of a test at a memory file system where there
// is one. A killed process leaves what it wrote in the page cache whatever
// the medium, so nothing is lost to the test, and the run's length no longer
// depends on other programs' disk traffic.
class MemoryTempFolder {
public:
    MemoryTempFolder() : env_("TMPDIR", folder()) {}

private:
    static std::optional<std::string> folder() {
        if (::access("/dev/shm", W_OK | X_OK) == 0)
            return "/dev/shm";
        if (const char* current = std::getenv("TMPDIR"))
            return current;
        return std::nullopt;
    }

    ScopedEnv env_;
};

} // namespace pln::test
