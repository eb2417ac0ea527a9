#pragma once

#include "platform/file_listing.h"
#include "platform/ini_profile.h"

#include <string>
#include <string_view>
#include <vector>

namespace pln {

// The numeric values of eMule's INI files, the ones a log can follow, grouped
// by file and section for the new-log wizard.

struct tIniKeyNode {
    std::string key;
    std::string value;
    // "key = value", the caption of the node.
    std::string caption() const { return key + " = " + value; }
};

struct tIniSectionNode {
    std::string name;
    std::vector<tIniKeyNode> keys;
};

struct tIniFileNode {
    std::string name;
    std::vector<tIniSectionNode> sections;
};

// Whether an INI value is a number: an optional sign, digits, an optional
// "." and decimals, an optional exponent. Nothing else, and nothing empty.
bool isNumericIniValue(std::string_view value);

// Every "*.ini" file of the folder in the order the folder lists them, with
// its sections and their keys sorted without regard to case, numeric values
// only. Files and sections without a numeric value are left out.
std::vector<tIniFileNode> readIniTree(IniProfile& ini, FileListing& listing,
                                      const std::string& configFolder);

} // namespace pln
