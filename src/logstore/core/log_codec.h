#pragma once

#include "common/byte_writer.h"
#include "common/error.h"
#include "common/missing_value.h"
#include "logstore/core/log_types.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pln {

// The byte layout of a log file before its records, read from and written to
// buffers so that it is tested without files.

// The 74 header bytes of stats, queued-clients and combined logs.
struct tLogHeader {
    std::uint8_t valueType = 0;
    std::uint8_t flags = 0;
    double multiplier = 1.0;
    std::string units;
};

// The 521-byte block of a combined log that follows its header.
struct tCombineBlock {
    tLogOperation operation = tLogOperation::sum;
    std::array<std::string, 2> sourceNames;
    double maxValue = missingValue();
};

// What precedes a log's records: a known file's log has no header (its value
// type reads valueTypeKnownFile) and only a combined log has a block.
struct tLogFront {
    tLogHeader header;
    tCombineBlock block;
};

// The first bytes of a log file (up to combineEnd of them), decoded for the
// kind its name gives. Throws invalidLogFileError when the prefix is not the
// kind's, when the bytes end inside the header, or when a combined log's
// block is not valid (decodeCombineBlock).
tLogFront decodeLogFront(std::span<const std::uint8_t> bytes, tLogKind kind,
                         const std::string& fileName);
// The report of a file that is not a log of the kind its name gives.
Error invalidLogFileError(const std::string& fileName);

// "PLN", format byte 0, and the kind the name gives.
bool prefixIsValid(std::span<const std::uint8_t> prefix, tLogKind kind);
void encodePrefix(tLogKind kind, ByteWriter& out);

tLogHeader decodeHeader(std::span<const std::uint8_t, logHeaderSize> bytes);
void encodeHeader(const tLogHeader& header, ByteWriter& out);

// The 64-byte units field: a length byte, at most 62 visible bytes (cut at a
// character boundary) and a zero byte counted by the length, then zeros. The
// field reads both as a length-prefixed and as a zero-terminated string.
std::array<std::uint8_t, unitsFieldSize> encodeUnits(std::string_view units);
std::string decodeUnits(std::span<const std::uint8_t, unitsFieldSize> field);

// Empty when the bytes end before the second source name does, when the
// operation is not one of the seven or when a source name could not be a
// source's (isSourceLogName); a block that ends before its maximum has no
// maximum.
std::optional<tCombineBlock> decodeCombineBlock(std::span<const std::uint8_t> bytes);
// Throws Error when a source name does not fit its 255 bytes.
void encodeCombineBlock(const tCombineBlock& block, ByteWriter& out);

// The whole file of a new, empty log.
std::vector<std::uint8_t> encodeNewLog(tLogKind kind, const tLogHeader& header,
                                       const tCombineBlock& block);

// Stored text is UTF-8 when it is well-formed UTF-8 and Windows-1252
// otherwise (the form older files carry).
std::string decodeStoredText(std::string_view bytes);

} // namespace pln
