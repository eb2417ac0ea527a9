#include "demo_wine.h"

#include "common/file_io.h"

#include <cstdlib>
#include <string>

namespace pln::demo {

namespace {

void writeText(const std::filesystem::path& path, const std::string& text) {
    replaceFileContents(path.string(),
                        {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

std::string userReg(const std::string& user) {
    const std::string home = "C:\\\\users\\\\" + user + "\\\\";
    return "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n"
           "#arch=win64\n\n"
           "[Software\\\\eMule] 1700000000\n#time=1da0000000000000\n"
           "\"UsePublicUserDirectories\"=dword:00000000\n\n"
           "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] "
           "1700000000\n#time=1da0000000000000\n"
           "\"AppData\"=\"" +
           home +
           "AppData\\\\Roaming\"\n"
           "\"Local AppData\"=\"" +
           home +
           "AppData\\\\Local\"\n"
           "\"Personal\"=\"" +
           home +
           "Documents\"\n"
           "\"{374DE290-123F-4565-9164-39C4925E467B}\"=\"" +
           home + "Downloads\"\n";
}

} // namespace

DemoProfile prepareWinePrefix(const std::filesystem::path& prefix) {
    namespace fs = std::filesystem;
    const char* userVariable = std::getenv("USER");
    const std::string user = userVariable && *userVariable ? userVariable : "user";
    const fs::path drive = prefix / "drive_c";
    fs::create_directories(prefix / "dosdevices");
    if (!fs::is_symlink(prefix / "dosdevices" / "c:"))
        fs::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
    fs::create_directories(drive / "Program Files" / "eMule");
    writeText(drive / "Program Files" / "eMule" / "eMule.exe", "MZ");
    writeText(prefix / "user.reg", userReg(user));
    const fs::path localAppData = drive / "users" / user / "AppData" / "Local";
    for (const char* folder : {"Roaming", "Local"})
        fs::create_directories(drive / "users" / user / "AppData" / folder);
    return DemoProfile{localAppData, "C:\\USERS\\" + user + "\\APPDATA\\LOCAL"};
}

} // namespace pln::demo
