#pragma once

#include <memory>
#include <string>

namespace pln {

enum class MutexOutcome {
    Created,       // this process owns the name now
    AlreadyExists, // another process holds the name
    AccessDenied,  // the name cannot be opened at all
};

// Ownership of a named mutex; the name is released when this is destroyed.
class NamedMutex {
public:
    virtual ~NamedMutex() = default;
};

class MutexService {
public:
    virtual ~MutexService() = default;

    struct Result {
        MutexOutcome outcome = MutexOutcome::AccessDenied;
        // Held only when the outcome is Created.
        std::unique_ptr<NamedMutex> handle;
    };
    virtual Result create(const std::string& name) = 0;
    // Whether some process holds the name (or it cannot be opened). The name
    // is never taken, not even for a moment: a program creating it at the
    // same instant must not find it held by the probe.
    virtual bool isHeld(const std::string& name) = 0;
};

} // namespace pln
