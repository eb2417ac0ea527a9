#include "app/core/log_switch.h"

#include "logstore/core/log_codec.h"
#include "logstore/core/log_files.h"

namespace pln {

bool switchLog(tLogFiles& logs, const std::string& name, bool on, const tLogHeader* newLog) {
    const tLogState state = logs.getLogState(name);
    if (state == tLogState::permanent || (state == tLogState::none && (!on || !newLog)))
        return false;
    bool created = false;
    if (state == tLogState::none) {
        logs.writeNewLogFile(name, tLogState::active, *newLog);
        created = true;
    }
    logs.setLogState(name, on ? tLogState::active : tLogState::inactive);
    return created;
}

} // namespace pln
