#include "graphs/core/displayed_file.h"

#include "emulefiles/core/known_met_list.h"

namespace pln {

const tKnownMetRecord* getDisplayedFile(const tKnownMetList* list, std::string_view hash) {
    std::size_t index = 0;
    if (!list || !list->findByHash(hash, index))
        return nullptr;
    const tKnownMetRecord& record = list->record(index);
    return record.graphColor == clWindow ? nullptr : &record;
}

} // namespace pln
