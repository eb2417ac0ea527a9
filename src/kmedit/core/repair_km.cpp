#include "kmedit/core/repair_km.h"

#include "common/error.h"
#include "common/text.h"
#include "kmedit/core/repair_link.h"

#include <algorithm>
#include <filesystem>

namespace pln {

namespace {

tKnownMetList& listOf(tRepairContext& repair) {
    tKnownMetList* list = repair.knownMet.list();
    if (!list)
        throw Error("known.met has not been read");
    return *list;
}

std::size_t saveWhenChanged(tRepairContext& repair, std::size_t changed) {
    if (changed > 0)
        repair.knownMet.save();
    return changed;
}

bool hasStringTag(const tKnownMetRecord& record, std::uint8_t id) {
    return std::any_of(record.tags.begin(), record.tags.end(), [id](const tKnownMetTag& tag) {
        return tag.nameId == id && tag.tagType == tagType::string;
    });
}

// A record restored from the logs may lack a tag the link brings; the tag is
// added, so that nothing of the link is lost.
void setText(tKnownMetRecord& record, std::uint8_t id, const std::string& text) {
    if (!hasStringTag(record, id))
        record.tags.append(tKnownMetTag::createFromValue(id, 0, text));
    else if (id == tagId::fileName)
        record.setFileName(text);
    else
        record.setAichHash(text);
}

void completeFromLink(tKnownMetList& list, std::size_t index, const tEd2kFileLink& link) {
    tKnownMetRecord& record = list.record(index);
    list.setName(index, link.name);
    setText(record, tagId::fileName, link.name);
    record.setFileSize(link.size);
    // The link describes the file as it is now: an AICH hash it lacks is not
    // kept from the record, which may have been of other contents.
    if (link.aichText.empty())
        record.setAichHash("");
    else
        setText(record, tagId::aichHash, link.aichText);
}

bool isZeroHash(const tHash& hash) {
    return std::all_of(hash.bytes.begin(), hash.bytes.end(), [](std::uint8_t b) { return b == 0; });
}

} // namespace

std::optional<std::string> repairRefusal(bool emuleRunning, bool knownMetUnchanged) {
    if (emuleRunning)
        return emuleRunningMessage;
    if (!knownMetUnchanged)
        return knownMetModifiedMessage;
    return std::nullopt;
}

bool isKnownMetItself(const std::string& backupPath, const std::string& knownMetPath) {
    if (foldCase(backupPath) == foldCase(knownMetPath))
        return true;
    std::error_code error;
    return std::filesystem::equivalent(backupPath, knownMetPath, error);
}

std::size_t importMissingKF(tRepairContext& repair, const std::string& backupPath) {
    tKnownMetList& list = listOf(repair);
    if (isKnownMetItself(backupPath, repair.knownMet.fileName()))
        throw Error(notABackupMessage);
    tKnownMet backup(backupPath, repair.files, repair.clock);
    backup.load();
    tKnownMetList& source = *backup.list();
    std::size_t changed = 0;
    for (std::size_t i = 0; i < source.count();) {
        std::size_t index = 0;
        const bool found = list.findByHash(source.record(i).hash, index);
        if (found && list.record(index).getFileSize() != 0) {
            ++i;
            continue;
        }
        std::unique_ptr<tKnownMetRecord> record = source.extract(i);
        if (found) {
            std::unique_ptr<tKnownMetRecord> replaced = list.extract(index);
            record->setTransferred(replaced->getTransferred());
            record->setRequested(replaced->getRequested());
            record->setAccepted(replaced->getAccepted());
        }
        std::string name = record->getFileName();
        list.insert(index, std::move(name), std::move(record));
        ++changed;
    }
    return saveWhenChanged(repair, changed);
}

std::size_t pasteKF(tRepairContext& repair, const std::vector<std::string>& links) {
    tKnownMetList& list = listOf(repair);
    std::size_t changed = 0;
    for (const std::string& line : links) {
        std::optional<tEd2kFileLink> link = parseEd2kLink(line);
        if (!link)
            continue;
        std::size_t index = 0;
        if (!list.findByHash(link->hashText, index)) {
            list.insert(index, link->name,
                        tKnownMetRecord::createFromValues(link->name, link->hashText, 0, 0, 0,
                                                          link->size, link->aichText));
            ++changed;
        } else if (list.record(index).getFileSize() == 0) {
            completeFromLink(list, index, *link);
            ++changed;
        }
    }
    return saveWhenChanged(repair, changed);
}

std::size_t delErroneousKF(tRepairContext& repair) {
    tKnownMetList& list = listOf(repair);
    std::size_t changed = 0;
    for (std::size_t i = list.count(); i-- > 0;) {
        const tKnownMetRecord& record = list.record(i);
        if (record.getFileName().empty() || isZeroHash(record.hash)) {
            list.extract(i);
            ++changed;
        }
    }
    return saveWhenChanged(repair, changed);
}

tRepairOutcome repairKnownMet(tRepairContext& repair, const tRepairOptions& options) {
    tRepairOutcome outcome;
    if (!options.backupPath.empty())
        outcome.imported = importMissingKF(repair, options.backupPath);
    if (!options.links.empty())
        outcome.pasted = pasteKF(repair, options.links);
    if (options.recalculateStats) {
        const tRepairOutcome logs = repairKM(repair, options.importFromLogs);
        outcome.restored = logs.restored;
        outcome.repaired = logs.repaired;
    }
    if (options.deleteErroneous)
        outcome.deleted = delErroneousKF(repair);
    return outcome;
}

} // namespace pln
