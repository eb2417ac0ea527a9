#pragma once

#include "platform/named_mutex.h"

namespace pln {

// A named mutex is a lock file per name, held with an open file description
// lock (fcntl(2)) for the life of the handle, so the name is free again when
// its process ends in any way; isHeld queries the lock without taking it.
class PosixMutexService : public MutexService {
public:
    // The lock files go to $XDG_RUNTIME_DIR when it is a writable folder,
    // else to /tmp/pln-<uid>.
    PosixMutexService();
    explicit PosixMutexService(std::string lockFolder);

    Result create(const std::string& name) override;
    bool isHeld(const std::string& name) override;

    // The file name of a mutex name: characters outside [A-Za-z0-9._-]
    // percent-encoded; a long result keeps its tail and gains a hash of the
    // whole name, so every name maps to its own file of at most 205 bytes.
    static std::string lockFileName(const std::string& name);

private:
    bool lockFolderUsable() const;

    std::string lockFolder_;
    bool privateFolder_; // created on demand and owned by this user only
};

} // namespace pln
