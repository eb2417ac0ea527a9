#include "common/error.h"
#include "kmedit/core/repair_drops.h"
#include "kmedit/core/repair_km.h"
#include "platform/locked_file.h"

#include <vector>

namespace pln {

namespace {

constexpr std::size_t knownFileRecordSize = 20;

// Adds what the log holds beyond a known file's counters: counters that
// restarted from zero in known.met (eMule lost it) while the log went on.
bool addLoggedCounters(tKnownMetRecord& record, const tKnownFileValues& last) {
    bool changed = false;
    if (static_cast<std::int64_t>(last.transferred) >
        static_cast<std::int64_t>(record.getTransferred())) {
        record.setTransferred(record.getTransferred() + last.transferred);
        changed = true;
    }
    if (record.getRequested() < last.requests) {
        record.setRequested(record.getRequested() + last.requests);
        changed = true;
    }
    if (record.getAccepted() < last.accepted) {
        record.setAccepted(record.getAccepted() + last.accepted);
        changed = true;
    }
    return changed;
}

void addCorrection(tKnownMetRecord& record, const tDropCorrection& c) {
    if (c.transferred)
        record.setTransferred(record.getTransferred() + c.added.transferred);
    if (c.requests)
        record.setRequested(record.getRequested() + c.added.requests);
    if (c.accepted)
        record.setAccepted(record.getAccepted() + c.added.accepted);
}

class LogRepair {
public:
    LogRepair(tRepairContext& repair, bool importMissing)
        : list_(*repair.knownMet.list()), importMissing_(importMissing) {}

    const tRepairOutcome& outcome() const { return outcome_; }

    // One known-file log: its record in known.met is updated or restored,
    // and its corrected records are staged for the rewrite.
    void repair(tLogFile& log) {
        const tHash hash = tHash::create(log.name());
        std::size_t index = 0;
        const bool found = list_.findByHash(hash, index);
        if (!found && !importMissing_)
            return;
        log.loadValues();
        // A log that could not be read has been reported; its file is left
        // as it is and tells nothing about the counters.
        if (log.recordsSize() < 0)
            return;
        const tLogRecords values = log.values();
        std::vector<std::uint8_t> records(
            log.records().begin(),
            log.records().begin() +
                static_cast<std::ptrdiff_t>(values.count() * knownFileRecordSize));
        const std::size_t n = values.count();
        bool repaired =
            found && n > 0 && addLoggedCounters(list_.record(index), values.knownFileValues(n - 1));
        log.freeValues();
        const tDropCorrection correction = correctDrops(records);
        if (found && correction.any()) {
            addCorrection(list_.record(index), correction);
            repaired = true;
        } else if (!found) {
            restore(hash, index, records);
        }
        if (repaired)
            ++outcome_.repaired;
        if (correction.any())
            stage(log, records);
    }

    // The new files are all written and made durable before any replaces
    // its log, and known.met is saved only after the logs: a repair that
    // stops half-way never leaves counters counted twice.
    void commit() {
        if (staged_.empty())
            return;
        try {
            batch_.flush();
        } catch (const Error& e) {
            throw Error(std::string(logsNotUpdatedMessage) + "\n" + e.what(), e.kind());
        }
        for (tLogFile* log : staged_)
            if (!log->commitValues(batch_))
                throw Error(logsNotUpdatedMessage);
    }

private:
    // The counters of a file known.met lacks are the corrected last values.
    void restore(const tHash& hash, std::size_t index, const std::vector<std::uint8_t>& records) {
        const std::size_t n = records.size() / knownFileRecordSize;
        tKnownFileValues last;
        if (n > 0)
            last = tLogRecords(records, valueTypeKnownFile).knownFileValues(n - 1);
        list_.insert(index, unknownFileName,
                     tKnownMetRecord::createFromValues(unknownFileName, hash.toString(),
                                                       last.transferred, last.requests,
                                                       last.accepted, 0, {}));
        ++outcome_.restored;
    }

    void stage(tLogFile& log, const std::vector<std::uint8_t>& records) {
        if (!log.stageValues(records, batch_))
            throw Error(logsNotUpdatedMessage);
        staged_.push_back(&log);
    }

    tKnownMetList& list_;
    bool importMissing_;
    tRepairOutcome outcome_;
    FileReplacementBatch batch_;
    std::vector<tLogFile*> staged_;
};

} // namespace

tRepairOutcome repairKM(tRepairContext& repair, bool importMissing) {
    if (!repair.knownMet.list())
        throw Error("known.met has not been read");
    LogRepair logRepair(repair, importMissing);
    for (const auto& log : repair.logs.logs())
        if (log->kind() == tLogKind::knownFile)
            logRepair.repair(*log);
    logRepair.commit();
    if (logRepair.outcome().any())
        repair.knownMet.save();
    return logRepair.outcome();
}

} // namespace pln
