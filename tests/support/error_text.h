#pragma once

#include "common/error.h"
#include "common/file_io.h"

#ifdef _WIN32
#include "common/wide_text.h"

#include <windows.h>
#endif

#include <cerrno>
#include <string>

namespace pln::test {

// The message of the pln::Error the call throws, or "no error" when it
// returns, so that a test compares the whole text in one expectation.
template <class Call> std::string errorOf(Call&& call) {
    try {
        call();
    } catch (const Error& e) {
        return e.what();
    }
    return "no error";
}

// The system's wording of the common reasons, as the file functions report them.
#ifdef _WIN32
inline const auto missingFileText = [] { return windowsErrorText(ERROR_FILE_NOT_FOUND); };
inline const auto missingFolderText = [] { return windowsErrorText(ERROR_PATH_NOT_FOUND); };
inline const auto folderAsFileText = [] { return windowsErrorText(ERROR_ACCESS_DENIED); };
#else
inline const auto missingFileText = [] { return systemErrorText(ENOENT); };
inline const auto missingFolderText = [] { return systemErrorText(ENOENT); };
inline const auto folderAsFileText = [] { return systemErrorText(EISDIR); };
#endif

} // namespace pln::test
