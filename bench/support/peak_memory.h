#pragma once

// The peak resident memory a piece of work adds: the memory the process
// freed before is given back to the system, the kernel's high-water mark is
// brought down to what is then resident, and what it has risen to is read
// back afterwards. Without the first step the work would reuse what the
// benchmark's own set-up freed, and seem to need less than it does.

#include <fstream>
#include <malloc.h>
#include <stdexcept>
#include <string>

namespace pln::bench {

class PeakMemory {
public:
    PeakMemory() { restart(); }

    void restart() {
        ::malloc_trim(0);
        std::ofstream clear("/proc/self/clear_refs");
        clear << "5";
        clear.close();
        if (!clear)
            throw std::runtime_error("the peak resident memory cannot be reset");
        startKb_ = statusKb("VmRSS:");
    }

    double addedMegabytes() const {
        return static_cast<double>(statusKb("VmHWM:") - startKb_) / 1024.0;
    }

private:
    static long statusKb(const std::string& field) {
        std::ifstream status("/proc/self/status");
        std::string word;
        while (status >> word)
            if (word == field) {
                long kb = 0;
                status >> kb;
                return kb;
            }
        throw std::runtime_error("no " + field + " in /proc/self/status");
    }

    long startKb_ = 0;
};

} // namespace pln::bench
