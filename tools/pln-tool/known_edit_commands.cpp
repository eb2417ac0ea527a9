#include "commands.h"
#include "common/error.h"
#include "common/file_io.h"
#include "kmedit/core/emule_running.h"
#include "kmedit/core/known_met_edits.h"
#include "kmedit/core/repair_km.h"
#include "platform/platform.h"
#include "tool_paths.h"

#include <algorithm>
#include <iostream>

namespace pln::tool {

namespace {

// The configuration folder is the one of known.met, of the file a link
// leads to; its preferences.ini tells whether eMule runs.
std::string configFolderOf(Platform& platform, const std::string& file) {
    return platform.files.canonicalFolder(folderOfFile(replacementTarget(file)));
}

tKnownMet loadedKnownMet(Platform& platform, const std::string& file) {
    if (isEmuleRunning(platform, configFolderOf(platform, file)))
        throw Error(emuleRunningMessage);
    tKnownMet knownMet(file, platform.files, platform.clock);
    try {
        knownMet.load();
    } catch (const Error& e) {
        throw Error(file + ": " + e.what(), e.kind());
    }
    return knownMet;
}

int rename(Platform& platform, const CommandArgs& args) {
    const std::string name = withoutForbiddenCharacters(args[3]);
    if (name != args[3]) {
        std::string warning = forbiddenCharactersWarning;
        std::replace(warning.begin(), warning.end(), '\r', '\n');
        std::cerr << warning << '\n';
    }
    if (name.empty())
        throw Error("the new name is empty");
    tKnownMet knownMet = loadedKnownMet(platform, args[1]);
    if (!renameKnownFile(knownMet, args[2], name))
        throw Error(args[2] + ": no such known file");
    std::cout << args[2] << " renamed to " << name << '\n';
    return 0;
}

int forget(Platform& platform, const CommandArgs& args) {
    std::vector<std::string> hashes(args.begin() + 2, args.end());
    std::string cancelledFile;
    if (hashes.size() >= 2 && hashes[hashes.size() - 2] == "--cancel") {
        cancelledFile = hashes.back();
        hashes.resize(hashes.size() - 2);
    }
    if (hashes.empty())
        throw Error("no hash given");
    tKnownMet knownMet = loadedKnownMet(platform, args[1]);
    std::unique_ptr<tCancelledMet> cancelled;
    if (!cancelledFile.empty()) {
        cancelled = std::make_unique<tCancelledMet>(cancelledFile, platform.files);
        try {
            cancelled->load();
        } catch (const Error& e) {
            throw Error(cancelledFile + ": " + e.what(), e.kind());
        }
    }
    const std::size_t removed = forgetKnownFiles(knownMet, hashes, {cancelled.get(), nullptr});
    std::cout << removed << " of " << hashes.size() << " file(s) removed from known.met";
    if (cancelled)
        std::cout << ", " << hashes.size() << " hash(es) in cancelled.met";
    std::cout << '\n';
    return 0;
}

} // namespace

int runKnownEdit(const CommandArgs& args) {
    const bool isRename = args.size() == 4 && args[0] == "rename";
    const bool isForget = args.size() >= 3 && args[0] == "forget";
    if (!isRename && !isForget) {
        std::cerr << "usage:\n" << knownUsage;
        return exitUsage;
    }
    NativePlatform platform;
    try {
        return isRename ? rename(platform.services(), args) : forget(platform.services(), args);
    } catch (const Error& e) {
        std::cerr << "pln-tool: " << e.what() << '\n';
        return exitFailure;
    }
}

} // namespace pln::tool
