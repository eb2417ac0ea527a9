#include "common/byte_writer.h"
#include "common/error.h"
#include "emulefiles/core/cancelled_met.h"
#include "fuzz_check.h"

using namespace pln;

// A cancelled.met the reader accepts is written back and must read again
// with the same header and hashes: a cancellation rewrites the whole file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tCancelledMetContents contents;
    try {
        contents = readCancelledMet(fuzz::bytesOf(data, size));
    } catch (const Error&) {
        return 0;
    }
    ByteWriter out;
    writeCancelledMet(contents.header, contents.list, out);
    tCancelledMetContents again = readCancelledMet(out.buffer());
    fuzz::require(again.header.version == contents.header.version);
    fuzz::require(again.header.seed == contents.header.seed);
    fuzz::require(again.list.count() == contents.list.count());
    for (std::size_t i = 0; i < contents.list.count(); ++i)
        fuzz::require(again.list[i].hash == contents.list[i].hash);
    ByteWriter second;
    writeCancelledMet(again.header, again.list, second);
    fuzz::require(second.buffer() == out.buffer());
    return 0;
}
