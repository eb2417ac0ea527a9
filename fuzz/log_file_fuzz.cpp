#include "common/byte_writer.h"
#include "common/error.h"
#include "fuzz_check.h"
#include "logstore/core/log_codec.h"
#include "logstore/core/log_records.h"

#include <algorithm>
#include <bit>

using namespace pln;

namespace {

// Keeps the values read, so that no read is optimised away.
volatile double sink;

bool sameDouble(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// A header read from a file and saved again reads back as saved: the second
// pass starts from text already made UTF-8 and cut to the field.
void checkHeader(const tLogHeader& first) {
    ByteWriter out;
    encodeHeader(first, out);
    tLogHeader second = decodeHeader(std::span<const std::uint8_t, logHeaderSize>(out.buffer()));
    ByteWriter again;
    encodeHeader(second, again);
    tLogHeader third = decodeHeader(std::span<const std::uint8_t, logHeaderSize>(again.buffer()));
    fuzz::require(third.valueType == first.valueType && third.flags == first.flags);
    fuzz::require(sameDouble(third.multiplier, first.multiplier));
    fuzz::require(third.units == second.units);
}

void checkCombineBlock(const tCombineBlock& block) {
    ByteWriter out;
    try {
        encodeCombineBlock(block, out);
    } catch (const Error&) {
        return;
    }
    std::optional<tCombineBlock> again = decodeCombineBlock(out.buffer());
    fuzz::require(again && again->sourceNames == block.sourceNames);
    fuzz::require(again->operation == block.operation);
}

// Every accessor over every whole record, as the graphs and the compression
// read them.
void readRecords(std::span<const std::uint8_t> bytes, std::uint8_t valueType) {
    tLogRecords records(bytes, valueType);
    fuzz::require(records.count() * records.recordSize() <= bytes.size());
    double sum = 0;
    for (std::size_t i = 0; i < records.count(); ++i) {
        sum += records.value(i) + static_cast<double>(records.integerValue(i));
        if (records.recordSize() == recordSizeOf(valueTypeKnownFile))
            sum += records.knownFileValues(i).requests;
    }
    if (records.count() > 0) {
        std::size_t at = records.lowerBound(records.stamp(records.count() / 2));
        fuzz::require(at <= records.count());
    }
    sink = sum;
}

} // namespace

// A whole log file: the prefix gives the kind, and its front is decoded as
// the log store and the recorder decode it; the kind says what follows.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto file = fuzz::bytesOf(data, size);
    if (size < logPrefixSize)
        return 0;
    auto kind = static_cast<tLogKind>(data[4] & 3);
    tLogFront front;
    try {
        front = decodeLogFront(file.first(std::min(size, combineEnd)), kind, "fuzz.pln");
    } catch (const Error& e) {
        fuzz::require(e.kind() == ErrorKind::invalidFile);
        return 0;
    }
    // A combined log holds no records: its values come from its sources.
    if (kind == tLogKind::virtualLog) {
        checkHeader(front.header);
        checkCombineBlock(front.block);
        return 0;
    }
    if (kind != tLogKind::knownFile)
        checkHeader(front.header);
    readRecords(file.subspan(recordAreaStart(kind)), front.header.valueType);
    return 0;
}
