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
// value taken from the input; the rest is the file's bytes.
std::string_view take(std::string_view& input, std::uint8_t length) {
    std::string_view part = input.substr(0, std::min<std::size_t>(length % 16, input.size()));
    input.remove_prefix(part.size());
    return part;
}

} // namespace

// A profile file decodes to text that its own encoding stores again
// unchanged and that the document reads back byte for byte; a change the
// document accepts reads back as written without touching any other value.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3)
        return 0;
    std::string_view input = fuzz::textOf(data + 3, size - 3);
    std::string_view section = take(input, data[0]);
    std::string_view key = take(input, data[1]);
    std::string_view value = take(input, data[2]);

    std::string text = decodeTextFile(input);
    fuzz::require(decodeTextFile(encodeTextFile(text, detectEncoding(input))) == text);
    IniDocument doc(text);
    fuzz::require(doc.text() == text);
    Values before = allValues(doc);
    if (!doc.setValue(section, key, value)) {
        fuzz::require(doc.text() == text);
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
