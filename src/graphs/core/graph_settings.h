#pragma once

#include <functional>
#include <string>

namespace pln {

// The settings of the graphs as plain key/text pairs, so that the graphs do
// not depend on where the program keeps its settings.
struct tGraphSettings {
    // The stored text of the key, or the default when the key is absent.
    std::function<std::string(const std::string& key, const std::string& defaultValue)> get;
    std::function<void(const std::string& key, const std::string& value)> set;
};

} // namespace pln
