#include "common/text.h"
#include "emulefiles/core/dat_text_reader.h"
#include "fuzz_check.h"

using namespace pln;

// shareddir.dat and sharedfiles.dat: whatever the bytes, the text is UTF-8
// and its lines hold no line break.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text = decodeDatText(fuzz::bytesOf(data, size));
    fuzz::require(isValidUtf8(text) && text.find('\0') == std::string::npos);
    for (const std::string& line : splitLines(text))
        fuzz::require(line.find_first_of("\r\n") == std::string::npos);
    return 0;
}
