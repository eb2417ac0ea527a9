#pragma once

#include "app/core/known_files_table.h"
#include "emulefiles/core/shared_data.h"
#include "platform/clock.h"

namespace pln {

// Looks known files up in the files found in the shared folders; a match
// gives the file's folder and its dates in the local calendar. The table
// must outlive the lookup.
tSharedLookup sharedFileLookup(const tSharedFileTable& table, Clock& clock);

} // namespace pln
