#pragma once

#include "emulefiles/core/known_met_record.h"

#include <memory>
#include <string>
#include <string_view>

namespace pln::test {

inline const std::string hashA = "0123456789ABCDEF0123456789ABCDEF",
                         hashB = "FEDCBA9876543210FEDCBA9876543210";

inline std::unique_ptr<tKnownMetRecord> linkRecord(std::string_view name, std::uint64_t size,
                                                   std::string_view aich = {},
                                                   const std::string& hash = hashA) {
    return tKnownMetRecord::createFromValues(name, hash, 5'000'000'000ULL, 17, 9, size, aich);
}

} // namespace pln::test
