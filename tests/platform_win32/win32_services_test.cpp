#include "common/error.h"
#include "common/file_io.h"
#include "platform/platform.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>

namespace pln::test {
namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string windowsPath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

class Win32Services : public testing::Test {
protected:
    NativePlatform native;
    Platform& platform = native.services();
    TempDir dir;
};

TEST_F(Win32Services, RegistryValuesUnderTheEmuleKeyReadAsIntegersOnly) {
    const std::string key = "HKCU\\Software\\eMule";
    ASSERT_EQ(runCommand("reg add " + key + " /v PlnTestNumber /t REG_DWORD /d 2 /f").status, 0);
    ASSERT_EQ(runCommand("reg add " + key + " /v PlnTestText /t REG_SZ /d 2 /f").status, 0);
    EXPECT_EQ(platform.system.emuleRegistryInt("PlnTestNumber"), 2);
    EXPECT_EQ(platform.system.emuleRegistryInt("PlnTestText"), std::nullopt);
    EXPECT_EQ(platform.system.emuleRegistryInt("PlnTestAbsent"), std::nullopt);
    runCommand("reg delete " + key + " /v PlnTestNumber /f");
    runCommand("reg delete " + key + " /v PlnTestText /f");
    EXPECT_EQ(platform.system.emuleRegistryInt("PlnTestNumber"), std::nullopt);
}

TEST_F(Win32Services, FoldersComeFromTheShellWithoutTrailingSeparator) {
    SystemInfo& system = platform.system;
    EXPECT_TRUE(system.shellAvailable());
    ASSERT_TRUE(system.knownFolderCallAvailable());
    EXPECT_EQ(system.pathSeparator(), '\\');
    struct Case {
        std::optional<std::string> answer;
        const char* variable;
    };
    for (const Case& c : {Case{system.knownFolder(KnownFolder::LocalAppData), "LOCALAPPDATA"},
                          Case{system.knownFolder(KnownFolder::ProgramData), "ProgramData"},
                          Case{system.shellFolder(ShellFolder::AppData), "APPDATA"}}) {
        ASSERT_TRUE(c.answer) << c.variable;
        EXPECT_EQ(lower(*c.answer), lower(std::getenv(c.variable))) << c.variable;
        EXPECT_TRUE(platform.files.folderExists(*c.answer)) << *c.answer;
    }
    auto downloads = system.knownFolder(KnownFolder::Downloads);
    ASSERT_TRUE(downloads);
    EXPECT_NE(downloads->back(), '\\');
    auto version = system.osVersion();
    ASSERT_TRUE(version);
    EXPECT_EQ(version->platformId, 2);
    EXPECT_GE(version->major, 5);
    EXPECT_TRUE(platform.files.fileExists(system.executablePath()));
}

void saveShortcut(const std::string& link, const std::string& target) {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    IShellLinkW* shell = nullptr;
    IPersistFile* file = nullptr;
    ASSERT_TRUE(SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                             IID_IShellLinkW, reinterpret_cast<void**>(&shell))));
    std::wstring wideTarget(target.begin(), target.end());
    std::wstring wideLink(link.begin(), link.end());
    shell->SetPath(wideTarget.c_str());
    shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    ASSERT_TRUE(file);
    EXPECT_TRUE(SUCCEEDED(file->Save(wideLink.c_str(), TRUE)));
    file->Release();
    shell->Release();
    ::CoUninitialize();
}

TEST_F(Win32Services, ShortcutsAreToldAndResolvedToTheirTarget) {
    std::string target = windowsPath(dir.write("shared file.bin", "12345"));
    std::string link = windowsPath(dir.file("shared file.lnk"));
    saveShortcut(link, target);
    std::string broken = windowsPath(dir.write("broken.lnk", std::string(300, '\x4C')));
    FileListing& listing = platform.listing;

    EXPECT_TRUE(listing.isShellLink(link));
    EXPECT_FALSE(listing.isShellLink(target));
    auto resolved = listing.shellLinkTarget(link);
    ASSERT_TRUE(resolved);
    EXPECT_EQ(lower(*resolved), lower(target));
    EXPECT_EQ(listing.shellLinkTarget(broken), std::nullopt);
    EXPECT_EQ(listing.shellLinkTarget(target), std::nullopt);
    EXPECT_EQ(listing.winePrefix(), std::nullopt);

    auto entries = listing.listFolder(windowsPath(dir.path()));
    EXPECT_EQ(entries.size(), 3u);
    auto file = std::find_if(entries.begin(), entries.end(),
                             [](const FileEntry& e) { return e.name == "shared file.bin"; });
    ASSERT_NE(file, entries.end());
    EXPECT_EQ(file->size, 5u);
    EXPECT_FALSE(file->attributes & fileAttribute::directory);
}

TEST_F(Win32Services, LastWriteTimesAreTheFileTimesOfTheSystem) {
    std::string path = windowsPath(dir.write("stamped", "x"));
    // 2020-01-02 03:04:05.678 UTC
    constexpr std::int64_t unixMs = 1'577'934'245'678;
    const std::uint64_t ticks =
        static_cast<std::uint64_t>(unixMs) * 10'000 + 116'444'736'000'000'000ULL;
    FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    HANDLE file = ::CreateFileW(std::wstring(path.begin(), path.end()).c_str(),
                                FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(::SetFileTime(file, nullptr, nullptr, &time));
    ::CloseHandle(file);

    EXPECT_EQ(platform.files.modificationStamp(path), unixMs);
    EXPECT_EQ(platform.listing.entry(path)->lastWriteTime, unixMs * 1'000'000);
    EXPECT_EQ(platform.files.modificationStamp(path + ".missing"), std::nullopt);
    std::int64_t now = platform.clock.nowUnixMs();
    EXPECT_LT(std::llabs(now - static_cast<std::int64_t>(std::time(nullptr)) * 1000), 5000);
}

TEST_F(Win32Services, AReplacementThatCannotTakePlaceKeepsTheOldFile) {
    std::string path = windowsPath(dir.write("known.met", "old"));
    const std::uint8_t fresh[] = {'n', 'e', 'w'};
    {
        HANDLE reader = ::CreateFileW(std::wstring(path.begin(), path.end()).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(reader, INVALID_HANDLE_VALUE);
        EXPECT_THROW(replaceFileContents(path, fresh), Error);
        ::CloseHandle(reader);
    }
    EXPECT_EQ(readText(path), "old");
    EXPECT_EQ(dir.entryCount(), 1u) << "no temporary file stays";
    replaceFileContents(path, fresh);
    EXPECT_EQ(readText(path), "new");
    EXPECT_EQ(dir.entryCount(), 1u);
}

} // namespace
} // namespace pln::test
