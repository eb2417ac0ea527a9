#pragma once

#include "common/settings_store.h"

#include <map>
#include <string>

namespace pln {

// Settings kept in a map, to see exactly which keys a part writes.
class FakeSettingsStore final : public tSettingsStore {
public:
    std::map<std::string, std::string> values;

    std::optional<std::string> read(const std::string& key) const override {
        const auto found = values.find(key);
        if (found == values.end())
            return std::nullopt;
        return found->second;
    }
    void write(const std::string& key, const std::string& value) override { values[key] = value; }
};

} // namespace pln
