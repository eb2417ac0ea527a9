#pragma once

#include "platform/named_mutex.h"

namespace pln {

// Kernel mutexes of the session's namespace. A name exists while any process
// holds a handle to it; the system closes the handles of a process that ends.
class Win32MutexService : public MutexService {
public:
    Result create(const std::string& name) override;
    bool isHeld(const std::string& name) override;
};

} // namespace pln
