#include "logstore/core/default_logs.h"

#include "logstore/core/log_files.h"
#include "logstore/core/log_names.h"

#include <filesystem>
#include <string>

namespace pln {

bool createDefaultLogs(const tLogFiles& logs) {
    const tLogStoreContext& context = logs.context();
    std::error_code ec;
    const tDefaultLog& connRunTime = defaultLogs.front();
    if (std::filesystem::exists(context.logsFolder + std::string(connRunTime.name) +
                                    std::string(extensionOf(tLogState::permanent)),
                                ec))
        return false;
    bool created = false;
    for (const tDefaultLog& log : defaultLogs) {
        if (&log != &connRunTime && logExistsInAnyState(context.logsFolder, log.name))
            continue;
        tLogHeader header{log.valueType, log.flags, log.multiplier, std::string(log.units)};
        created |= logs.createLogFile(std::string(log.name), log.state, header);
    }
    if (created)
        context.recorder.broadcastNewLogs();
    return created;
}

} // namespace pln
