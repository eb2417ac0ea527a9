#pragma once

#include "platform/ini_profile.h"

#include <cstddef>

namespace pln {

// INI files read whole for every call and rewritten crash-safe for every
// write, in the encoding they had (a new file as 8-bit text when its text
// allows it).
class PosixIniProfile : public IniProfile {
public:
    // A larger file is not a settings file; it reads as absent and is never
    // rewritten.
    static constexpr std::size_t maxFileSize = 16 * 1024 * 1024;

    std::optional<std::string> read(const std::string& file, const std::string& section,
                                    const std::string& key) override;
    bool write(const std::string& file, const std::string& section, const std::string& key,
               const std::string& value) override;
    std::vector<std::string> sections(const std::string& file) override;
    std::vector<std::string> keys(const std::string& file, const std::string& section) override;
};

} // namespace pln
