#pragma once

#include "emulefiles/core/known_met_list.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace pln {

class ByteWriter;
class FileReader;
class tReadWindow;

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
// The same, parsed as the file is read: only a window of its bytes is held,
// chunkSize bytes unless a record needs more. Failures to read the file
// propagate as FileReader throws them.
tKnownMetContents readKnownMet(FileReader& file, std::size_t chunkSize = std::size_t{1} << 20);

// Writes the records in list order; returns the version byte written.
std::uint8_t writeKnownMet(const tKnownMetList& list, ByteWriter& out);

} // namespace pln
