#pragma once

#include "graphs/core/graph_settings.h"

#include <map>
#include <string>

namespace pln::test {

// Settings kept in a map, to see exactly which keys a dialog or loader
// writes.
struct MemorySettings {
    std::map<std::string, std::string> values;

    tGraphSettings access() {
        return {[this](const std::string& key, const std::string& defaultValue) {
                    const auto found = values.find(key);
                    return found == values.end() ? defaultValue : found->second;
                },
                [this](const std::string& key, const std::string& value) { values[key] = value; }};
    }
};

} // namespace pln::test
