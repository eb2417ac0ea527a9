#include "common/text.h"
#include "fuzz_check.h"
#include "kmedit/core/repair_link.h"
#include "links/core/link_encoding.h"

#include <string>

using namespace pln;

namespace {

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// A link that passed keeps what it said when it is written again the way
// the viewer writes links.
void checkLink(const tEd2kFileLink& link) {
    fuzz::require(link.hashText.size() == 32);
    for (char c : link.hashText)
        fuzz::require(isHex(c));
    fuzz::require(link.aichText.empty() || link.aichText.size() == 32);
    fuzz::require(isValidUtf8(link.name));
    std::string again = "ed2k://|file|" + linkEncode(link.name) + "|" + std::to_string(link.size) +
                        "|" + link.hashText + "|";
    again += link.aichText.empty() ? "/" : "h=" + link.aichText + "|/";
    auto reread = parseEd2kLink(again);
    fuzz::require(reread && reread->name == link.name && reread->size == link.size &&
                  reread->hashText == link.hashText && reread->aichText == link.aichText);
}

} // namespace

// The ed2k links a user pastes into the repair dialog: their validation and
// the decoding of the names they carry.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text = fuzz::textOf(data, size);
    if (auto link = parseEd2kLink(text))
        checkLink(*link);
    if (linksAreValid(text))
        for (const std::string& line : linkLines(text))
            fuzz::require(parseEd2kLink(line).has_value());
    fuzz::require(isValidUtf8(decodeLinkName(text)));
    if (isValidUtf8(text))
        fuzz::require(decodeLinkName(linkEncode(text)) == text);
    return 0;
}
