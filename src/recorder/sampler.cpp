#include "recorder/sampler.h"

#include "common/error.h"
#include "emulefiles/core/known_met_list.h"
#include "logstore/core/log_files.h"
#include "logstore/core/online_signature.h"
#include "recorder/log_values.h"

#include <filesystem>
#include <optional>

namespace pln {

namespace {

bool isRecorded(const tLogFile& log) {
    return log.state() == tLogState::active || log.state() == tLogState::permanent;
}

bool holdsRecords(const tLogFile& log) {
    std::error_code error;
    auto size = std::filesystem::file_size(log.path(), error);
    return error || size >= recordAreaStart(log.kind()) + recordSizeOf(log.valueType());
}

const tKnownMetRecord* findKnownFile(const tKnownMetList& list, const std::string& name) {
    std::size_t index = 0;
    try {
        return list.findByHash(name, index) ? &list.record(index) : nullptr;
    } catch (const Error&) {
        return nullptr; // a name that is no hash names no known file
    }
}

std::optional<std::string> currentText(const tLogFile& log, const tSampleSources& sources) {
    if (log.kind() == tLogKind::queuedClients)
        return readQueuedClients(sources.ini, sources.eMuleConfigFolder, sources.eMuleConfigBase)
            .value;
    return sources.ini.read(sources.eMuleConfigFolder + log.iniFileName(), log.iniSection(),
                            log.iniKey());
}

} // namespace

std::vector<tPendingRecord> sampleLogs(const tLogFiles& logs, const tKnownMetList* knownFiles,
                                       const tSampleSources& sources, dosDateTime date,
                                       Prompter& errors, bool onlyEmptyLogs) {
    std::vector<tPendingRecord> pending;
    for (const auto& entry : logs.logs()) {
        const tLogFile& log = *entry;
        if (!isRecorded(log) || log.kind() == tLogKind::virtualLog)
            continue;
        if (onlyEmptyLogs && holdsRecords(log))
            continue;
        tPendingRecord next{log.fileName(), log.kind(), log.valueType(), {}};
        if (log.kind() == tLogKind::knownFile) {
            const tKnownMetRecord* record =
                knownFiles ? findKnownFile(*knownFiles, log.name()) : nullptr;
            if (!record)
                continue;
            next.record = knownFileRecord(date, *record);
        } else {
            std::optional<std::string> text = currentText(log, sources);
            if (!text) {
                errors.showError(format(valueMissingMessage, {log.name()}));
                continue;
            }
            auto record = statsRecord(date, log.valueType(), *text);
            if (!record) {
                errors.showError(format(valueInvalidMessage, {*text, log.name()}));
                continue;
            }
            next.record = std::move(*record);
        }
        pending.push_back(std::move(next));
    }
    return pending;
}

} // namespace pln
