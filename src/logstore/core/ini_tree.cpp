#include "logstore/core/ini_tree.h"

#include "common/text.h"
#include "logstore/core/multiplier.h"

#include <algorithm>

namespace pln {

namespace {

bool isIniFile(const FileEntry& entry) {
    constexpr std::string_view extension = ".ini";
    return (entry.attributes & fileAttribute::directory) == 0 &&
           entry.name.size() > extension.size() &&
           iequals(std::string_view(entry.name).substr(entry.name.size() - extension.size()),
                   extension);
}

// Sorted without regard to case; a name repeated in the file is one node,
// as the profile only ever reads its first occurrence.
std::vector<std::string> sortedNames(std::vector<std::string> names) {
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return icompare(a, b) < 0; });
    names.erase(
        std::unique(names.begin(), names.end(),
                    [](const std::string& a, const std::string& b) { return iequals(a, b); }),
        names.end());
    return names;
}

tIniSectionNode readSection(IniProfile& ini, const std::string& path, const std::string& name) {
    tIniSectionNode section{name, {}};
    for (const std::string& key : sortedNames(ini.keys(path, name))) {
        std::optional<std::string> value = ini.read(path, name, key);
        if (value && isNumericIniValue(*value))
            section.keys.push_back({key, *value});
    }
    return section;
}

} // namespace

bool isNumericIniValue(std::string_view value) {
    return isDecimalText(value);
}

std::vector<tIniFileNode> readIniTree(IniProfile& ini, FileListing& listing,
                                      const std::string& configFolder) {
    std::vector<tIniFileNode> tree;
    for (const FileEntry& entry : listing.listFolder(configFolder)) {
        if (!isIniFile(entry))
            continue;
        const std::string path = configFolder + entry.name;
        tIniFileNode file{entry.name, {}};
        for (const std::string& name : sortedNames(ini.sections(path))) {
            tIniSectionNode section = readSection(ini, path, name);
            if (!section.keys.empty())
                file.sections.push_back(std::move(section));
        }
        if (!file.sections.empty())
            tree.push_back(std::move(file));
    }
    return tree;
}

} // namespace pln
