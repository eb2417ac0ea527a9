#include "common/byte_writer.h"
#include "common/error.h"
#include "emulefiles/core/known_met_codec.h"
#include "fuzz_check.h"

using namespace pln;

// A known.met the reader accepts is written back and must read again as the
// same bytes: the viewer saves what it loaded, and a second save changes
// nothing.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tKnownMetContents contents;
    try {
        contents = readKnownMet(fuzz::bytesOf(data, size));
    } catch (const Error&) {
        return 0;
    }
    ByteWriter out;
    writeKnownMet(contents.list, out);
    tKnownMetContents again = readKnownMet(out.buffer());
    fuzz::require(again.list.count() == contents.list.count());
    ByteWriter second;
    writeKnownMet(again.list, second);
    fuzz::require(second.buffer() == out.buffer());
    return 0;
}
