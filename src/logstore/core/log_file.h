#pragma once

#include "common/missing_value.h"
#include "logstore/core/instants_cache.h"
#include "logstore/core/log_codec.h"
#include "logstore/core/log_records.h"
#include "logstore/core/log_store_context.h"
#include "logstore/core/log_types.h"
#include "platform/locked_file.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pln {

class FileReplacementBatch;
class tLogFiles;
class tLogFolderListing;

// One log file of the logs folder. Its properties (state, kind, header,
// combine block) are read once at construction; its records are loaded on
// demand and released again by their users, so that only the logs being
// drawn hold their records. Every failure is reported through the context's
// prompter and leaves the file as it was.
class tLogFile {
public:
    // Probes name.pln, name.pln_on and name.pln_off in that order, without
    // regard to case; the first found gives the state. A valueType of 0
    // afterwards means the object is not a usable log (no file, or an
    // invalid one, already reported). A listing of the logs folder spares
    // the probe its own look at the folder.
    tLogFile(tLogStoreContext context, std::string name,
             const tLogFolderListing* listing = nullptr);
    ~tLogFile();
    tLogFile(const tLogFile&) = delete;
    tLogFile& operator=(const tLogFile&) = delete;

    const std::string& name() const { return name_; }
    tLogState state() const { return state_; }
    tLogKind kind() const { return kind_; }
    std::uint8_t valueType() const { return valueType_; }
    std::uint8_t flags() const { return flags_; }
    double multiplier() const { return multiplier_; }
    const std::string& units() const { return units_; }
    tLogOperation operation() const { return operation_; }
    const std::array<std::string, 2>& sourceNames() const { return sourceNames_; }
    double maxValue() const { return maxValue_; }

    // Size of the loaded record area; -1 while nothing is loaded.
    std::int32_t recordsSize() const { return recordsSize_; }
    std::span<const std::uint8_t> records() const;
    // The records with their instants.
    tLogRecords values() const;
    std::int32_t recordCount() const;
    // The sources of a loaded combined log; null otherwise.
    const tLogFile* source(int index) const {
        return sources_.at(static_cast<std::size_t>(index)).get();
    }
    bool isConnRunTimeLog() const { return connRunTimeLog_; }
    // Whether a load corrected values that the file does not hold yet; the
    // answer is given once per correcting load.
    bool takeWriteBackRequest() { return std::exchange(writeBackRequested_, false); }

    // Reads the record area. A combined log loads its two sources instead.
    // The catalogue's ConnRunTime log is corrected where its values drop; the
    // correction waits to be saved (takeWriteBackRequest).
    // Each record's instant is worked out here; the context's cache keeps
    // them, and the totals of workOutTotals, for later loads of the file.
    void loadValues();
    // loadValues for callers that gather failures: the report's text is
    // thrown as Error instead of being shown.
    void readValues();
    void freeValues();
    // Gives the loaded records (a combined log's sources' records) the
    // running totals of their counters (increase_sums.h), for a drawing:
    // other users of the records have no need of them.
    void workOutTotals();

    // Keeps the loaded records flagged in keep (one flag per whole record),
    // in their order, in a buffer of their own size: the area read may be
    // shared with the cache of loaded logs. A trailing partial record goes.
    void retainRecords(const std::vector<bool>& keep);

    // Replaces the record area by the given whole records, through a
    // temporary file renamed over the log: an interrupted rewrite leaves the
    // old log intact. Only while the recorder is suspended. False on failure.
    bool replaceValues(std::span<const std::uint8_t> bytes);
    // replaceValues throwing the report's text as Error instead of showing it.
    void writeValues(std::span<const std::uint8_t> bytes);
    // The two halves of replaceValues for logs rewritten together: the new
    // file is written into the batch, and after the batch has been flushed
    // it takes the log's place. False (after reporting) on failure.
    bool stageValues(std::span<const std::uint8_t> bytes, FileReplacementBatch& batch);
    bool commitValues(FileReplacementBatch& batch);

    // Rewrites flags, multiplier and units (and, for a combined log, the
    // operation and maximum) in place under an exclusive lock, so that an
    // append of the recorder is never lost. Nothing for a known-file log.
    bool updateProperties(std::uint8_t flags, const std::string& units, double multiplier,
                          tLogOperation operation, double maxValue);

    // Renames the file of a combined log, keeping its extension. Refuses a
    // name held by another log's file. False on failure.
    bool renameVirtual(const std::string& newName);

    std::string_view extension() const;
    // The file's name as spelled on disk (name and extension).
    const std::string& fileName() const { return fileName_; }
    std::string path() const;
    std::string displayName() const;
    std::string iniFileName() const;
    std::string iniSection() const;
    std::string iniKey() const;

private:
    friend class tLogFiles;

    void probe(const tLogFolderListing* listing);
    void probe(const tLogFolderListing& listing);
    void readProperties();
    FileVersion readRecords(tRecordArea& read);
    void workOutInstants(const FileVersion* version, tRecordArea read);
    void loadSources();
    void correctConnRunTime();
    void report(const std::string& text) const;
    template <typename Action> void saveOrThrow(Action action);
    template <typename Action> bool save(Action action);
    void stageInto(std::span<const std::uint8_t> bytes, FileReplacementBatch& batch);

    tLogStoreContext context_;
    std::string name_;
    tLogState state_ = tLogState::none;
    std::string fileName_;
    tLogKind kind_;
    std::uint8_t valueType_ = 0;
    std::uint8_t flags_ = 0;
    double multiplier_ = 1.0;
    std::string units_;
    std::int32_t recordsSize_ = -1;
    // Both shared with the context's cache, which never sees them change: a
    // change goes to a copy.
    std::shared_ptr<const std::uint8_t[]> records_;
    std::shared_ptr<const std::vector<std::int64_t>> instants_;
    std::shared_ptr<const tIncreaseSums> sums_;
    // The version the loaded records were read from unchanged, while the
    // cache holds their entry: totals worked out later join it.
    std::optional<FileVersion> cachedVersion_;
    std::array<std::unique_ptr<tLogFile>, 2> sources_;
    std::array<std::string, 2> sourceNames_;
    tLogOperation operation_ = tLogOperation::sum;
    double maxValue_ = missingValue();
    bool connRunTimeLog_ = false;
    bool writeBackRequested_ = false;
};

} // namespace pln
