#include "common/error.h"
#include "common/file_io.h"
#include "common/text.h"
#include "platform/message_bus.h"
#include "platform/platform.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <thread>
#include <windows.h>

namespace pln::test {
namespace {

using namespace std::chrono_literals;

std::string windowsPath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// The services of this system, a fresh folder, and the peer program (the
// second process of the mutex and broadcast tests) beside this one.
struct Win32Platform : testing::Test {
    // Starting the peer also tries the launcher.
    void runPeer(const std::string& parameters) {
        std::string self = platform.system.executablePath();
        std::string peer = self.substr(0, self.find_last_of('\\') + 1) + PLN_PEER;
        ASSERT_TRUE(platform.processes.runProgram(peer, parameters)) << peer;
    }
    template <class Condition> static bool eventually(Condition condition) {
        for (auto end = std::chrono::steady_clock::now() + 20s;
             std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(20ms))
            if (condition())
                return true;
        return false;
    }
    static std::string awaitText(const std::string& path) {
        std::string text;
        return eventually([&] { return !(text = readText(path)).empty(); }) ? text : "(nothing)";
    }

    NativePlatform native;
    Platform& platform = native.services();
    TempDir dir;
    std::string folder = windowsPath(dir.path().substr(0, dir.path().size() - 1));
};

TEST_F(Win32Platform, SystemAnswersComeFromTheRegistryAndTheShell) {
    const std::string key = "HKCU\\Software\\eMule";
    ASSERT_EQ(runCommand("reg add " + key + " /v PlnTestNumber /t REG_DWORD /d 2 /f").status, 0);
    ASSERT_EQ(runCommand("reg add " + key + " /v PlnTestText /t REG_SZ /d 2 /f").status, 0);
    EXPECT_EQ(platform.system.emuleRegistryInt("PlnTestNumber"), 2);
    EXPECT_EQ(platform.system.emuleRegistryInt("PlnTestText"), std::nullopt);
    EXPECT_EQ(platform.system.emuleRegistryInt("PlnTestAbsent"), std::nullopt);
    runCommand("reg delete " + key + " /v PlnTestNumber /f");
    runCommand("reg delete " + key + " /v PlnTestText /f");
    EXPECT_EQ(platform.system.emuleRegistryInt("PlnTestNumber"), std::nullopt);

    // The folders come from the shell, without a trailing separator.
    SystemInfo& system = platform.system;
    EXPECT_TRUE(system.shellAvailable());
    ASSERT_TRUE(system.knownFolderCallAvailable());
    EXPECT_EQ(system.pathSeparator(), '\\');
    for (const auto& [answer, variable] :
         {std::pair{system.knownFolder(KnownFolder::LocalAppData), "LOCALAPPDATA"},
          std::pair{system.knownFolder(KnownFolder::ProgramData), "ProgramData"},
          std::pair{system.shellFolder(ShellFolder::AppData), "APPDATA"}}) {
        ASSERT_TRUE(answer) << variable;
        EXPECT_TRUE(iequals(*answer, std::getenv(variable))) << *answer;
        EXPECT_TRUE(platform.files.folderExists(*answer)) << *answer;
    }
    EXPECT_NE(system.knownFolder(KnownFolder::Downloads).value_or("\\").back(), '\\');
    const OsVersion version = system.osVersion().value_or(OsVersion{});
    EXPECT_EQ(version.platformId, 2);
    EXPECT_GE(version.major, 5);
    EXPECT_TRUE(platform.files.fileExists(system.executablePath()));
}

void saveShortcut(const std::string& link, const std::string& target) {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    IShellLinkW* shell = nullptr;
    IPersistFile* file = nullptr;
    ASSERT_TRUE(SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                             IID_IShellLinkW, reinterpret_cast<void**>(&shell))));
    shell->SetPath(std::wstring(target.begin(), target.end()).c_str());
    shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    ASSERT_TRUE(file);
    EXPECT_TRUE(SUCCEEDED(file->Save(std::wstring(link.begin(), link.end()).c_str(), TRUE)));
    file->Release();
    shell->Release();
    ::CoUninitialize();
}

