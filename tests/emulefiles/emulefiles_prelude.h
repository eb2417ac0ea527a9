#pragma once

// What the tests of eMule's files (and of the edits and links made of them) share.
#include "emulefiles/core/cancelled_met.h"
#include "emulefiles/core/known_met.h"
#include "known_met_bytes.h"
#include "platform/fake_platform.h"
#include "support/error_text.h"
#include "support/run_command.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

#include <deque>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

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
