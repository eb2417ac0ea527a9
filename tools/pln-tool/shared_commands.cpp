#include "commands.h"
#include "common/error.h"
#include "emulefiles/core/known_met.h"
#include "emulefiles/core/shared_folders.h"
#include "platform/file_listing.h"
#include "platform/platform.h"
#include "tool_paths.h"

#include <cstdio>
#include <ctime>
#include <iostream>

namespace pln::tool {

const char* const sharedUsage = "  pln-tool shared scan CONFIGFOLDER [--known FILE]\n"
                                "      files eMule shares: name, folder, size, last write (UTC);\n"
                                "      with --known, whether each known file is shared\n";

namespace {

std::string utcText(FileTime time) {
    std::int64_t ms = time / 1'000'000 - (time % 1'000'000 < 0 ? 1 : 0);
    std::time_t seconds = static_cast<std::time_t>(ms / 1000 - (ms % 1000 < 0 ? 1 : 0));
    std::tm parts{};
#ifdef _WIN32
    if (::gmtime_s(&parts, &seconds) != 0)
        return "?";
#else
    if (!::gmtime_r(&seconds, &parts))
        return "?";
#endif
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", parts.tm_year + 1900,
                  parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec,
                  static_cast<int>((ms % 1000 + 1000) % 1000));
    return text;
}

// Every source is read whatever its stamp; a source that cannot be read is
// reported and the scan goes on with the others.
bool loadSources(tSharedFolders& folders) {
    folders.loadIncomingDir();
    folders.loadSharedDirs();
    std::string sharedDirsError = folders.lastDatError();
    folders.loadSharedFiles();
    std::string sharedFilesError = folders.lastDatError();
    folders.loadCategories();
    auto report = [](const std::string& path, const std::string& reason) {
        std::cerr << "pln-tool: " << path << ": " << reason << '\n';
    };
    if (!folders.incomingDirLoaded())
        report(folders.preferencesPath(), "no IncomingDir in section eMule");
    if (!folders.sharedDirsLoaded())
        report(folders.sharedDirsPath(), sharedDirsError);
    if (!folders.sharedFilesLoaded())
        report(folders.sharedFilesPath(), sharedFilesError);
    if (!folders.categoriesLoaded())
        report(folders.categoriesPath(), "changed while it was read");
    return folders.incomingDirLoaded() && folders.sharedDirsLoaded() &&
           folders.sharedFilesLoaded() && folders.categoriesLoaded();
}

void printTable(const tSharedFileTable& table) {
    for (const auto& file : table.files())
        std::cout << file.name << '\t' << file.data.path << '\t' << file.data.size << '\t'
                  << utcText(file.data.lastWriteTime) << '\n';
}

void printKnown(Platform& platform, const std::string& knownFile, const tSharedFileTable& table) {
    tKnownMet knownMet(knownFile, platform.files, platform.clock);
    knownMet.load();
    const tKnownMetList& list = *knownMet.list();
    std::cout << "known files:\n";
    for (std::size_t i = 0; i < list.count(); ++i) {
        const tKnownMetRecord& record = list.record(i);
        std::string name = record.getFileName();
        int found = findSharedFile(table, name, record.getFileSize(), record.date);
        std::cout << record.hash.toString() << '\t' << (found >= 0 ? "shared" : "not shared")
                  << '\t' << name << '\t'
                  << (found >= 0 ? table[static_cast<std::size_t>(found)].data.path : "") << '\n';
    }
}

} // namespace

int runSharedCommand(const CommandArgs& args) {
    bool withKnown = args.size() == 4 && args[2] == "--known";
    if (args.empty() || args[0] != "scan" || (args.size() != 2 && !withKnown)) {
        std::cerr << "usage:\n" << sharedUsage;
        return exitUsage;
    }
    NativePlatform native;
    Platform& platform = native.services();
    auto listing = makeNativeFileListing();
    char separator = platform.system.pathSeparator();
    std::string config = folderPath(args[1]);
    try {
        tSharedFolders folders(platform.files, platform.clock, platform.ini, *listing, config,
                               separator);
        bool complete = loadSources(folders);
        tSharedFileTable table;
        folders.scanSharedFiles(table);
        printTable(table);
        if (withKnown)
            printKnown(platform, args[3], table);
        return std::cout.flush() && complete ? 0 : exitFailure;
    } catch (const Error& e) {
        std::cerr << "pln-tool: " << (withKnown ? args[3] : args[1]) << ": " << e.what() << '\n';
        return exitFailure;
    }
}

} // namespace pln::tool
