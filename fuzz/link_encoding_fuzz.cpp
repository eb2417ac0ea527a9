#include "common/error.h"
#include "emulefiles/core/hash.h"
#include "fuzz_check.h"
#include "links/core/link_encoding.h"

#include <string>

using namespace pln;

namespace {

bool isHexUpper(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

// Every byte outside the kept set is "%" and two upper-case digits, so the
// output is plain ASCII drawn from the kept set.
void checkPercentEncoded(const std::string& encoded, std::string_view kept) {
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        char c = encoded[i];
        if (c == '%') {
            fuzz::require(i + 2 < encoded.size() && isHexUpper(encoded[i + 1]) &&
                          isHexUpper(encoded[i + 2]));
            i += 2;
            continue;
        }
        bool alnum = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        fuzz::require(alnum || kept.find(c) != std::string_view::npos);
    }
}

} // namespace

// The texts that go into ed2k links and web addresses, and the hash text a
// link or the command line hands over.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text = fuzz::textOf(data, size);
    checkPercentEncoded(linkEncode(text), "!$'()*+,-._");
    checkPercentEncoded(formEncode(text), "-._*+");
    fuzz::require(htmlEscape(text).find_first_of("<>") == std::string::npos);
    try {
        tHash hash = tHash::create(text);
        fuzz::require(tHash::create(hash.toString()) == hash);
    } catch (const Error&) {
    }
    return 0;
}
