#include "graphs/core/displayed_file.h"

#include "emulefiles/core/known_met_list.h"
#include "graphs/core/graph_data.h"

namespace pln {

std::optional<tColour> displayedFileColour(const tKnownMetList* list, const tDrawnColours& drawn,
                                           const std::string& hash) {
    std::size_t index = 0;
    if (!list || !list->findByHash(hash, index))
        return std::nullopt;
    return drawn.fileColour(hash);
}

} // namespace pln
