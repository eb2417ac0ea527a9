#pragma once

#include "common/ini_document.h"
#include "platform/platform.h"

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace pln {

// In-memory services for tests: every answer is a public field the test sets.

struct FakeSystemInfo : SystemInfo {
    std::string executable;
    std::optional<OsVersion> version = OsVersion{2, 6, 0};
    std::map<std::string, std::int32_t> registry;
    bool shell = true;
    bool knownFolderCall = true;
    std::map<KnownFolder, std::string> knownFolders;
    std::map<ShellFolder, std::string> shellFolders;
    // Windows paths by default, so tests can mirror the program's real locations.
    char separator = '\\';

    std::string executablePath() override { return executable; }
    std::optional<OsVersion> osVersion() override { return version; }
    std::optional<std::int32_t> emuleRegistryInt(const std::string& valueName) override;
    bool shellAvailable() override { return shell; }
    bool knownFolderCallAvailable() override { return knownFolderCall; }
    std::optional<std::string> knownFolder(KnownFolder folder) override;
    std::optional<std::string> shellFolder(ShellFolder folder) override;
    char pathSeparator() const override { return separator; }
};

// Folder paths are compared without a trailing '\' or '/'; a folder's parent
// is the text up to its last separator.
struct FakeFileSystem : FileSystem {
    std::set<std::string> files;
    std::set<std::string> folders;
    std::map<std::string, FileStamp> stamps;
    std::set<std::string> failCreate;

    bool fileExists(const std::string& path) override { return files.count(path) != 0; }
    bool folderExists(const std::string& path) override;
    // Succeeds when the parent exists and the folder is not in failCreate.
    bool createFolder(const std::string& path) override;
    std::optional<FileStamp> modificationStamp(const std::string& path) override;
    // A fake world's folders are spelled as they are meant.
    std::string canonicalFolder(const std::string& folder) override { return folder; }
};

// Names held by other processes and names that are denied are set by the
// test; a handle holds its name until it is destroyed and must not outlive
// the service.
struct FakeMutexService : MutexService {
    std::set<std::string> heldElsewhere;
    std::set<std::string> denied;
    std::set<std::string> heldHere;
    std::vector<std::string> created; // every successful creation, in order

    Result create(const std::string& name) override;
    bool isHeld(const std::string& name) override;
};

struct FakeProcessLauncher : ProcessLauncher {
    std::vector<std::pair<std::string, std::string>> started; // (path, parameters)
    bool result = true;

    bool runProgram(const std::string& path, const std::string& parameters) override;
};

// Files are UTF-8 texts under their path; writes to a path in failWrite fail.
struct FakeIniProfile : IniProfile {
    std::map<std::string, std::string> files;
    std::set<std::string> failWrite;

    std::optional<std::string> read(const std::string& file, const std::string& section,
                                    const std::string& key) override;
    bool write(const std::string& file, const std::string& section, const std::string& key,
               const std::string& value) override;
    std::vector<std::string> sections(const std::string& file) override;
    std::vector<std::string> keys(const std::string& file, const std::string& section) override;

private:
    IniDocument document(const std::string& file) const;
};

// The local calendar is UTC shifted by an offset, changed at the instants
// of a fixed table as daylight-saving rules would.
struct FakeClock : Clock {
    std::int64_t nowMs = 0;
    std::int64_t utcOffsetMs = 0;
    // From each instant (ms since 1970 UTC) on, in ascending order, the offset.
    std::vector<std::pair<std::int64_t, std::int64_t>> offsetChanges;

    std::int64_t nowUnixMs() override { return nowMs; }
    CalendarMs toLocalCalendar(std::int64_t unixMs) override {
        std::int64_t offset = utcOffsetMs;
        for (auto [from, changed] : offsetChanges)
            if (from <= unixMs)
                offset = changed;
        return unixEpochCalendarMs + unixMs + offset;
    }
};

// Folder listings and entries set by the test; paths are compared as written.
struct FakeFileListing : FileListing {
    std::map<std::string, std::vector<FileEntry>> folders;
    std::map<std::string, FileEntry> entries;
    std::map<std::string, std::string> shellLinks; // shortcut path -> target
    std::optional<std::string> prefix;

    std::vector<FileEntry> listFolder(const std::string& folder) override {
        auto it = folders.find(folder);
        return it == folders.end() ? std::vector<FileEntry>{} : it->second;
    }
    std::optional<FileEntry> entry(const std::string& path) override {
        auto it = entries.find(path);
        return it == entries.end() ? std::nullopt : std::optional<FileEntry>(it->second);
    }
    bool isShellLink(const std::string& path) override { return shellLinks.count(path) != 0; }
    std::optional<std::string> shellLinkTarget(const std::string& path) override {
        auto it = shellLinks.find(path);
        return it == shellLinks.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    std::optional<std::string> winePrefix() override { return prefix; }
};

// Ports taken by other programs are set by the test.
struct FakePortProbe : PortProbe {
    std::set<std::uint16_t> inUse;

    bool tcpPortInUse(std::uint16_t port) override { return inUse.count(port) != 0; }
};

// Programs that run, by executable name, are set by the test.
struct FakeRunningPrograms : RunningPrograms {
    std::set<std::string> running;

    bool userRuns(const std::string& executableName) override {
        return running.count(executableName) != 0;
    }
};

class FakePlatform {
public:
    FakePlatform() = default;
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    FakeSystemInfo system;
    FakeFileSystem files;
    FakeMutexService mutexes;
    FakeProcessLauncher processes;
    FakeIniProfile ini;
    FakeClock clock;
    FakeFileListing listing;
    FakePortProbe ports;
    FakeRunningPrograms programs;

    Platform& services() { return services_; }

private:
    Platform services_{system, files, mutexes, processes, ini, clock, listing, ports, programs};
};

} // namespace pln
