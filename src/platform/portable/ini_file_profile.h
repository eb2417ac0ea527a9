#pragma once

#include "platform/ini_profile.h"

#include <cstddef>

namespace pln {

// INI files read whole for every call and rewritten crash-safe for every
// write, in the encoding they had (a new file as 8-bit text when its text
// allows it). The same rules on every system, so that eMule's files read
// alike everywhere and a crash never costs the settings.
class IniFileProfile : public IniProfile {
public:
    // A larger file is not a settings file; it reads as absent and is never
    // rewritten.
    static constexpr std::size_t maxFileSize = std::size_t{16} * 1024 * 1024;

    std::optional<std::string> read(const std::string& file, const std::string& section,
                                    const std::string& key) override;
    bool write(const std::string& file, const std::string& section, const std::string& key,
               const std::string& value) override;
    std::vector<std::string> sections(const std::string& file) override;
    std::vector<std::string> keys(const std::string& file, const std::string& section) override;
};

struct SettingsFileBytes {
    enum class Status { Read, Missing, Unreadable };
    Status status = Status::Unreadable;
    std::string bytes;
};

// The bytes of a regular file of at most limit bytes, read without blocking
// on anything else that might stand at the path; one implementation per system.
SettingsFileBytes readSettingsFile(const std::string& path, std::size_t limit);

} // namespace pln
