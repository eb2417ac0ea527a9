#include "app/core/locations.h"
#include "app/core/startup.h"
#include "commands.h"
#include "common/error.h"
#include "common/file_io.h"
#include "common/text.h"
#include "error_stream.h"
#include "kmedit/core/emule_running.h"
#include "kmedit/core/repair_km.h"
#include "kmedit/core/repair_link.h"
#include "logstore/core/log_files.h"
#include "platform/platform.h"
#include "tool_paths.h"

#include <algorithm>
#include <iostream>

namespace pln::tool {

namespace {

struct RepairRequest {
    std::string configFolder;
    std::string logsFolder;
    std::string linksFile;
    tRepairOptions options;
};

// Null when the words do not form a repair command.
std::optional<RepairRequest> repairRequest(const CommandArgs& args) {
    if (args.size() < 2)
        return std::nullopt;
    RepairRequest request;
    request.configFolder = folderPath(args[1]);
    for (std::size_t i = 2; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--backup" && hasValue)
            request.options.backupPath = args[++i];
        else if (args[i] == "--links" && hasValue)
            request.linksFile = args[++i];
        else if (args[i] == "--from-logs" && hasValue)
            request.logsFolder = folderPath(args[++i]);
        else if (args[i] == "--import-missing")
            request.options.importFromLogs = true;
        else if (args[i] == "--delete-erroneous")
            request.options.deleteErroneous = true;
        else
            return std::nullopt;
    }
    request.options.recalculateStats = !request.logsFolder.empty();
    if (request.options.importFromLogs && !request.options.recalculateStats)
        return std::nullopt;
    return request;
}

std::vector<std::string> readLinks(const std::string& file) {
    const std::vector<std::uint8_t> bytes = readWholeFile(file);
    const std::string text =
        decodeTextFile({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    if (std::optional<std::string> refusal = linksRefusal(text))
        throw Error(file + ": " + *refusal);
    return linkLines(text);
}

// Nothing is written while eMule runs, and the logs are not rewritten while
// the recorder of that eMule may append to them.
void refuseWhileRunning(Platform& platform, const RepairRequest& request) {
    const std::string knownMetPath = request.configFolder + "known.met";
    if (!platform.files.fileExists(knownMetPath))
        throw Error(knownMetPath + ": no such file");
    if (isEmuleRunning(platform, platform.files.canonicalFolder(request.configFolder)))
        throw Error(emuleRunningMessage);
    tLocations locations;
    locations.messagePrefix = messagePrefixOf(platform.files, request.configFolder);
    if (request.options.recalculateStats && platform.mutexes.isHeld(recorderMutexName(locations)))
        throw Error("the recorder of " + locations.messagePrefix +
                    " is running; stop it before repairing known.met from its logs");
}

void printOutcome(const tRepairOptions& options, const tRepairOutcome& outcome) {
    auto line = [](const char* operation, std::size_t records, const char* change) {
        std::cout << operation << ": " << records << " record(s) " << change << '\n';
    };
    if (!options.backupPath.empty())
        line("backup", outcome.imported, "imported");
    if (!options.links.empty())
        line("links", outcome.pasted, "imported");
    if (options.recalculateStats) {
        line("logs", outcome.repaired, "repaired");
        line("logs", outcome.restored, "restored");
    }
    if (options.deleteErroneous)
        line("erroneous entries", outcome.deleted, "deleted");
}

} // namespace

int runKnownRepair(const CommandArgs& args) {
    std::optional<RepairRequest> request = repairRequest(args);
    if (!request) {
        std::cerr << "usage:\n" << knownUsage;
        return exitUsage;
    }
    try {
        NativePlatform native;
        Platform& platform = native.services();
        refuseWhileRunning(platform, *request);
        if (!request->linksFile.empty())
            request->options.links = readLinks(request->linksFile);
        tKnownMet knownMet(request->configFolder + "known.met", platform.files, platform.clock);
        knownMet.load();
        ErrorStream reports;
        tDetachedRecorderLink recorder;
        tLogFiles logs(tLogStoreContext{request->logsFolder, reports, recorder});
        if (request->options.recalculateStats)
            logs.scanLogs();
        tRepairContext repair{knownMet, logs, platform.files, platform.clock};
        printOutcome(request->options, repairKnownMet(repair, request->options));
        return reports.failed ? exitFailure : 0;
    } catch (const Error& e) {
        std::cerr << "pln-tool: " << e.what() << '\n';
        return exitFailure;
    }
}

} // namespace pln::tool
