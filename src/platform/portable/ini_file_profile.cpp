#include "platform/portable/ini_file_profile.h"

#include "common/error.h"
#include "common/file_io.h"
#include "common/ini_document.h"
#include "common/text.h"

namespace pln {

namespace {

IniDocument load(const std::string& path) {
    SettingsFileBytes file = readSettingsFile(path, IniFileProfile::maxFileSize);
    if (file.status != SettingsFileBytes::Status::Read)
        return IniDocument();
    return IniDocument(decodeTextFile(file.bytes));
}

} // namespace

std::optional<std::string> IniFileProfile::read(const std::string& file, const std::string& section,
                                                const std::string& key) {
    return load(file).value(section, key);
}

std::vector<std::string> IniFileProfile::sections(const std::string& file) {
    return load(file).sections();
}

std::vector<std::string> IniFileProfile::keys(const std::string& file, const std::string& section) {
    return load(file).keys(section);
}

// A file that exists but cannot be read is left alone: writing the one value
// into an empty document would throw the rest of it away.
bool IniFileProfile::write(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& value) {
    SettingsFileBytes current = readSettingsFile(file, maxFileSize);
    if (current.status == SettingsFileBytes::Status::Unreadable)
        return false;
    TextEncoding encoding = detectEncoding(current.bytes);
    IniDocument document(decodeTextFile(current.bytes));
    if (!document.setValue(section, key, value))
        return false;
    std::string bytes = encodeTextFile(document.text(), encoding);
    try {
        replaceFileContents(file,
                            {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    } catch (const Error&) {
        return false;
    }
    return true;
}

} // namespace pln
