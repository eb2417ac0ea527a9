#pragma once

#include "emulefiles/core/known_met.h"
#include "logstore/core/log_files.h"
#include "platform/clock.h"
#include "platform/file_system.h"

#include <optional>
#include <string>
#include <vector>

namespace pln {

inline constexpr const char* unknownFileName = "Unknown filename";
inline constexpr const char* notABackupMessage = "Please select a backup copy of known.met...";
inline constexpr const char* emuleRunningMessage =
    "Known.met cannot be modified while eMule is running";
inline constexpr const char* knownMetModifiedMessage =
    "Known.met has been modified while this dialog was open. Please reload the known files "
    "(from the main window) and try again.";
inline constexpr const char* logsNotUpdatedMessage =
    "The PLN logs could not all be updated, so known.met was left unchanged by the "
    "recalculation.";

// What a repair of known.met works on. known.met must be loaded.
struct tRepairContext {
    tKnownMet& knownMet;
    tLogFiles& logs;
    FileSystem& files;
    Clock& clock;
};

// The operations the user chose; an empty backup path or link list leaves
// its operation out.
struct tRepairOptions {
    std::string backupPath;
    std::vector<std::string> links;
    bool recalculateStats = false;
    bool importFromLogs = false;
    bool deleteErroneous = false;
};

// How many records each operation added, completed or removed.
struct tRepairOutcome {
    // Copied from a backup copy (added, or completing one of size 0).
    std::size_t imported = 0;
    // Added or completed from ed2k links.
    std::size_t pasted = 0;
    // Restored from the logs of files known.met lacks.
    std::size_t restored = 0;
    // Whose counters the logs completed.
    std::size_t repaired = 0;
    std::size_t deleted = 0;

    std::size_t added() const { return imported + pasted + restored; }
    bool any() const { return added() + repaired + deleted > 0; }
};

// Why the repair may not write known.met now, or nothing.
std::optional<std::string> repairRefusal(bool emuleRunning, bool knownMetUnchanged);

// Whether a chosen backup is known.met itself (names compared without
// regard to case, as on eMule's file systems, or the same file on disk).
bool isKnownMetItself(const std::string& backupPath, const std::string& knownMetPath);

// Each operation saves known.met once at its end when it changed something
// and tells how many records it changed. A failure throws, and known.met in memory may
// then differ from the file: the caller reloads it.

// Copies in the files of a backup copy that known.met lacks, and those it
// holds with size 0 (as restored from the logs), keeping their counters.
std::size_t importMissingKF(tRepairContext& repair, const std::string& backupPath);
// Adds the files of ed2k links that known.met lacks, and completes those it
// holds with size 0.
std::size_t pasteKF(tRepairContext& repair, const std::vector<std::string>& links);
// Adds to the counters of each known file what its log holds beyond them
// and undoes the restarts of its log's counters, rewriting the log; with
// importMissing, a logged file known.met lacks is restored as "Unknown
// filename" of size 0. Runs only while the recorder is suspended. Fills
// the repaired and restored counts.
tRepairOutcome repairKM(tRepairContext& repair, bool importMissing);
// Removes every file without a name and every file of hash zero.
std::size_t delErroneousKF(tRepairContext& repair);

// The chosen operations in their order; after a failure the later ones do
// not run.
tRepairOutcome repairKnownMet(tRepairContext& repair, const tRepairOptions& options);

} // namespace pln
