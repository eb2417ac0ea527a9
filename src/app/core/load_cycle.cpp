#include "app/core/load_cycle.h"

#include <exception>

namespace pln {

bool loadEmuleFiles(tKnownMet& knownMet) {
    if (knownMet.needsReload()) {
        try {
            knownMet.load();
        } catch (const std::exception&) {
            return false;
        }
    }
    // A file still settling is left for a later cycle, which keeps the list
    // loaded before; with nothing loaded yet there is nothing to show.
    return knownMet.list() != nullptr;
}

} // namespace pln
