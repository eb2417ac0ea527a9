#pragma once

#include "common/error.h"

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

} // namespace pln::test
