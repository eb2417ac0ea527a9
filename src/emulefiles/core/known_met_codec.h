#pragma once

#include "emulefiles/core/known_met_list.h"

#include <cstdint>
#include <span>

namespace pln {

class ByteWriter;

inline constexpr std::uint8_t knownMetVersion = 0x0E;
// The version of a file that holds at least one file larger than 4 GiB.
inline constexpr std::uint8_t knownMetLargeFilesVersion = 0x0F;

struct tKnownMetContents {
    std::uint8_t version = knownMetVersion;
    tKnownMetList list;
};

// Parses a whole known.met held in memory; the records come back sorted by
// hash. Throws "Unexpected known.met version", "Unknown tag type", "Invalid
// tag" or "Unexpected end of file" (also for counts that the input cannot
// hold).
tKnownMetContents readKnownMet(std::span<const std::uint8_t> bytes);

// Writes the records in list order; returns the version byte written.
std::uint8_t writeKnownMet(const tKnownMetList& list, ByteWriter& out);

} // namespace pln
