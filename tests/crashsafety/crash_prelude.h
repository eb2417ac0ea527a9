#pragma once

// What the crash-safety tests share: an eMule profile and logs built byte by
// byte in a memory folder, read and rewritten by the viewer's own code.
#include "logstore/core/compress.h"
#include "logstore/core/conn_run_time.h"
#include "logstore/core/log_files.h"
#include "platform/posix/posix_file_system.h"
#include "recorder/recorder_profile.h"
#include "support/recording_prompter.h"
#include "support/scoped_env.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <poll.h>
#include <random>
#include <thread>
#include <unistd.h>

namespace pln::test {

// Sanitizers slow every write down: the runs do less.
#ifdef PLN_SANITIZED
inline constexpr int slowdown = 2;
#else
inline constexpr int slowdown = 1;
#endif

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

// A hash of its own for every number, as a known file's hex digits.
inline std::string hashText(std::size_t i) {
    char text[33];
    std::snprintf(text, sizeof text, "%016zX%016zX", i * 0x9E3779B97F4A7C15u, i);
    return text;
}

} // namespace pln::test
