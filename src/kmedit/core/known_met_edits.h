#pragma once

#include "emulefiles/core/cancelled_met.h"
#include "emulefiles/core/known_met.h"
#include "logstore/core/log_files.h"

#include <string>
#include <string_view>
#include <vector>

namespace pln {

// The warning shown when a new name lost characters Windows forbids.
extern const std::string forbiddenCharactersWarning;

// The name without the characters Windows forbids in file names.
std::string withoutForbiddenCharacters(std::string_view name);

// Stores a new name in the record of the hash and saves known.met: the given
// record, which a damaged known.met may hold beside another of the same hash,
// or else the first of the hash. False when known.met has no such record
// (nothing is saved then). Throws the save's error.
bool renameKnownFile(tKnownMet& knownMet, std::string_view hashText, const std::string& name,
                     const tKnownMetRecord* record = nullptr);

// What a removal of known files touches besides known.met.
struct tForgetOptions {
    // Set as cancelled: every hash goes to this loaded cancelled.met.
    tCancelledMet* cancelledMet = nullptr;
    // Each file's known-file log is deleted once known.met is saved.
    tLogFiles* logs = nullptr;
};

// Takes the files out of known.met, so eMule forgets them; a hash without
// a record is passed over. cancelled.met is saved before known.met, so that
// a failure between the two leaves the files known and marked as cancelled,
// which eMule accepts; the logs go only after both saves. Throws the error
// of the failing save, and says so when cancelled.met was saved already.
// Returns the number of records removed.
std::size_t forgetKnownFiles(tKnownMet& knownMet, const std::vector<std::string>& hashTexts,
                             const tForgetOptions& options);

} // namespace pln
