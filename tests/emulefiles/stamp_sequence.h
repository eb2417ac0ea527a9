#pragma once

#include "platform/fake_platform.h"

#include <deque>

namespace pln::test {

// Real files named in the fake file system, whose stamps come from a queue
// (one per query, then the map's stamp), so that a file changing in the
// middle of a read can be staged.
struct StampSequence : FakeFileSystem {
    std::deque<std::optional<FileStamp>> next;
    std::optional<FileStamp> modificationStamp(const std::string& path) override {
        if (next.empty())
            return FakeFileSystem::modificationStamp(path);
        auto stamp = next.front();
        next.pop_front();
        return stamp;
    }
};

} // namespace pln::test
