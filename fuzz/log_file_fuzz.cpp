#include "common/byte_writer.h"
#include "common/error.h"
#include "fuzz_check.h"
#include "logstore/core/log_codec.h"
#include "logstore/core/log_records.h"

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
void checkHeader(std::span<const std::uint8_t, logHeaderSize> bytes) {
    tLogHeader first = decodeHeader(bytes);
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

void checkCombineBlock(std::span<const std::uint8_t> bytes) {
    std::optional<tCombineBlock> block = decodeCombineBlock(bytes);
    if (!block)
        return;
    ByteWriter out;
    try {
        encodeCombineBlock(*block, out);
    } catch (const Error&) {
        return;
    }
    std::optional<tCombineBlock> again = decodeCombineBlock(out.buffer());
    fuzz::require(again && again->sourceNames == block->sourceNames);
    fuzz::require(again->operation == block->operation);
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

// A whole log file: the prefix gives the kind, the kind what follows it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto file = fuzz::bytesOf(data, size);
    if (size < logPrefixSize)
        return 0;
    auto kind = static_cast<tLogKind>(data[4] & 3);
    if (!prefixIsValid(file, kind))
        return 0;
    if (kind == tLogKind::knownFile) {
        readRecords(file.subspan(logPrefixSize), valueTypeKnownFile);
        return 0;
    }
    if (size < headerEnd)
        return 0;
    auto header = file.subspan<logPrefixSize, logHeaderSize>();
    checkHeader(header);
    // A combined log holds no records: its values come from its sources.
    if (kind == tLogKind::virtualLog)
        checkCombineBlock(file.subspan(headerEnd));
    else
        readRecords(file.subspan(headerEnd), header[0]);
    return 0;
}
