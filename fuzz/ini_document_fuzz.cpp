#include "common/ini_document.h"
#include "common/text.h"
#include "fuzz_check.h"

#include <map>
#include <utility>

using namespace pln;

namespace {

using Values = std::map<std::pair<std::string, std::string>, std::optional<std::string>>;

Values allValues(const IniDocument& doc) {
    Values values;
    for (const std::string& section : doc.sections())
        for (const std::string& key : doc.keys(section))
            values[{section, key}] = doc.value(section, key);
    return values;
}

// The first three bytes give the lengths of a section name, a key and a
// value taken from the input; the rest is the file.
std::string_view take(std::string_view& input, std::uint8_t length) {
    std::string_view part = input.substr(0, std::min<std::size_t>(length % 16, input.size()));
    input.remove_prefix(part.size());
    return part;
}

} // namespace

// A profile file reads back byte for byte, and a change the document accepts
// reads back as written without touching any other value.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3)
        return 0;
    std::string_view input = fuzz::textOf(data + 3, size - 3);
    std::string_view section = take(input, data[0]);
    std::string_view key = take(input, data[1]);
    std::string_view value = take(input, data[2]);

    IniDocument doc(input);
    fuzz::require(doc.text() == input);
    Values before = allValues(doc);
    if (!doc.setValue(section, key, value)) {
        fuzz::require(doc.text() == input);
        return 0;
    }
    fuzz::require(doc.value(section, key) == std::string(value));
    IniDocument reread(doc.text());
    fuzz::require(reread.value(section, key) == std::string(value));
    for (const auto& [name, old] : before) {
        if (iequals(name.first, section) && iequals(name.second, key))
            continue;
        fuzz::require(reread.value(name.first, name.second) == old);
    }
    return 0;
}