TEST_F(Win32Platform, ShortcutsAreToldAndResolvedToTheirTarget) {
    std::string target = windowsPath(dir.write("shared file.bin", "12345"));
    std::string link = windowsPath(dir.file("shared file.lnk"));
    saveShortcut(link, target);
    std::string broken = windowsPath(dir.write("broken.lnk", std::string(300, '\x4C')));
    FileListing& listing = platform.listing;

    EXPECT_TRUE(listing.isShellLink(link));
    EXPECT_FALSE(listing.isShellLink(target));
    EXPECT_TRUE(iequals(listing.shellLinkTarget(link).value_or(""), target));
    EXPECT_EQ(listing.shellLinkTarget(broken), std::nullopt);
    EXPECT_EQ(listing.shellLinkTarget(target), std::nullopt);
    EXPECT_EQ(listing.winePrefix(), std::nullopt);

    auto entries = listing.listFolder(windowsPath(dir.path()));
    EXPECT_EQ(entries.size(), 3u);
    auto file = std::ranges::find(entries, "shared file.bin", &FileEntry::name);
    ASSERT_NE(file, entries.end());
    EXPECT_EQ(file->size, 5u);
    EXPECT_FALSE(file->attributes & fileAttribute::directory);
}

TEST_F(Win32Platform, FilesKeepTheSystemsTimesAndTheirOldContents) {
    std::string path = windowsPath(dir.write("stamped", "x"));
    // 2020-01-02 03:04:05.678 UTC
    constexpr std::int64_t unixMs = 1'577'934'245'678;
    const std::uint64_t ticks = unixMs * 10'000ULL + 116'444'736'000'000'000ULL;
    FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    HANDLE file = ::CreateFileW(std::wstring(path.begin(), path.end()).c_str(),
                                FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(::SetFileTime(file, nullptr, nullptr, &time));
    ::CloseHandle(file);

    EXPECT_EQ(platform.files.modificationStamp(path), unixMs);
    EXPECT_EQ(platform.listing.entry(path)->lastWriteTime, unixMs * 1'000'000);
    EXPECT_EQ(platform.files.modificationStamp(path + ".missing"), std::nullopt);
    EXPECT_LT(std::llabs(platform.clock.nowUnixMs() - std::time(nullptr) * 1000LL), 5000);

    // A replacement that cannot take place keeps the old file.
    path = windowsPath(dir.write("known.met", "old"));
    const std::uint8_t fresh[] = {'n', 'e', 'w'};
    {
        HANDLE reader = ::CreateFileW(std::wstring(path.begin(), path.end()).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(reader, INVALID_HANDLE_VALUE);
        EXPECT_THROW(replaceFileContents(path, fresh), Error);
        ::CloseHandle(reader);
    }
    EXPECT_EQ(readText(path), "old");
    EXPECT_EQ(dir.entryCount(), 2u) << "no temporary file stays";
    replaceFileContents(path, fresh);
    EXPECT_EQ(readText(path), "new");
    EXPECT_EQ(dir.entryCount(), 2u);
}

TEST_F(Win32Platform, AMutexNameIsHeldWhileAnyProcessHasIt) {
    MutexService& mutexes = platform.mutexes;
    std::string name = "pln-test-mutex-" + std::to_string(::GetCurrentProcessId());
    {
        auto own = mutexes.create(name);
        EXPECT_EQ(own.outcome, MutexOutcome::Created);
        EXPECT_TRUE(own.handle);
        EXPECT_EQ(mutexes.create(name).outcome, MutexOutcome::AlreadyExists);
    }
    EXPECT_FALSE(mutexes.isHeld(name)) << "the name goes with its last handle";

    runPeer("hold-mutex " + name + " \"" + folder + "\"");
    EXPECT_EQ(awaitText(folder + "\\ready"), "0") << "the peer created it";
    EXPECT_TRUE(mutexes.isHeld(name));
    std::ofstream(folder + "\\release") << "1";
    EXPECT_TRUE(eventually([&] { return !mutexes.isHeld(name); }))
        << "the name is free once the peer ended";

    EXPECT_EQ(mutexes.create("no-such-namespace\\" + name).outcome, MutexOutcome::AccessDenied);
}

TEST_F(Win32Platform, BroadcastsReachOtherProcessesOfTheConfigurationOnly) {
    std::string prefix = "pln-test-bus-" + std::to_string(::GetCurrentProcessId()) + "/";
    auto bus = openNativeMessageBus(prefix);
    EXPECT_EQ(bus->descriptor(), -1);

    runPeer("listen " + prefix + " \"" + folder + "\"");
    ASSERT_EQ(awaitText(folder + "\\ready"), "1");
    bus->broadcast({prefix + "suspend", 7, -5'000'000'000});
    EXPECT_EQ(awaitText(folder + "\\message"), prefix + "suspend 7 -5000000000");

    // The peer answers for another program, then for this configuration.
    // Posted messages keep their order, so the first (or this process's own
    // message) would come before the second.
    std::vector<BusMessage> received;
    EXPECT_TRUE(eventually([&] {
        bus->waitForMessages(50);
        return !(received = bus->receive()).empty();
    }));
    EXPECT_EQ(received, (std::vector<BusMessage>{{prefix + "resumed", 3, 4}}));
}

} // namespace
} // namespace pln::test
