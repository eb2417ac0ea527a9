#pragma once

#include <cstddef>
#include <cstdint>

namespace pln {

// The state of a log is the extension of its one file.
enum class tLogState : std::uint8_t { none = 0, inactive = 1, active = 2, permanent = 3 };

// The kind of a log follows from its name and is also stored in the file.
enum class tLogKind : std::uint8_t {
    knownFile = 0,
    iniValue = 1,
    queuedClients = 2,
    virtualLog = 3
};

// Header flags.
inline constexpr std::uint8_t flagCumulative = 1;
inline constexpr std::uint8_t flagSavedWhenChanged = 2;
inline constexpr std::uint8_t flagShowWithRequests = 4;

// Value types: the stored ones 1..5 and the in-memory type of a known-file log.
inline constexpr std::uint8_t valueTypeByte = 1;
inline constexpr std::uint8_t valueTypeShort = 2;
inline constexpr std::uint8_t valueTypeInteger = 3;
inline constexpr std::uint8_t valueTypeLong = 4;
inline constexpr std::uint8_t valueTypeReal = 5;
inline constexpr std::uint8_t valueTypeKnownFile = 6;

// The operation of a combined log, applied to its first and second source.
enum class tLogOperation : std::uint8_t {
    sum = 0,               // %1 + %2
    difference = 1,        // %1 - %2
    reverseDifference = 2, // %2 - %1
    quotient = 3,          // %1 / %2
    reverseQuotient = 4,   // %2 / %1
    firstShare = 5,        // %1 / (%1 + %2)
    secondShare = 6,       // %2 / (%1 + %2)
};

// File layout.
inline constexpr std::size_t logPrefixSize = 5;
inline constexpr std::size_t logHeaderSize = 74;
inline constexpr std::size_t unitsFieldSize = 64;
inline constexpr std::size_t combineBlockSize = 521;
inline constexpr std::size_t sourceNameFieldSize = 256;
inline constexpr std::size_t headerEnd = logPrefixSize + logHeaderSize; // 79
// A combined log's block up to the end of its second source name: a file of
// that length is complete but has no maximum.
inline constexpr std::size_t combineNamesEnd = headerEnd + 1 + 2 * sourceNameFieldSize; // 592
inline constexpr std::size_t combineEnd = headerEnd + combineBlockSize;                 // 600

// Where the records of a log of the kind start.
constexpr std::size_t recordAreaStart(tLogKind kind) {
    return kind == tLogKind::knownFile ? logPrefixSize : headerEnd;
}

// Bytes per record of a value type: 0 for type 0, 20 for 6 and every
// unknown type above it.
constexpr std::size_t recordSizeOf(std::uint8_t valueType) {
    switch (valueType) {
    case 0:
        return 0;
    case valueTypeByte:
        return 5;
    case valueTypeShort:
        return 6;
    case valueTypeInteger:
        return 8;
    case valueTypeLong:
    case valueTypeReal:
        return 12;
    default:
        return 20;
    }
}

} // namespace pln
